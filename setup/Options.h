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
    // Why the command line is wrong ("The option -t needs a value."); empty when it is not.
    String error;
};

Options parseCommandLine(const ArgumentList& arguments);

// The text -? shows.
extern const char* const optionsHelp;
