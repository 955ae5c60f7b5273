// openDocument: the association lookup, the command templates and starting the program.
#include "host/OpenDocument.h"

#include "foundation/Array.h"
#include "foundation/ErrorText.h"
#include "foundation/Process.h"
#include "host/RegistryKey.h"

#include <windows.h>

#include <cstring>

namespace {

// Tried in this order, each from the template's start: the first entry also swallows the
// "-h" switch and the quotes of help-viewer templates.
const char* const placeholders[] = {"-h \"%1\"", "%1", "%L", "%l"};

// Kinds opened by running their registered command ourselves rather than through
// ShellExecuteExA. Case matters.
const char* const commandKinds[] = {"", ".html", "file", "ftp", "http", "https", "mailto", "news", "telnet"};

bool isCommandKind(const String& kind)
{
    for (const char* commandKind : commandKinds) {
        if (kind.compareTo(commandKind) == 0)
            return true;
    }
    return false;
}

bool noAssociation()
{
    SetLastError(ERROR_NO_ASSOCIATION);
    return false;
}

bool start(const String& kind, const String& verb, const String& command, const String& target)
{
    if (isCommandKind(kind)) {
        const String line = buildCommandLine(command, target);
        Array<char> writable(line.c_str(), line.length() + 1);
        return runProcess(writable.data(), false, nullptr, false);
    }
    const String file = target.replace('/', '\\');
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = GetActiveWindow();
    info.lpVerb = verb.c_str();
    info.lpFile = file.c_str();
    info.nShow = SW_SHOW;
    return ShellExecuteExA(&info);
}

} // namespace

bool resolveDocument(const String& target, String& kind, String& verb, String& command)
{
    String fileClass;
    const int scheme = target.indexOf(String("://"));
    if (scheme > 1) {
        kind = target.substring(0, scheme);
        fileClass = kind;
    } else {
        const int dot = target.lastIndexOf('.');
        kind = dot < 0 ? String() : target.substring(dot);
        if (kind.isEmpty())
            fileClass = "Folder";
        else if (!RegistryKey(HKEY_CLASSES_ROOT, kind).getString(nullptr, fileClass))
            return noAssociation();
    }
    RegistryKey verbs(HKEY_CLASSES_ROOT, fileClass + "\\shell");
    String name;
    while (verbs.nextSubkey(name)) {
        if (name.toLowerCase().indexOf(String("open")) < 0)
            continue;
        if (RegistryKey(HKEY_CLASSES_ROOT, fileClass + "\\shell\\" + name + "\\command").getString(nullptr, command)) {
            verb = name;
            return true;
        }
    }
    return noAssociation();
}

String buildCommandLine(const String& commandTemplate, const String& target)
{
    for (const char* placeholder : placeholders) {
        const int at = commandTemplate.indexOf(String(placeholder));
        if (at < 0)
            continue;
        if (at == 0)
            break;
        return commandTemplate.substring(0, at) + target +
               commandTemplate.substring(at + static_cast<int>(std::strlen(placeholder)));
    }
    return commandTemplate + " \"" + target + "\"";
}

void openDocument(const String& target)
{
    String kind;
    String verb;
    String command;
    if (!resolveDocument(target, kind, verb, command)) {
        showLastError(target.c_str());
        return;
    }
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_APPSTARTING));
    const bool started = start(kind, verb, command, target);
    const DWORD error = GetLastError();
    SetCursor(previous);
    if (!started) {
        SetLastError(error);
        showLastError(target.c_str());
    }
}
