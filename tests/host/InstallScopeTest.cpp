// InstallScope: the places of each scope and the scope an uninstaller finds for its folder.
#include "host/InstallScope.h"

#include "host/ProtectedFolders.h"
#include "host/Shell.h"
#include "RawRegistry.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>

namespace {

const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelliq";

} // namespace

TEST(InstallScope, TheUsersProgramsFolderIsNoInstallFolder)
{
    String local, programs;
    ASSERT_TRUE(getSpecialFolder(CSIDL_LOCAL_APPDATA, local));
    ASSERT_TRUE(userProgramsFolder(programs));
    EXPECT_STREQ((Path(local).addTrailingSeparator() + "Programs").c_str(), programs.c_str());
    // Neither installed into nor removed, like Program Files.
    EXPECT_STREQ("it is the user's Programs folder", protectedFolderReason(programs).c_str());
    EXPECT_STREQ("", protectedFolderReason(Path(programs) + "\\trelliq").c_str());
}

TEST(InstallScope, TheUninstallerFindsItsScopeByItsEntryElseByItsFolder)
{
    String programs;
    ASSERT_TRUE(userProgramsFolder(programs));
    const String inPrograms = Path(programs).addTrailingSeparator() + "trelliq\\";
    const struct {
        const char* userLocation;     // null: no user entry
        const char* machineLocation;  // null: no machine entry
        String folder;
        InstallScope expected;
    } cases[] = {
        {nullptr, nullptr, "C:\\Tools\\Trelliq\\", InstallScope::machine},
        {nullptr, nullptr, inPrograms, InstallScope::user},
        {"C:\\Tools\\Trelliq\\", nullptr, "c:/tools/trelliq/", InstallScope::user},
        {nullptr, "C:\\Tools\\Trelliq\\", "C:\\Tools\\Trelliq\\", InstallScope::machine},
        // Side by side: each folder has its own entry.
        {inPrograms.c_str(), "C:\\Program Files\\trelliq\\", "C:\\Program Files\\trelliq\\", InstallScope::machine},
        {inPrograms.c_str(), "C:\\Program Files\\trelliq\\", inPrograms, InstallScope::user},
        // An entry without a location is the folder's.
        {"", nullptr, "C:\\Tools\\Trelliq\\", InstallScope::user},
    };
    for (const auto& c : cases) {
        raw::removeTree(HKEY_CURRENT_USER, entry);
        raw::removeTree(HKEY_LOCAL_MACHINE, entry);
        if (c.userLocation) {
            raw::createKey(HKEY_CURRENT_USER, entry);
            if (*c.userLocation)
                raw::putString(HKEY_CURRENT_USER, entry, "InstallLocation", c.userLocation);
        }
        if (c.machineLocation)
            raw::putString(HKEY_LOCAL_MACHINE, entry, "InstallLocation", c.machineLocation);
        EXPECT_EQ(static_cast<int>(scopeOfInstall(c.folder)), static_cast<int>(c.expected))
            << c.folder.c_str() << " user entry " << (c.userLocation ? c.userLocation : "none");
    }
    raw::removeTree(HKEY_CURRENT_USER, entry);
    raw::removeTree(HKEY_LOCAL_MACHINE, entry);
}
