// parseCommandLine: the options after the program's own name, one after another.
#include "setup/Options.h"

#include <cstring>

const char* const optionsHelp =
    "setup.exe [-a | -s] [-t FOLDER] [-l FILE] [-u | -m]\r\n"
    "uninstall.exe [-a | -s] [-d FOLDER] [-l FILE] [-u | -m]\r\n"
    "\r\n"
    "-a\tunattended: the defaults, no questions; progress is shown\r\n"
    "-s\tsilent: nothing is shown at all\r\n"
    "-u\tfor you only, without administrator rights\r\n"
    "-m\tfor all users, with administrator rights\r\n"
    "-t FOLDER\tinstall into FOLDER\r\n"
    "-d FOLDER\tthe product folder to remove\r\n"
    "-l FILE\tappend a log of every step to FILE\r\n"
    "\r\n"
    "Exit codes: 0 done, 1602 cancelled, 1603 failed, 1618 already running, "
    "3010 done but Windows must restart, 87 wrong options.";

Options parseCommandLine(const ArgumentList& arguments)
{
    Options options;
    String unknown;
    for (int i = 1; i < arguments.size(); ++i) {
        const char* argument = arguments.argument(i).c_str();
        if (std::strcmp(argument, "-a") == 0) {
            options.unattended = true;
        } else if (std::strcmp(argument, "-s") == 0) {
            options.silent = true;
        } else if (std::strcmp(argument, "-u") == 0) {
            options.userScope = true;
        } else if (std::strcmp(argument, "-m") == 0) {
            options.machineScope = true;
        } else if (std::strcmp(argument, "-?") == 0) {
            options.help = true;
        } else if (std::strcmp(argument, "-d") == 0 || std::strcmp(argument, "-t") == 0
                   || std::strcmp(argument, "-l") == 0) {
            if (i + 1 >= arguments.size()) {
                options.error = String("The option ") + argument + " needs a value.";
                continue;
            }
            const String& value = arguments.argument(++i);
            if (argument[1] == 'd') {
                options.hasFolder = true;
                options.folder = value;
            } else if (argument[1] == 't') {
                options.hasTarget = true;
                options.target = value;
            } else {
                options.logFile = value;
            }
        } else if (argument[0] == '-' && unknown.isEmpty()) {
            unknown = argument;
        }
    }
    if (options.userScope && options.machineScope && options.error.isEmpty())
        options.error = "The options -u and -m exclude each other.";
    // A -s later on the line counts too.
    if (options.silent && !unknown.isEmpty() && options.error.isEmpty())
        options.error = String("Unknown option ") + unknown + ".";
    return options;
}

ScopeChoice chooseScope(const Options& options, bool windowsNT, bool machineAllowed)
{
    if (!windowsNT)
        return ScopeChoice::machine;
    if (options.userScope)
        return ScopeChoice::user;
    if (machineAllowed)
        return ScopeChoice::machine;
    if (options.machineScope)
        return ScopeChoice::refuse;
    return options.silent ? ScopeChoice::user : ScopeChoice::askForUser;
}
