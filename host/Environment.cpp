// Environment: the registry side (Windows NT), the machine-key probe, the exit announcement
// and the directory-list edit.
#include "host/Environment.h"

#include "foundation/WindowsVersion.h"
#include "host/BatchFile.h"
#include "host/DirectoryList.h"
#include "host/RegistryKey.h"
#include "host/RegistryUpdate.h"
#include "host/Shell.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const char* const userKey = "Environment";
const char* const machineKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

bool machineWritable = true;
bool machineProbed = false;
bool changed = false;

String batchFilePath;

String& batchFile()
{
    return batchFilePath;
}

bool isListVariable(const char* name)
{
    return std::strcmp(name, "PATH") == 0 || std::strcmp(name, "LIB") == 0 || std::strcmp(name, "INCLUDE") == 0;
}

// Decides, the first time a variable of machine scope is read or written (in the registry
// step, after the user has agreed to the install), whether the machine environment can be
// written, by writing and removing a scratch variable. The probe is no change of the
// user's environment, so it leaves the changed flag as it was.
void probeMachineEnvironment()
{
    if (machineProbed || !isWindowsNT())
        return;
    // First: the probe's own writes go to the machine key.
    machineProbed = true;
    machineWritable = true;
    const bool wasChanged = changed;
    if (setEnvironment("_Win.tmp.$$$", String("value"), false))
        removeEnvironment("_Win.tmp.$$$", false);
    else if (GetLastError() == ERROR_ACCESS_DENIED)
        machineWritable = false;
    changed = wasChanged;
}

RegistryKey environmentKey(bool perUser)
{
    if (!perUser)
        probeMachineEnvironment();
    if (perUser || !machineWritable)
        return RegistryKey(HKEY_CURRENT_USER, userKey);
    return RegistryKey(HKEY_LOCAL_MACHINE, machineKey);
}

bool noteChange(bool done)
{
    if (done)
        changed = true;
    return done;
}

// The value does not exist (as opposed to a value that exists but cannot be read).
bool isMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_ENVVAR_NOT_FOUND;
}

struct EnvironmentSession {
    // OLE goes first, then the single announcement of every environment change of the run.
    ~EnvironmentSession()
    {
        releaseOle();
        announceEnvironmentChange();
    }
};

// After the start-up settings (priority 101), before the application's objects.
EnvironmentSession session __attribute__((init_priority(102)));

} // namespace

void setBatchFilePath(const String& path)
{
    batchFile() = path;
}

const String& batchFilePath()
{
    return batchFile();
}

bool getEnvironment(const char* name, RegistryValue& value, bool perUser, TextForm form)
{
    if (isWindowsNT())
        return environmentKey(perUser).queryValue(name, value, form);
    if (isListVariable(name)) {
        value = RegistryValue(String(), REG_SZ).in(form);
        return true;
    }
    const char* text = std::getenv(name);
    if (!text) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return false;
    }
    value = RegistryValue(String(text), REG_SZ).in(form);
    return true;
}

bool getEnvironment(const char* name, String& text, bool perUser)
{
    RegistryValue value;
    if (!getEnvironment(name, value, perUser))
        return false;
    text = value.text;
    return true;
}

bool setEnvironment(const char* name, const RegistryValue& value, bool perUser)
{
    if (isWindowsNT())
        return noteChange(environmentKey(perUser).setValue(name, value));
    return setBatchVariable(name, value.in(TextForm::Ansi).text);
}

bool setEnvironment(const char* name, const String& text, bool perUser)
{
    return setEnvironment(name, RegistryValue(text, REG_SZ), perUser);
}

bool removeEnvironment(const char* name, bool perUser)
{
    if (isWindowsNT())
        return noteChange(environmentKey(perUser).deleteValue(name));
    return removeBatchVariable(name);
}

bool editDirectoryList(RegistryUpdate& update, const char* keyPath, const char* name, const String& directory)
{
    const bool install = update.installing();
    // PATH is the machine's in the machine scope; every list is the user's in the user scope.
    const bool perUser = update.userScope() || std::strcmp(name, "PATH") != 0;
    // The list is other programs' text: read and written whole through the wide API, so
    // that an entry the code page cannot hold comes back unit for unit. Through the ANSI
    // code page it would come back as '?', or best-fit mapped to a look-alike folder that
    // anybody may create (a Polish "L with stroke" becomes a plain "L"). Only the product's
    // own entry comes from the program's text.
    RegistryValue value;
    bool read;
    if (!keyPath) {
        update.show(name);
        read = getEnvironment(name, value, perUser, TextForm::Wide);
    } else {
        update.show(String(keyPath) + "\\" + name);
        read = RegistryKey(HKEY_CURRENT_USER, keyPath).queryValue(name, value, TextForm::Wide);
        if (!read && isMissing(GetLastError()))
            read = RegistryKey(HKEY_LOCAL_MACHINE, keyPath).queryValue(name, value, TextForm::Wide);
    }
    // A list that exists but cannot be read (too long, denied, damaged) must not be
    // replaced by the product's entry alone: keep it, and fail with the reason. So must a
    // value of another type than text, which holds no list.
    if (read && !RegistryValue::isString(value.type)) {
        SetLastError(ERROR_UNSUPPORTED_TYPE);
        return false;
    }
    if (!read && !isMissing(GetLastError()))
        return false;
    if (!read)
        value = RegistryValue(WideText(), REG_SZ);

    const WideText ours = WideText::fromAnsi(directory);
    const WideText text = withoutDirectory(value.wide, ours);
    bool done = true;
    if (install) {
        value.wide = withDirectoryFirst(value.wide, ours);
        done = keyPath ? RegistryKey(HKEY_CURRENT_USER, keyPath).setValue(name, value)
                       : setEnvironment(name, value, perUser);
    } else if (!text.isEmpty()) {
        value.wide = text;
        done = keyPath ? RegistryKey(HKEY_CURRENT_USER, keyPath).setValue(name, value)
                       : setEnvironment(name, value, perUser);
    } else if (read) {
        done = keyPath ? RegistryKey(HKEY_CURRENT_USER, keyPath).deleteValue(name)
                       : removeEnvironment(name, perUser);
    }
    return done;
}

bool machineEnvironmentWritable()
{
    probeMachineEnvironment();
    return machineWritable;
}

bool environmentChanged()
{
    return changed;
}

bool announceEnvironmentChange()
{
    if (!changed)
        return false;
    changed = false;
    DWORD_PTR result;
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("Environment"),
                        SMTO_ABORTIFHUNG, 5000, &result);
    return true;
}
