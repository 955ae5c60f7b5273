// SetupApp: the command-line options and the program-menu folder.
#include "setup/SetupApp.h"

#include "tests/host/MessageRecorder.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// parseOptions on a command line.
struct Parsed {
    explicit Parsed(const char* commandLine) : app(commandLine)
    {
        app.parseOptions();
        unattended = !app.context().interactive;
    }
    SetupApp app;
    bool unattended;
};

} // namespace

TEST(SetupApp, OptionsAreExactAndCaseSensitive)
{
    EXPECT_TRUE(Parsed("C:\\x\\setup.exe -a").unattended);
    EXPECT_FALSE(Parsed("C:\\x\\setup.exe -A /a a").unattended);
    EXPECT_STREQ("C:\\x\\", Parsed("C:\\x\\setup.exe -a").app.programFolder().c_str());

    Parsed given("uninstall.exe -d \"C:\\Program Files\\trelliq\\\" -a");
    EXPECT_STREQ("C:\\Program Files\\trelliq\\", given.app.programFolder().c_str());
    EXPECT_TRUE(given.unattended);
    // A "-d" without its folder is a wrong command line (Options), not an empty folder.
    EXPECT_FALSE(Parsed("setup.exe -d").app.options().error.isEmpty());
    // "-d" takes the next argument even when that is "-a".
    Parsed skipped("setup.exe -d -a");
    EXPECT_STREQ((Path::currentDirectory() + "-a\\").c_str(), skipped.app.programFolder().c_str());
    EXPECT_FALSE(skipped.unattended);
}

TEST(SetupApp, TheFolderOfDashDIsAbsoluteAndEndsWithASeparator)
{
    const String current = Path::currentDirectory();
    const struct {
        const char* commandLine;
        String folder;
    } cases[] = {
        // The registry step appends "bin" and "lib" to it.
        {"uninstall.exe -d \"C:\\Program Files\\trelliq\"", "C:\\Program Files\\trelliq\\"},
        {"uninstall.exe -d C:/Tools/Trelliq/", "C:\\Tools\\Trelliq\\"},
        {"uninstall.exe -d C:\\Tools\\.\\x\\..\\Trelliq", "C:\\Tools\\Trelliq\\"},
        // Against the folder the program started in, not the root it changes to later.
        {"uninstall.exe -d trelliq", current + "trelliq\\"},
        {"uninstall.exe -d rel/dir", current + "rel\\dir\\"},
        {"uninstall.exe -d \"\"", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.folder.c_str(), Parsed(c.commandLine).app.programFolder().c_str()) << c.commandLine;
}

TEST(SetupApp, ProgramFolderWithoutDirectoryIsTheCurrentOne)
{
    Parsed bare("setup.exe");
    EXPECT_TRUE(bare.app.programFolder().equals(Path::currentDirectory()))
        << bare.app.programFolder().c_str() << " vs " << Path::currentDirectory().c_str();
}

TEST(SetupApp, ProgramMenuFolderEndsWithASeparator)
{
    const Path folder = SetupApp::programMenuFolder(InstallScope::machine);
    ASSERT_GT(folder.length(), 3);
    EXPECT_TRUE(folder.isDirectory()) << folder.c_str();
    const char last = folder.charAt(folder.length() - 1);
    EXPECT_TRUE(last == '\\' || last == '/') << folder.c_str();
}

// A user without administrator rights (here: the machine environment denies writing, as it
// does to a limited user): with -m, told so in one message, and nothing is changed; under -s
// alone, the install goes on for the user, and the log says so; otherwise the user is asked,
// and any answer but Yes cancels with nothing changed.
TEST(SetupApp, WithoutRightsForTheMachineTheUserScopeOrOneMessageAndNoChange)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string target = std::string(temp) + "trq limited user\\";
    const std::string log = std::string(temp) + "trq limited user.log";
    const std::string refusal = "message: Installing Trelliq for all users needs administrator rights.";
    const struct {
        const char* options;
        bool refused, asked;
    } cases[] = {{"-m -s", true, false}, {"-s", false, false}, {"-a", false, true}};
    for (const auto& c : cases) {
        DeleteFileA(log.c_str());
        int code;
        {
            testSupport::NarrowedKey readOnly(
                HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Environment", KEY_READ);
            ASSERT_TRUE(readOnly.ok());
            const std::string commandLine =
                "C:\\x\\setup.exe " + std::string(c.options) + " -t \"" + target + "\" -l \"" + log + "\"";
            SetupApp app(commandLine.c_str());
            // In place of the application's message dialog for the question: answers OK,
            // which is no Yes.
            std::unique_ptr<MessageRecorder> recorder(c.asked ? new MessageRecorder : nullptr);
            // No initInstance: the install mode is the default, and the title window it makes
            // without -s needs the program's resources, which the test program lacks.
            code = app.run();
            if (c.asked) {
                ASSERT_EQ(MessageRecorder::messages().size(), 1u);
                EXPECT_STREQ(MessageRecorder::messages()[0].text.c_str(),
                             "Installing Trelliq for all users needs administrator rights. Install it for you only?");
                EXPECT_EQ(MessageRecorder::messages()[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
                EXPECT_EQ(code, exitCancelled);
            }
        }
        const std::string lines = testSupport::contents(log);
        EXPECT_EQ(lines.find(refusal) != std::string::npos, c.refused) << c.options << ":\n" << lines;
        EXPECT_EQ(GetFileAttributesA(target.c_str()), INVALID_FILE_ATTRIBUTES) << c.options << ": a folder was made";
        if (c.refused) {
            EXPECT_EQ(code, exitFailed);
            EXPECT_EQ(lines.find("message: "), lines.rfind("message: ")) << "one message only:\n" << lines;
        } else if (!c.asked) {
            EXPECT_NE(lines.find("scope: the current user (no administrator rights for all users)"), std::string::npos)
                << lines;
        }
        RemoveDirectoryA(target.c_str());
    }
    DeleteFileA(log.c_str());
}
