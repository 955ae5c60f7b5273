// Options: what the command line asks of the run.
#pragma once

#include "foundation/ArgumentList.h"
#include "foundation/Path.h"

// Options are matched exactly and case-sensitively:
//   -a          unattended: every page takes its default, no running-program check
//   -s          silent: as -a, and no window or message box at all
//   -d FOLDER   the product folder the uninstaller removes
//   -t FOLDER   the install folder
//   -l FILE     append a log of the run to FILE
//   -u          for the current user only (install and uninstall)
//   -m          for all users (install and uninstall)
//   -?          show the options
// Other arguments are ignored, except under -s, where an unknown option (an argument
// beginning with '-') makes the command line wrong.
struct Options {
    bool unattended = false;
    bool silent = false;
    bool help = false;
    bool hasFolder = false;
    Path folder;
    bool hasTarget = false;
    Path target;
    String logFile;
    // -u and -m; never both (a wrong command line).
    bool userScope = false;
    bool machineScope = false;
    // Why the command line is wrong ("The option -t needs a value."); empty when it is not.
    String error;
};

Options parseCommandLine(const ArgumentList& arguments);

// The text -? shows.
extern const char* const optionsHelp;

// How an install chooses its scope.
enum class ScopeChoice {
    machine,
    user,
    // Ask whether to install for the user only; No refuses.
    askForUser,
    // "Installing ... for all users needs administrator rights.", nothing changed.
    refuse,
};

// The scope an install takes: on Windows 95 and 98 (windowsNT false) always the machine's,
// -u there ignored; -u the user's; -m the machine's when machineAllowed, else refused;
// without either, the machine's when machineAllowed, else the user's under -s and a
// question otherwise.
ScopeChoice chooseScope(const Options& options, bool windowsNT, bool machineAllowed);
