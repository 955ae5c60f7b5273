// SetupApp: start-up, options, the main flow, the relaunch and the program-menu folder.
#include "setup/SetupApp.h"

#include "foundation/Buffer.h"
#include "foundation/ErrorText.h"
#include "foundation/Exception.h"
#include "foundation/MessageBox.h"
#include "foundation/ModulePath.h"
#include "foundation/WindowsVersion.h"
#include "foundation/Process.h"
#include "foundation/ProductIdentity.h"
#include "host/DevStudioVersion.h"
#include "host/Environment.h"
#include "host/ProductRegistry.h"
#include "host/RegistryUpdate.h"
#include "host/Shell.h"
#include "setup/RemovalGuard.h"
#include "setup/RunningPrograms.h"
#include "setup/SetupLock.h"
#include "ui/MessageDialog.h"
#include "ui/RegistryStepView.h"
#include "ui/WaitCursor.h"
#include "ui/WizardPage.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>

namespace {

// Reports the failure being handled; called only from a catch block.
void reportFailure()
{
    try {
        throw;
    } catch (const Exception& failure) {
        messageBox(failure.message().c_str(), MB_ICONSTOP);
    } catch (const char* text) {
        messageBox(text, MB_ICONSTOP);
    } catch (...) {
        showLastError("unknown exception");
    }
}

} // namespace

SetupApp::SetupApp() : SetupApp(GetCommandLineA()) {}

SetupApp::SetupApp(const char* commandLine) : arguments_(commandLine) {}

bool SetupApp::initInstance()
{
    const Path name = Path(modulePath()).fileName();
    context_.installMode = !(name.equals(Path(product::uninstallerBaseName)) || name.equals(Path(product::uninstallerName)));
    if (frame_.create()) {
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
    try {
        mainFlow();
    } catch (...) {
        // Only the sequences are guarded by the main flow itself; whatever escapes before
        // them (options, relaunch, confirmation, running programs) is reported the same way.
        reportFailure();
    }
    if (mainWindow()) {
        DestroyWindow(mainWindow());
        setMainWindow(nullptr);
    }
    exitInstance();
    return 0;
}

int SetupApp::exitInstance()
{
    releaseOle();
    announceEnvironmentChange();
    return 0;
}

int SetupApp::doMessageBox(const char* text, unsigned style)
{
    return MessageDialog::show(text, style);
}

void SetupApp::parseOptions()
{
    programFolder_ = Path(arguments_.argument(0)).directory().absolutePath();
    for (int i = 1; i < arguments_.size(); ++i) {
        const String& argument = arguments_.argument(i);
        if (std::strcmp(argument.c_str(), "-a") == 0) {
            context_.interactive = false;
        } else if (std::strcmp(argument.c_str(), "-d") == 0) {
            // Absolute against the folder the program started in (the uninstall changes to
            // the root before it removes anything) and ending with a separator, since the
            // registry step appends "bin" and "lib" to it. Nothing given stays nothing.
            const String given = arguments_.argument(i + 1);
            programFolder_ = given.isEmpty() ? Path() : Path(given).absolutePath().addTrailingSeparator();
            ++i;
        }
    }
    String text;
    if (getEnvironment("TRQFILE", text, false) || getEnvironment("TRQFILE", text, true)) {
        coverageFile_ = text;
        return;
    }
    String folder;
    if (!DevStudioVersion(2).workspaceDir(folder))
        folder = "c:";
    coverageFile_ = Path(folder).addTrailingSeparator() + "test.trq";
}

void SetupApp::mainFlow()
{
    parseOptions();
    // The relaunch changes nothing, and its copy must find the lock free.
    if (!context_.installMode && arguments_.argument(1).length() == 0) {
        relaunchFromTemp();
        return;
    }
    const SetupLock lock;
    if (!lock.held()) {
        const String text = String(product::applicationTitle) + " is already running. Please let it finish first.";
        messageBox(text.c_str(), MB_ICONEXCLAMATION);
        // This run ends here; where the program gives exit codes, this case gives
        // ERROR_INSTALL_ALREADY_RUNNING (1618).
        return;
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
            return;
        }
        const String question = String("Are you sure you want to remove ") + product::name + "?";
        if (messageBox(question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    if (context_.interactive && !checkRunningPrograms())
        return;

    bool ok = false;
    try {
        ok = context_.installMode ? install() : uninstall();
    } catch (...) {
        reportFailure();
    }

    if (ok && !isWindowsNT()) {
        if (WizardPage(IDD_RESTART_WINDOWS, mainWindow()).run(context_) == IDOK)
            ExitWindowsEx(EWX_REBOOT, 0);
    }
}

bool SetupApp::relaunchFromTemp()
{
    String directory, base, extension;
    Path(arguments_.argument(0)).split(&directory, &base, &extension);
    if (extension.length() == 0)
        extension = ".exe";
    const String source = directory + base + extension;
    const String target = Path::tempDirectory() + base + extension;
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) {
        showLastError((String("Error copying ") + source + " to " + target).c_str());
        return false;
    }
    // The folder ends with a backslash just before the closing quote; the copy's argument
    // list gives backslashes no special meaning, so it arrives as written.
    Buffer commandLine(256);
    commandLine.append("\"");
    commandLine.append(target);
    commandLine.append("\" -d \"");
    commandLine.append(programFolder_);
    commandLine.append("\"");
    commandLine.append("", 0, 1);
    if (!runProcess(const_cast<char*>(commandLine.bytes()), false)) {
        showLastError((String("Error running ") + target).c_str());
        return false;
    }
    return true;
}

Path SetupApp::programMenuFolder()
{
    String folder;
    if (!getSpecialFolder(CSIDL_COMMON_PROGRAMS, folder) && !getSpecialFolder(CSIDL_PROGRAMS, folder))
        throw "Unable to get program menu folder";
    return Path(folder).addTrailingSeparator();
}

bool SetupApp::updateRegistryShown()
{
    RegistryStepView view(updateRegistryDialog_);
    RegistryUpdate update(context_, &view);
    // The install writes under the wait cursor; the uninstall shows its result dialog instead.
    if (!context_.installMode)
        return updateRegistry(update, coverageFile_);
    WaitCursor waiting;
    return updateRegistry(update, coverageFile_);
}

void SetupApp::useBatchFileIn(const Path& folder)
{
    setBatchFilePath((folder + product::batchFile).replace('/', '\\'));
}
