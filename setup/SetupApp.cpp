// SetupApp: start-up, options, the main flow, the relaunch and the program-menu folder.
#include "setup/SetupApp.h"

#include "foundation/ErrorText.h"
#include "foundation/Exception.h"
#include "foundation/Log.h"
#include "foundation/MessageBox.h"
#include "foundation/ModulePath.h"
#include "foundation/ProductIdentity.h"
#include "foundation/WindowsVersion.h"
#include "host/DevStudioVersion.h"
#include "host/Environment.h"
#include "host/ProductRegistry.h"
#include "host/RegistryUpdate.h"
#include "host/Shell.h"
#include "host/InstallFolder.h"
#include "setup/Relaunch.h"
#include "setup/RemovalGuard.h"
#include "setup/SessionEndBlock.h"
#include "setup/RunningPrograms.h"
#include "setup/SetupLock.h"
#include "setup/TestPause.h"
#include "ui/MessageDialog.h"
#include "ui/RegistryStepView.h"
#include "ui/WaitCursor.h"
#include "ui/WizardPage.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// Reports the failure being handled, with note (when there is one) in a paragraph of its
// own; called only from a catch block.
void reportFailure(const String& note = String())
{
    const String after = note.isEmpty() ? String() : "\r\n\r\n" + note;
    try {
        throw;
    } catch (const Exception& failure) {
        messageBox((failure.message() + after).c_str(), MB_ICONSTOP);
    } catch (const char* text) {
        messageBox((String(text) + after).c_str(), MB_ICONSTOP);
    } catch (...) {
        messageBox((lastErrorMessage("unknown exception") + after).c_str(), MB_ICONERROR);
    }
}

} // namespace

SetupApp::SetupApp() : SetupApp(GetCommandLineA())
{
    programFileFromSystem_ = true;
}

SetupApp::SetupApp(const char* commandLine) : arguments_(commandLine), options_(parseCommandLine(arguments_))
{
    context_.silent = options_.silent;
    context_.interactive = !options_.unattended && !options_.silent;
}

namespace {

// The answer Enter gives: the first button of the box's kind.
int firstButton(unsigned style)
{
    switch (style & MB_TYPEMASK) {
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default:
        return IDOK;
    }
}

} // namespace

