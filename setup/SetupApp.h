// SetupApp: the application object of setup.exe, installer and uninstaller in one program.
#pragma once

#include "foundation/ArgumentList.h"
#include "foundation/Path.h"
#include "framework/Application.h"
#include "host/RunContext.h"
#include "setup/ExitCode.h"
#include "setup/Options.h"
#include "ui/Frame.h"
#include "ui/UpdateRegistryDialog.h"

class UninstallResultDialog;

class SetupApp : public Application {
public:
    // Splits the process command line (or commandLine) and reads its options. The program's
    // own file is the system's module path for the process command line, argument 0 of
    // commandLine otherwise.
    SetupApp();
    explicit SetupApp(const char* commandLine);

    // The mode from the program's own file name ("uninstall" or "uninstall.exe", letters
    // folded, uninstalls), then the title window, shown in install mode only; none under -s.
    bool initInstance() override;
    // mainFlow, then the title window goes and exitInstance runs. Returns mainFlow's exit code.
    int run() override;
    // Program-wide clean-up: OLE released, an environment change announced once.
    int exitInstance() override;
    // Every message box of the program is setup's own MessageDialog, and goes to the log.
    // Under -s nothing is shown: the box answers with its first button, as Enter would.
    // A box with the error icon makes the run a failure.
    int doMessageBox(const char* text, unsigned style) override;

    // The folder options (without -d, the folder of the program's own file) and the
    // proposed coverage file: TRQFILE of the machine, else of
    // the user, else Developer Studio 6.0's workspace folder or "c:" with "test.trq". The
    // folder of -d is made absolute against the current folder and ends with a separator
    // (an empty one stays empty).
    void parseOptions();
    // Wrong options (a -t folder that installFolderRefusal refuses among them), -?, the log,
    // a program whose own path the code page cannot name (a failure, nothing changed),
    // relaunch; the lock of one run at a time (a second run says that setup is already
    // running and ends); while uninstalling, the refusal of a folder that removalRefusal
    // names (with nothing changed) and the confirmation; running programs, the sequence and
    // its failure reports, and the restart off Windows NT. Returns the process's exit code.
    ExitCode mainFlow();
    // The sequences; true when every step succeeded. A cancel by the user is noted.
    // uninstall removes programFolder, which the main flow has checked with removalRefusal.
    bool install();
    bool uninstall();

    // The Start menu's program folder of scope (for all users the common one, else the
    // user's; for the user the user's) with a trailing separator. Throws the C string
    // "Unable to get program menu folder" when none exists.
    static Path programMenuFolder(InstallScope scope);

    // The run's mode, install folder and interactivity, passed to the steps that need them.
    const RunContext& context() const { return context_; }
    const Options& options() const { return options_; }
    bool installMode() const { return context_.installMode; }
    const Path& programFolder() const { return programFolder_; }
    const Path& destination() const { return context_.destination; }
    const String& coverageFile() const { return coverageFile_; }
    UpdateRegistryDialog& updateRegistryDialog() { return updateRegistryDialog_; }
    const ArgumentList& arguments() const { return arguments_; }

private:
    // The Windows 95 batch file below folder, named with backslashes only: COMMAND.COM reads
    // a '/' in the call line that autoexec.bat gets as the start of a switch.
    static void useBatchFileIn(const Path& folder);
    // The install's scope (chooseScope, the question included); exitDone, or the exit code
    // of a refusal or a No, with nothing changed.
    ExitCode chooseInstallScope();
    // The uninstall's scope: -u or -m, else the scope of the install in programFolder
    // (scopeOfInstall); always the machine's on Windows 95 and 98.
    InstallScope uninstallScope() const;
    // The registry step of both sequences, with the mode and folder it works on.
    bool updateRegistryShown();

    ArgumentList arguments_;
    Options options_;
    // The program's own file is modulePath(), not argument 0.
    bool programFileFromSystem_ = false;
    // The user cancelled or declined a step.
    bool cancelled_ = false;
    // The install's changes were rolled back; what could not be undone (one path a line);
    // the outcome already told the user.
    bool rolledBack_ = false;
    String notUndone_;
    bool undoReported_ = false;
    // The message that says what the rollback left.
    String undoReport() const;
    // The uninstall's summary and, unless silent (the log holds it), the wait for OK.
    bool showResult(UninstallResultDialog& dialog, bool ok);
    UpdateRegistryDialog updateRegistryDialog_;
    Path programFolder_;
    RunContext context_;
    String coverageFile_;
    Frame frame_;
};
