// BoundsChecker: the NMCL options per user, and the repair of an overwritten cl.exe.
#include "host/BoundsChecker.h"

#include "foundation/MessageBox.h"
#include "foundation/Path.h"
#include "host/RegistryUpdate.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace testSupport;

std::string nmcl(bool& found)
{
    char buffer[1024];
    DWORD size = sizeof buffer;
    found = RegGetValueA(HKEY_CURRENT_USER, "Environment", "NMCL", RRF_RT_REG_SZ, nullptr, buffer, &size) ==
            ERROR_SUCCESS;
    return found ? buffer : "";
}

void setNmcl(const std::string& text)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, "Environment", "NMCL", REG_SZ, text.c_str(), text.size() + 1);
}

// updateNmcl for destination, installing or uninstalling; returns the setting it showed.
String runNmcl(bool install, const std::string& destination)
{
    RunContext context;
    context.installMode = install;
    context.destination = destination.c_str();
    RegistryUpdate update(context);
    updateNmcl(update);
    return update.shown();
}

TEST(BoundsChecker, NmclOptionsGoInOnceAndComeOutLeavingOtherOptions)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string destination = std::string(temp) + "Trelliq Bounds Destination\\";
    CreateDirectoryA(destination.c_str(), nullptr);
    char shortForm[MAX_PATH];
    ASSERT_NE(GetShortPathNameA(destination.c_str(), shortForm, sizeof shortForm), 0u);
    ASSERT_NE(std::string(shortForm), destination) << "the options name the short form";
    const std::string folder = std::string(shortForm) + "numega\\";
    const std::string options = "/NMclpath:" + folder + "cl.exe /NMlinkpath:" + folder + "link.exe";

    bool found;
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Environment", "NMCL");
    EXPECT_EQ(runNmcl(true, destination).compareTo("NMCL"), 0);
    EXPECT_EQ(nmcl(found), options);

    setNmcl("/B " + options);
    runNmcl(false, destination);
    EXPECT_EQ(nmcl(found), "/B");
    runNmcl(true, destination);
    EXPECT_EQ(nmcl(found), "/B " + options);
    runNmcl(true, destination);
    EXPECT_EQ(nmcl(found), "/B " + options) << "the options appear once";

    // Options of the user's that end in a letter of the code page keep it, both ways.
    setNmcl("/Fo\xe9t\xe9");
    runNmcl(true, destination);
    EXPECT_EQ(nmcl(found), "/Fo\xe9t\xe9 " + options);
    runNmcl(false, destination);
    EXPECT_EQ(nmcl(found), "/Fo\xe9t\xe9");

    setNmcl(options);
    runNmcl(false, destination);
    nmcl(found);
    EXPECT_FALSE(found) << "nothing left: the variable goes";
    runNmcl(false, destination);
    nmcl(found);
    EXPECT_FALSE(found);
    RemoveDirectoryA(destination.c_str());
}

std::vector<std::string> shown;
// OK for the first okAnswers questions, Cancel after them.
int okAnswers = 0;

int answerScripted(const char* text, unsigned style)
{
    shown.push_back(text + std::string(" style=") + std::to_string(style));
    return static_cast<int>(shown.size()) <= okAnswers ? IDOK : IDCANCEL;
}