bool SetupApp::initInstance()
{
    const Path name = Path(modulePath()).fileName();
    context_.installMode = !(name.equals(Path(product::uninstallerBaseName)) || name.equals(Path(product::uninstallerName)));
    if (!context_.silent && frame_.create()) {
        setMainWindow(frame_.hwnd());
        if (context_.installMode) {
            STARTUPINFOA startup = {};
            startup.cb = sizeof startup;
            GetStartupInfoA(&startup);
            ShowWindow(frame_.hwnd(), (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL);
            UpdateWindow(frame_.hwnd());
        }
    }
    return true;
}

int SetupApp::run()
{
    ExitCode code = exitFailed;
    try {
        code = mainFlow();
    } catch (...) {
        // Only the sequences are guarded by the main flow itself; whatever escapes before
        // them (options, relaunch, confirmation, running programs) is reported the same way.
        reportFailure();
    }
    Log::write(String("exit code ") + String::valueOf(static_cast<int>(code)));
    if (mainWindow()) {
        DestroyWindow(mainWindow());
        setMainWindow(nullptr);
    }
    exitInstance();
    Log::close();
    return code;
}

int SetupApp::exitInstance()
{
    releaseOle();
    announceEnvironmentChange();
    return 0;
}

int SetupApp::doMessageBox(const char* text, unsigned style)
{
    Log::write(String("message: ") + text);
    if (context_.silent)
        return firstButton(style);
    return MessageDialog::show(text, style);
}

void SetupApp::parseOptions()
{
    // -d is made absolute against the folder the program started in (the uninstall changes
    // to the root before it removes anything) and ends with a separator, since the registry
    // step appends "bin" and "lib" to it. An empty one stays empty, and is refused.
    if (options_.hasFolder)
        programFolder_ = options_.folder.isEmpty() ? Path() : Path(options_.folder).absolutePath().addTrailingSeparator();
    else
        // Argument 0 is whatever the starter wrote, and the system's ANSI text of it has '?'
        // or a look-alike for each character the code page lacks: the system's own path of
        // the program is the one to trust.
        programFolder_ =
            Path(programFileFromSystem_ ? modulePath() : arguments_.argument(0)).directory().absolutePath();
    String text;
    // For the user only (-u), the machine's environment is not looked at: its first use
    // probes it by writing.
    if ((!options_.userScope && getEnvironment("TRQFILE", text, false)) || getEnvironment("TRQFILE", text, true)) {
        coverageFile_ = text;
        return;
    }
    String folder;
    if (!DevStudioVersion(2).workspaceDir(folder))
        folder = "c:";
    coverageFile_ = Path(folder).addTrailingSeparator() + "test.trq";
}

ExitCode SetupApp::mainFlow()
{
    if (!options_.error.isEmpty()) {
        messageBox((options_.error + "\r\n\r\n" + optionsHelp).c_str(), MB_ICONSTOP);
        return exitBadOptions;
    }
    if (options_.help) {
        // Under -s nothing may be shown: asking for the options then is a wrong command line.
        if (context_.silent)
            return exitBadOptions;
        messageBox(optionsHelp, MB_ICONINFORMATION);
        return exitDone;
    }
    // Before anything changes: a log asked for but not to be had ends the run.
    if (!options_.logFile.isEmpty() && !Log::open(options_.logFile.c_str())) {
        showLastError((String("Unable to open the log ") + options_.logFile).c_str());
        return exitBadOptions;
    }
    Log::write(String(product::applicationTitle) + " " + product::version + ", " +
               (context_.installMode ? "install" : "uninstall") + ": " + GetCommandLineA());
    // Before anything changes: a program whose own path the code page cannot name (a folder
    // in Chinese under Downloads on a Western system, on a volume without 8.3 names) could
    // copy no uninstaller and find nothing beside it; a path with '?' for the missing
    // characters names no file.
    if (programFileFromSystem_ && modulePath().isEmpty()) {
        messageBox((String(product::applicationTitle) + " cannot run from this folder: its name has characters that "
                    "the system's code page lacks, and it has no short (8.3) name. Please copy the program into a "
                    "folder such as C:\\Temp and run it from there. Nothing has been changed.")
                       .c_str(),
                   MB_ICONSTOP);
        return exitFailed;
    }
    parseOptions();
    // A -t folder that setup may not install into makes the command line wrong, whatever
    // the mode: nothing is changed, and no page is shown for it.
    if (context_.installMode && options_.hasTarget) {
        const String refusal = installFolderRefusal(options_.target);
        if (!refusal.isEmpty()) {
            messageBox((String("-t ") + options_.target + ": " + refusal).c_str(), MB_ICONSTOP);
            return exitBadOptions;
        }
    }
    // The uninstaller hands over to a copy unless told the folder (-d), as its copy is, or
    // told to work in place (-a alone, whose own file then waits for the next restart). The
    // relaunch changes nothing, and its copy must find the lock free.
    if (!context_.installMode && !options_.hasFolder && !options_.unattended)
        return relaunchFromTemp(programFolder_, options_);
    const SetupLock lock;
    if (!lock.held()) {
        const String text = String(product::applicationTitle) + " is already running. Please let it finish first.";
        messageBox(text.c_str(), MB_ICONEXCLAMATION);
        return exitAlreadyRunning;
    }
    if (!context_.installMode) {
        // A folder that is no install of the product is refused before anything changes:
        // the registry step would already take <folder>bin and <folder>lib out of PATH,
        // LIB and Developer Studio's lists, whoever put them there.
        const String refusal = removalRefusal(programFolder_);
        if (!refusal.isEmpty()) {
            const String text = String("Refusing to remove the folder ") + programFolder_ + ": " + refusal
                                + ". Nothing has been changed.";
            messageBox(text.c_str(), MB_ICONSTOP);
            return exitFailed;
        }
    }
    if (!context_.installMode)
        context_.scope = uninstallScope();
    if (!context_.installMode && !context_.silent) {
        const String question = String("Are you sure you want to remove ") + product::name + "?";
        if (messageBox(question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return exitCancelled;
    }
    // Before the first change: the scope. A user who may not make the machine-wide changes
    // installs for the user alone or is told so once, and nothing is changed (instead of one
    // error a step and a half-done install).
    if (context_.installMode) {
        const ExitCode refused = chooseInstallScope();
        if (refused != exitDone)
            return refused;
    }
    if (context_.interactive && !checkRunningPrograms())
        return exitCancelled;

    bool ok = false;
    try {
        ok = context_.installMode ? install() : uninstall();
    } catch (...) {
        // The install's rollback has run by now: the message says what it left.
        reportFailure(rolledBack_ ? undoReport() : String());
        undoReported_ = rolledBack_;
    }
    if (rolledBack_ && !undoReported_ && !notUndone_.isEmpty())
        messageBox(undoReport().c_str(), MB_ICONERROR);
    if (cancelled_)
        return exitCancelled;
    // Failure is what the sequence reports, not the icon of a box shown on the way: the
    // system-library checks warn with the error icon, and the install rightly goes on.
    if (!ok)
        return exitFailed;

    if (!isWindowsNT()) {
        // A silent run cannot ask and must not restart Windows under its caller: it says so.
        if (context_.silent) {
            Log::write("Windows must restart to finish");
            return exitRestartNeeded;
        }
        if (WizardPage(IDD_RESTART_WINDOWS, mainWindow()).run(context_) == IDOK)
            ExitWindowsEx(EWX_REBOOT, 0);
        return exitRestartNeeded;
    }
    return exitDone;
}

ExitCode SetupApp::chooseInstallScope()
{
    const bool windowsNT = isWindowsNT();
    // -u needs no look at the machine's rights.
    const bool machineAllowed = !windowsNT || options_.userScope || machineChangesAllowed();
    const String refusal = String("Installing ") + product::name + " for all users needs administrator rights.";
    String why;
    switch (chooseScope(options_, windowsNT, machineAllowed)) {
    case ScopeChoice::machine:
        context_.scope = InstallScope::machine;
        if (options_.userScope)
            why = " (-u ignored: Windows 95 and 98 install for all users)";
        break;
    case ScopeChoice::user:
        context_.scope = InstallScope::user;
        why = options_.userScope ? " (-u)" : " (no administrator rights for all users)";
        break;
    case ScopeChoice::askForUser:
        if (messageBox((refusal + " Install it for you only?").c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return exitCancelled;
        context_.scope = InstallScope::user;
        why = " (chosen by the user: no administrator rights for all users)";
        break;
    case ScopeChoice::refuse:
        messageBox(refusal.c_str(), MB_ICONSTOP);
        return exitFailed;
    }
    Log::write(String("scope: ") + (context_.scope == InstallScope::user ? "the current user" : "all users") + why);
    return exitDone;
}

InstallScope SetupApp::uninstallScope() const
{
    InstallScope scope;
    if (!isWindowsNT() || options_.machineScope)
        scope = InstallScope::machine;
    else if (options_.userScope)
        scope = InstallScope::user;
    else
        scope = scopeOfInstall(programFolder_);
    Log::write(String("scope: ") + (scope == InstallScope::user ? "the current user" : "all users"));
    return scope;
}

Path SetupApp::programMenuFolder(InstallScope scope)
{
    String folder;
    if ((scope == InstallScope::user || !getSpecialFolder(CSIDL_COMMON_PROGRAMS, folder))
        && !getSpecialFolder(CSIDL_PROGRAMS, folder))
        throw "Unable to get program menu folder";
    return Path(folder).addTrailingSeparator();
}

bool SetupApp::updateRegistryShown()
{
    RegistryStepView view(updateRegistryDialog_);
    const SessionEndBlock blocked(context_);
    // A silent run shows no dialog and has no Cancel to poll.
#ifdef TRELLIQ_TEST_PAUSES
    PausingRegistryView pausing(context_.silent ? nullptr : &view);
    RegistryUpdate update(context_, &pausing);
#else
    RegistryUpdate update(context_, context_.silent ? nullptr : &view);
#endif
    // The install writes under the wait cursor; the uninstall shows its result dialog instead.
    bool ok;
    if (!context_.installMode) {
        ok = updateRegistry(update, coverageFile_);
    } else {
        WaitCursor waiting;
        ok = updateRegistry(update, coverageFile_);
    }
    if (!ok && GetLastError() == ERROR_CANCELLED)
        cancelled_ = true;
    return ok;
}

void SetupApp::useBatchFileIn(const Path& folder)
{
    setBatchFilePath((folder + product::batchFile).replace('/', '\\'));
}
