// parseCommandLine: the options, their values and the command lines that are wrong.
#include "setup/Options.h"

#include <gtest/gtest.h>

#include <string>

TEST(Options, ValuesFlagsAndWrongCommandLines)
{
    struct Case {
        const char* commandLine;
        bool unattended, silent, help;
        const char* folder;  // null: no -d
        const char* target;  // null: no -t
        const char* log;
        const char* error;
    } cases[] = {
        {"setup.exe", false, false, false, nullptr, nullptr, "", ""},
        {"setup.exe -a -s -?", true, true, true, nullptr, nullptr, "", ""},
        {"uninstall.exe -d \"C:\\Program Files\\trelliq\\\"", false, false, false, "C:\\Program Files\\trelliq\\",
         nullptr, "", ""},
        {"setup.exe -t \"C:\\Tools\\Trelliq\" -l \"C:\\logs\\setup log.txt\"", false, false, false, nullptr,
         "C:\\Tools\\Trelliq", "C:\\logs\\setup log.txt", ""},
        // Matched exactly: other spellings are other (unknown) arguments.
        {"setup.exe -A /a -S", false, false, false, nullptr, nullptr, "", ""},
        // Unknown options are ignored, except under -s, wherever on the line it stands.
        {"setup.exe -x extra", false, false, false, nullptr, nullptr, "", ""},
        {"setup.exe -x -s", false, true, false, nullptr, nullptr, "", "Unknown option -x."},
        {"setup.exe -s -x", false, true, false, nullptr, nullptr, "", "Unknown option -x."},
        // An option without its value.
        {"uninstall.exe -d", false, false, false, nullptr, nullptr, "", "The option -d needs a value."},
        {"setup.exe -a -t", true, false, false, nullptr, nullptr, "", "The option -t needs a value."},
        {"setup.exe -l", false, false, false, nullptr, nullptr, "", "The option -l needs a value."},
        // A value may begin with '-'.
        {"setup.exe -s -l -odd.log", false, true, false, nullptr, nullptr, "-odd.log", ""},
    };
    for (const Case& c : cases) {
        const Options options = parseCommandLine(ArgumentList(c.commandLine));
        EXPECT_EQ(options.unattended, c.unattended) << c.commandLine;
        EXPECT_EQ(options.silent, c.silent) << c.commandLine;
        EXPECT_EQ(options.help, c.help) << c.commandLine;
        EXPECT_EQ(options.hasFolder, c.folder != nullptr) << c.commandLine;
        if (c.folder) {
            EXPECT_STREQ(options.folder.c_str(), c.folder) << c.commandLine;
        }
        EXPECT_EQ(options.hasTarget, c.target != nullptr) << c.commandLine;
        if (c.target) {
            EXPECT_STREQ(options.target.c_str(), c.target) << c.commandLine;
        }
        EXPECT_STREQ(options.logFile.c_str(), c.log) << c.commandLine;
        EXPECT_STREQ(options.error.c_str(), c.error) << c.commandLine;
    }
}

TEST(Options, TheScopeAnInstallTakes)
{
    const ScopeChoice machine = ScopeChoice::machine, user = ScopeChoice::user, ask = ScopeChoice::askForUser,
                      refuse = ScopeChoice::refuse;
    const struct Case {
        const char* commandLine;
        bool windowsNT, machineAllowed;
        ScopeChoice expected;
    } cases[] = {
        {"setup.exe", true, true, machine},
        {"setup.exe", true, false, ask},
        {"setup.exe -a", true, false, ask},
        {"setup.exe -s", true, false, user},
        {"setup.exe -u", true, true, user},
        {"setup.exe -s -u", true, false, user},
        {"setup.exe -m", true, true, machine},
        {"setup.exe -m", true, false, refuse},
        {"setup.exe -s -m", true, false, refuse},
        // Windows 95 and 98 have the machine's scope only.
        {"setup.exe -u", false, true, machine},
        {"setup.exe -s", false, true, machine},
    };
    for (const Case& c : cases) {
        const Options options = parseCommandLine(ArgumentList(c.commandLine));
        EXPECT_EQ(static_cast<int>(chooseScope(options, c.windowsNT, c.machineAllowed)), static_cast<int>(c.expected))
            << c.commandLine << (c.windowsNT ? " NT" : " 9x") << (c.machineAllowed ? " admin" : " user");
    }
    const Options both = parseCommandLine(ArgumentList("setup.exe -u -m"));
    EXPECT_STREQ(both.error.c_str(), "The options -u and -m exclude each other.");
    const Options scoped = parseCommandLine(ArgumentList("uninstall.exe -s -u -d C:\\x"));
    EXPECT_TRUE(scoped.userScope && !scoped.machineScope && scoped.error.isEmpty());
}