// Folders a to d on PATH (after the current folder, an empty one): a and c hold a marked
// cl.exe, b one without the marker, d one whose marker lies beyond the first 65536 bytes;
// all four hold mscl.exe.
struct Compilers {
    Compilers()
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        root = std::string(temp) + "trq compilers\\";
        if (Path(root.c_str()).isDirectory())
            Path(root.c_str()).remove();
        CreateDirectoryA(root.c_str(), nullptr);
        std::string path;
        for (const char* name : {"current", "a", "b", "c", "d"}) {
            CreateDirectoryA((root + name).c_str(), nullptr);
            if (std::string(name) != "current")
                path += (path.empty() ? "" : ";") + root + name;
        }
        write(root + "a\\cl.exe", "MZ stub that runs mscl.exe with its arguments");
        write(root + "b\\cl.exe", "MZ a genuine compiler");
        write(root + "c\\cl.exe", "MZ" + std::string(65526, ' ') + "mscl.exe");
        write(root + "d\\cl.exe", "MZ" + std::string(65535, ' ') + "mscl.exe");
        for (const char* name : {"a", "b", "c", "d"})
            write(root + name + "\\mscl.exe", std::string("original compiler of ") + name);
        GetCurrentDirectoryA(sizeof previousDirectory, previousDirectory);
        SetCurrentDirectoryA((root + "current").c_str());
        previousPath = std::getenv("PATH");
        _putenv(("PATH=" + path).c_str());
        previousHandler = setMessageBoxHandler(answerScripted);
        shown.clear();
    }
    ~Compilers()
    {
        setMessageBoxHandler(previousHandler);
        _putenv(("PATH=" + previousPath).c_str());
        SetCurrentDirectoryA(previousDirectory);
        Path(root.c_str()).remove();
    }
    std::string root;
    std::string previousPath;
    char previousDirectory[MAX_PATH];
    MessageBoxHandler previousHandler;
};

const std::string repairMessage =
    "Setup detected the Visual C++ file cl.exe was perviously overwritten by another product with a known problem "
    "that interferes with Trelliq. Press OK to restore the orginal file and continue. style=49";

TEST(BoundsChecker, MarkedCompilersAreRepairedOnOk)
{
    Compilers compilers;
    okAnswers = 10;
    EXPECT_TRUE(checkOverwrittenCompiler());
    ASSERT_EQ(shown.size(), 2u) << "a message for a and for c";
    EXPECT_EQ(shown[0], repairMessage);
    EXPECT_EQ(contents(compilers.root + "a\\cl.exe"), "original compiler of a");
    EXPECT_EQ(contents(compilers.root + "c\\cl.exe"), "original compiler of c");
    EXPECT_FALSE(Path((compilers.root + "a\\mscl.exe").c_str()).isFile());
    EXPECT_EQ(contents(compilers.root + "b\\cl.exe"), "MZ a genuine compiler");
    EXPECT_TRUE(Path((compilers.root + "d\\mscl.exe").c_str()).isFile()) << "its marker lies too far in";
}

TEST(BoundsChecker, CancelStopsTheSearchAndChangesNothing)
{
    Compilers compilers;
    okAnswers = 0;
    EXPECT_FALSE(checkOverwrittenCompiler());
    EXPECT_EQ(shown.size(), 1u) << "no question for c after Cancel";
    EXPECT_EQ(contents(compilers.root + "a\\cl.exe"), "MZ stub that runs mscl.exe with its arguments");
    EXPECT_TRUE(Path((compilers.root + "c\\mscl.exe").c_str()).isFile());
}

// The repair renames with the administrator's rights: a PATH entry that depends on the
// current folder (which whoever starts setup.exe chooses) is never searched.
TEST(BoundsChecker, RelativePathEntriesAreSkipped)
{
    // Each names the folder "current", which is the current folder, as the test runs.
    const std::string entries[] = {"", ".", ".\\", "..\\current", "~\\current", "?:..\\current"};
    for (std::string entry : entries) {
        Compilers compilers;
        if (entry[0] == '?')
            entry[0] = compilers.root[0];
        write(compilers.root + "current\\cl.exe", "mscl.exe");
        write(compilers.root + "current\\mscl.exe", "original compiler here");
        _putenv(("PATH=" + entry + ";" + std::getenv("PATH")).c_str());
        _putenv(("HOME=" + compilers.root).c_str());
        okAnswers = 10;
        EXPECT_TRUE(checkOverwrittenCompiler()) << entry;
        _putenv("HOME=");
        EXPECT_EQ(shown.size(), 2u) << "only a and c are asked about with \"" << entry << "\" first";
        EXPECT_EQ(contents(compilers.root + "current\\cl.exe"), "mscl.exe") << entry;
        EXPECT_EQ(contents(compilers.root + "a\\cl.exe"), "original compiler of a") << entry;
    }
}

} // namespace
