// programFilesFolders, insideProgramFiles: the registry's folder where the shell knows none.
#include "foundation/SystemLibrary.h"
#include "host/ProtectedFolders.h"
#include "host/RegistryKey.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const currentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";

// A Program Files folder of the test's own in the registry while it lives.
class RegistryProgramFiles {
public:
    explicit RegistryProgramFiles(const String& folder)
    {
        had_ = RegistryKey(HKEY_LOCAL_MACHINE, currentVersion).queryValue("ProgramFilesDir", saved_);
        RegistryKey(HKEY_LOCAL_MACHINE, currentVersion).setString("ProgramFilesDir", folder);
    }
    ~RegistryProgramFiles()
    {
        RegistryKey key(HKEY_LOCAL_MACHINE, currentVersion);
        if (had_)
            key.setValue("ProgramFilesDir", saved_);
        else
            key.deleteValue("ProgramFilesDir");
    }

private:
    bool had_;
    RegistryValue saved_;
};

TEST(ProgramFiles, WithoutTheShellsFolderTheRegistrysIsTaken)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const String folder = String(temp) + "Trelliq Old Program Files";
    CreateDirectoryA(folder.c_str(), nullptr);
    const RegistryProgramFiles registry(folder);

    // Windows 95, 98 and NT 4.0: shell32 has no SHGetFolderPathA and no CSIDL_PROGRAM_FILES;
    // the test's folder is in no environment variable: only the registry names it.
    const char* const missing[] = {"SHGetFolderPathA", nullptr};
    hideSystemFunctions(missing);
    String folders[programFilesFolderCount];
    programFilesFolders(folders);
    const String reason = protectedFolderReason(Path(folder + "\\"));
    const bool inside = insideProgramFiles(Path(folder + "\\trelliq"));
    const bool besideInside = insideProgramFiles(Path(folder + "x\\trelliq"));
    hideSystemFunctions(nullptr);

    EXPECT_EQ(folders[0].compareTo(folder), 0) << folders[0].c_str();
    EXPECT_EQ(reason.compareTo("it is a Program Files folder"), 0) << reason.c_str();
    EXPECT_TRUE(inside);
    EXPECT_FALSE(besideInside) << "a folder whose name only begins like it";
    RemoveDirectoryA(folder.c_str());
}

} // namespace
