// DevStudioVersion: the generations' table and the settings Developer Studio keeps.
#include "host/DevStudioVersion.h"

#include "foundation/Array.h"
#include "foundation/LastErrorKept.h"
#include "foundation/Log.h"
#include "foundation/MessageBox.h"
#include "foundation/Process.h"
#include "host/UpdateRegistryView.h"


namespace {

struct Generation {
    const char* baseKey;
    const char* productName;
    const char* reservedLetters;
};

const Generation generations[DevStudioVersion::Count] = {
    {"Software\\Microsoft\\Developer", "Microsoft Developer Studio", "wlfncorp"},
    {"Software\\Microsoft\\DevStudio\\5.0", "Microsoft Developer Studio", "wfcom"},
    {"Software\\Microsoft\\DevStudio\\6.0", "Microsoft Visual C++", "comrl"},
};

const char* const pathDirs = "Path Dirs";

const char* const partialSettingsMessage =
    "You have partial registry settings for Microsoft Developer Studio version 4.x.  If you have "
    "Visual C++ 4.x installed, please run Microsoft Developer Studio version 4.x (msdev.exe) now, "
    "close it, then press OK. Otherwise press Cancel.";

} // namespace

DevStudioVersion::DevStudioVersion(int index)
    : index_(index), baseKey_(generations[index].baseKey),
      machineTools_(HKEY_LOCAL_MACHINE, baseKey_ + "\\Tools"),
      userTools_(HKEY_CURRENT_USER, baseKey_ + "\\Tools")
{
}

const char* DevStudioVersion::productName() const
{
    return generations[index_].productName;
}

const char* DevStudioVersion::reservedLetters() const
{
    return generations[index_].reservedLetters;
}

bool DevStudioVersion::isInstalled() const
{
    RegistryKey base(HKEY_CURRENT_USER, baseKey_);
    return base.open(RegistryKey::Read);
}

String DevStudioVersion::directoriesKeyPath() const
{
    return baseKey_ + "\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories";
}

bool DevStudioVersion::workspaceDir(String& folder) const
{
    RegistryKey directories(HKEY_CURRENT_USER, baseKey_ + "\\Directories");
    return directories.getString("WorkspaceDir", folder);
}

RegistryKey* DevStudioVersion::toolsKey(HKEY root)
{
    if (root == HKEY_LOCAL_MACHINE)
        return &machineTools_;
    if (root == HKEY_CURRENT_USER)
        return &userTools_;
    return nullptr;
}

bool DevStudioVersion::hasPathDirs() const
{
    RegistryValue value;
    RegistryKey user(HKEY_CURRENT_USER, directoriesKeyPath());
    if (user.queryValue(pathDirs, value))
        return true;
    RegistryKey machine(HKEY_LOCAL_MACHINE, directoriesKeyPath());
    return machine.queryValue(pathDirs, value);
}

String DevStudioVersion::programPath() const
{
    String folder;
    RegistryKey userInstall(HKEY_CURRENT_USER, baseKey_ + "\\Directories");
    RegistryKey machineInstall(HKEY_LOCAL_MACHINE, baseKey_ + "\\Directories");
    if (userInstall.getString("Install Dirs", folder) || machineInstall.getString("Install Dirs", folder)) {
        const char last = folder.isEmpty() ? '\0' : folder.charAt(folder.length() - 1);
        if (last != '\\' && last != '/')
            folder += "\\";
        return folder + "msdev.exe";
    }
    // The workspace icon names the program: "<path>,<index>".
    String icon;
    RegistryKey dswIcon(HKEY_CLASSES_ROOT, "dswfile\\DefaultIcon");
    if (dswIcon.getString(nullptr, icon)) {
        const int comma = icon.indexOf(',');
        if (comma >= 0)
            return icon.substring(0, comma);
    }
    return "msdev.exe";
}

void DevStudioVersion::prepareSettings(UpdateRegistryView* view, bool canAsk, DWORD waitLimit) const
{
    LastErrorKept kept;
    if (!isInstalled() || hasPathDirs())
        return;

    if (index_ == 0) {
        // Only the user can start 4.x; a run that cannot ask goes on as after Cancel.
        if (!canAsk) {
            Log::write(String("not asked: ") + partialSettingsMessage);
            return;
        }
        RegistryKey user(HKEY_CURRENT_USER, directoriesKeyPath());
        RegistryValue value;
        while (messageBox(partialSettingsMessage, MB_OKCANCEL | MB_ICONINFORMATION) == IDOK) {
            if (user.queryValue(pathDirs, value))
                break;
        }
        return;
    }

    const String program = programPath();
    bool timedOut;
    {
        UpdateRegistryView::Waiting waiting(view);
        RegistryKey general(HKEY_CURRENT_USER, baseKey_ + "\\General");
        general.setNumber("Tip of the day", 0);

        // Developer Studio writes its settings when it starts and ends at once on this command.
        const String commandLine = String("\"") + program + "\" -ex ApplicationExit";
        Array<char> command(commandLine.c_str(), commandLine.length() + 1);
        STARTUPINFOA startup;
        GetStartupInfoA(&startup);
        startup.dwFlags |= STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_MINIMIZE;
        timedOut = !runProcess(command.data(), false, &startup, true, nullptr, waitLimit)
                   && GetLastError() == WAIT_TIMEOUT;
    }
    // The lists are then missing, as when the program cannot be started: the product's
    // entries make new ones.
    if (timedOut) {
        const String text = program + " has not ended within a minute; it may be showing a message. "
                            "Setup goes on without " + productName() + "'s directory settings.";
        messageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
    }
}
