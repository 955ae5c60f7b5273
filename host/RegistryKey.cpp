// RegistryKey: lazy opening, the status rule, enumeration and values of any length.
#include "host/RegistryKey.h"

#include "foundation/Array.h"
#include "foundation/Log.h"
#include "foundation/MachineChanges.h"
#include "foundation/SystemLibrary.h"
#include "foundation/WindowsVersion.h"

#include <cctype>
#include <cstdint>
#include <cstring>

namespace {

// Enumerated subkey and value names: 255 characters and the terminator.
const DWORD nameSize = 256;
// The first guess for value data and expansions; longer ones grow the buffer.
const int dataSize = 2048;

struct RootName {
    HKEY root;
    const char* name;
};

// The handles themselves, not their numbers: a 64-bit program sign-extends them.
const RootName rootNames[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
    {HKEY_USERS, "HKEY_USERS"},
    {HKEY_PERFORMANCE_DATA, "HKEY_PERFORMANCE_DATA"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
    {HKEY_DYN_DATA, "HKEY_DYN_DATA"},
};

// The registry view a key lives in. The product belongs to 32-bit programs: on 64-bit
// Windows its machine keys under HKEY_LOCAL_MACHINE\Software are in the 32-bit view, where
// the x86 setup.exe and 32-bit Developer Studio find them. A 32-bit program is in that view
// already (and Windows 2000 and older refuse the flag); a 64-bit program asks for it.
// HKEY_LOCAL_MACHINE\Software\Classes is taken in the program's own view, as
// HKEY_CLASSES_ROOT is: file types are shared by both views.
REGSAM viewOf(HKEY root, const String& subkey)
{
    const bool is64Bit = sizeof(void*) == 8;
    if (!is64Bit || root != HKEY_LOCAL_MACHINE)
        return 0;
    const auto startsWith = [&subkey](const char* prefix) {
        const int length = static_cast<int>(std::strlen(prefix));
        if (subkey.length() < length || (subkey.length() > length && subkey.charAt(length) != '\\'))
            return false;
        for (int i = 0; i < length; ++i) {
            if (std::tolower(static_cast<unsigned char>(subkey.charAt(i))) != prefix[i])
                return false;
        }
        return true;
    };
    return startsWith("software") && !startsWith("software\\classes") ? KEY_WOW64_32KEY : 0;
}

// Room for what the registry asked for, or twice the room when it did not say more
// (performance data reports no size), so that every retry grows.
void grow(Array<char>& data, DWORD needed)
{
    const DWORD twice = 2 * static_cast<DWORD>(data.size());
    data.resize(static_cast<int>(needed > twice ? needed : twice));
}

// Puts size bytes of data, read with type in form, into value: a REG_DWORD's four bytes
// into the number, a string's characters (or units) up to its first NUL into the text, and
// every byte of any other type (REG_BINARY, REG_MULTI_SZ, ...) into the text as it is.
void store(DWORD type, const Array<char>& data, DWORD size, TextForm form, RegistryValue& value)
{
    value = RegistryValue();
    value.type = type;
    value.form = form;
    const char* bytes = data.data();
    if (type == REG_DWORD) {
        uint32_t number = 0;
        std::memcpy(&number, bytes, size < sizeof number ? size : sizeof number);
        value.number = number;
    } else if (RegistryValue::isString(type) && form == TextForm::Wide) {
        // Copied into units of their own, which the bytes need not be aligned for; an odd
        // last byte is no unit.
        Array<wchar_t> units(static_cast<int>(size / sizeof(wchar_t)));
        std::memcpy(units.data(), bytes, units.size() * sizeof(wchar_t));
        int count = 0;
        while (count < units.size() && units[count] != L'\0')
            ++count;
        value.wide = WideText(units.data(), count);
    } else if (RegistryValue::isString(type)) {
        const void* end = std::memchr(bytes, '\0', size);
        value.text = String(bytes, end ? static_cast<const char*>(end) - bytes : static_cast<int>(size));
    } else {
        value.text = String(bytes, static_cast<int>(size));
    }
}

// advapi32's wide value call name, or null where the system lacks it. Windows 95 exports
// them as stubs that fail: importing them would do, but relying on them would not.
template <typename Function>
Function wideCall(const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(systemFunction("advapi32.dll", name)));
}

typedef LONG(WINAPI* QueryValueFunction)(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
typedef LONG(WINAPI* EnumValueFunction)(HKEY, DWORD, LPWSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
typedef LONG(WINAPI* SetValueFunction)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD);

// The wide API where the system has it: Windows 95/98 keeps ANSI text only (its advapi32's
// wide calls are stubs), so the platform decides there, not the stubs' error; elsewhere
// the call named must be found.
bool wideApi(TextForm form, const char* call)
{
    return form == TextForm::Wide && isWindowsNT() && systemFunction("advapi32.dll", call);
}

// The registry's value calls for either kind of name, so that one loop serves both forms.
// The wide ones are called only where wideApi found them.
LONG queryValueEx(HKEY key, const char* name, DWORD* type, BYTE* data, DWORD* size)
{
    return RegQueryValueExA(key, name, nullptr, type, data, size);
}

LONG queryValueEx(HKEY key, const wchar_t* name, DWORD* type, BYTE* data, DWORD* size)
{
    return wideCall<QueryValueFunction>("RegQueryValueExW")(key, name, nullptr, type, data, size);
}

LONG enumValue(HKEY key, DWORD index, char* name, DWORD* length, DWORD* type, BYTE* data, DWORD* size)
{
    return RegEnumValueA(key, index, name, length, nullptr, type, data, size);
}

LONG enumValue(HKEY key, DWORD index, wchar_t* name, DWORD* length, DWORD* type, BYTE* data, DWORD* size)
{
    return wideCall<EnumValueFunction>("RegEnumValueW")(key, index, name, length, nullptr, type, data, size);
}

String nameText(const char* name, DWORD length)
{
    return String(name, static_cast<int>(length));
}

String nameText(const wchar_t* name, DWORD length)
{
    return WideText(name, static_cast<int>(length)).toAnsi();
}

// A value name for the wide calls; null (the default value) stays null.
class WideName {
public:
    explicit WideName(const char* name) : text_(name ? WideText::fromAnsi(name) : WideText()), null_(!name) {}
    const wchar_t* get() const { return null_ ? nullptr : text_.c_str(); }

private:
    WideText text_;
    bool null_;
};

BYTE* bytesOf(Array<char>& data)
{
    return reinterpret_cast<BYTE*>(data.data());
}

// The value named name, of any length, read with Char's kind of call (char: ANSI, wchar_t:
// wide) into value in form. The value is left unchanged on failure.
template <typename Char>
LONG readValue(HKEY key, const Char* name, TextForm form, RegistryValue& value)
{
    Array<char> data(dataSize);
    DWORD type;
    DWORD size;
    LONG status;
    for (;;) {
        size = static_cast<DWORD>(data.size());
        status = queryValueEx(key, name, &type, bytesOf(data), &size);
        if (status != ERROR_MORE_DATA)
            break;
        grow(data, size);
    }
    if (status == ERROR_SUCCESS)
        store(type, data, size, form, value);
    return status;
}

// The named value at index or, when that is the key's default value, the next one (index
// then moves past it), read as readValue reads. Name and value are left unchanged on
// failure.
template <typename Char>
LONG readValueAt(HKEY key, int& index, TextForm form, String& name, RegistryValue& value)
{
    Char buffer[nameSize];
    DWORD length;
    DWORD type;
    DWORD size;
    Array<char> data(dataSize);
    LONG status;
    for (;;) {
        length = nameSize;
        size = static_cast<DWORD>(data.size());
        status = enumValue(key, static_cast<DWORD>(index), buffer, &length, &type, bytesOf(data), &size);
        if (status == ERROR_MORE_DATA) {
            // The data or the name did not fit. Ask for the data's size alone: that
            // succeeds when the name fits, and the value is read again with room for it.
            length = nameSize;
            DWORD needed = 0;
            status = enumValue(key, static_cast<DWORD>(index), buffer, &length, nullptr, nullptr, &needed);
            if (status != ERROR_SUCCESS)
                break;
            grow(data, needed);
            continue;
        }
        if (status != ERROR_SUCCESS || length > 0)
            break;
        ++index; // the key's default value
    }
    if (status == ERROR_SUCCESS) {
        name = nameText(buffer, length);
        store(type, data, size, form, value);
    }
    return status;
}

// A value as the log shows it: a number in decimal, anything else as quoted text.
String logged(const RegistryValue& shown)
{
    // The log is ANSI text: a wide text is shown as the code page can.
    const RegistryValue value = shown.in(TextForm::Ansi);
    if (value.type == REG_DWORD)
        return String::valueOf(value.number);
    // Other data may hold NULs and any byte: the log names its size, not its bytes.
    if (!RegistryValue::isString(value.type))
        return String::valueOf(value.text.length()) + " bytes of type " + String::valueOf(static_cast<unsigned>(value.type));
    return String("\"") + value.text + "\"";
}

// What a value was before a change, read through a key of its own so that the changing
// key keeps its handle.
String previousOf(HKEY root, const String& subkey, const char* name)
{
    RegistryValue previous;
    if (!RegistryKey(root, subkey).queryValue(name, previous))
        return "was not set";
    return "was " + logged(previous);
}

} // namespace

RegistryKey::RegistryKey(HKEY root, const char* subkey)
    : index_(0), handle_(nullptr), root_(root), subkey_(subkey), mode_(Closed), status_(0), openCount_(0)
{
}

RegistryKey::RegistryKey(HKEY root, const String& subkey)
    : index_(0), handle_(nullptr), root_(root), subkey_(subkey), mode_(Closed), status_(0), openCount_(0)
{
}

RegistryKey::RegistryKey(const RegistryKey& other) : RegistryKey(other.root_, other.subkey_)
{
}

RegistryKey::~RegistryKey()
{
    close();
}

bool RegistryKey::finish()
{
    if (status_ != ERROR_SUCCESS && status_ != ERROR_NO_MORE_ITEMS)
        SetLastError(status_);
    return status_ == ERROR_SUCCESS;
}

bool RegistryKey::open(Mode mode)
{
    if (mode == mode_) {
        status_ = ERROR_SUCCESS;
        return true;
    }
    close();
    HKEY handle = nullptr;
    switch (mode) {
    case Closed:
        break;
    case Read:
        status_ = RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_READ | viewOf(root_, subkey_), &handle);
        ++openCount_;
        break;
    case Write:
        status_ = RegOpenKeyExA(root_, subkey_.c_str(), 0, KEY_WRITE | viewOf(root_, subkey_), &handle);
        ++openCount_;
        break;
    case Create:
        status_ = RegCreateKeyExA(root_, subkey_.c_str(), 0, const_cast<char*>(""), REG_OPTION_NON_VOLATILE,
                                  KEY_WRITE | viewOf(root_, subkey_), nullptr, &handle, nullptr);
        ++openCount_;
        break;
    }
    if (status_ == ERROR_SUCCESS) {
        handle_ = handle;
        mode_ = mode;
    }
    index_ = 0;
    return finish();
}

bool RegistryKey::close()
{
    if (mode_ == Closed) {
        status_ = ERROR_SUCCESS;
        return true;
    }
    status_ = RegCloseKey(handle_);
    mode_ = Closed;
    handle_ = nullptr;
    return finish();
}

bool RegistryKey::nextSubkey(String& name)
{
    if (!open(Read)) {
        index_ = 0;
        return false;
    }
    char buffer[nameSize];
    DWORD length = nameSize;
    FILETIME written;
    status_ = RegEnumKeyExA(handle_, index_, buffer, &length, nullptr, nullptr, nullptr, &written);
    if (status_ == ERROR_SUCCESS) {
        name = String(buffer, length);
        ++index_;
    } else {
        index_ = 0;
    }
    return finish();
}

bool RegistryKey::nextValue(String& name, RegistryValue& value, TextForm form)
{
    if (!open(Read)) {
        index_ = 0;
        return false;
    }
    if (wideApi(form, "RegEnumValueW")) {
        status_ = readValueAt<wchar_t>(handle_, index_, form, name, value);
    } else {
        status_ = readValueAt<char>(handle_, index_, TextForm::Ansi, name, value);
        if (status_ == ERROR_SUCCESS)
            value = value.in(form);
    }
    if (status_ == ERROR_SUCCESS)
        ++index_;
    else
        index_ = 0;
    return finish();
}

bool RegistryKey::queryValue(const char* name, RegistryValue& value, TextForm form)
{
    if (!open(Read))
        return false;
    if (wideApi(form, "RegQueryValueExW")) {
        status_ = readValue(handle_, WideName(name).get(), form, value);
    } else {
        status_ = readValue(handle_, name, TextForm::Ansi, value);
        if (status_ == ERROR_SUCCESS)
            value = value.in(form);
    }
    return finish();
}

bool RegistryKey::getString(const char* name, String& text)
{
    RegistryValue value;
    if (!queryValue(name, value))
        return false;
    if (value.type != REG_EXPAND_SZ) {
        // Read as text, a value of another type (REG_MULTI_SZ, REG_BINARY) ends at its first NUL.
        const int end = value.text.indexOf('\0');
        text = end < 0 ? value.text : value.text.substring(0, end);
        return true;
    }
    // The count includes the terminator; a larger count than the room means "grow and
    // expand again". Should the expansion itself fail, the text stays as stored.
    text = value.text;
    Array<char> expanded(dataSize);
    for (;;) {
        const DWORD needed = ExpandEnvironmentStringsA(value.text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
        if (needed == 0)
            break;
        if (needed <= static_cast<DWORD>(expanded.size())) {
            text = String(expanded.data());
            break;
        }
        grow(expanded, needed);
    }
    return true;
}

bool RegistryKey::getNumber(const char* name, uint32_t& number)
{
    RegistryValue value;
    if (!queryValue(name, value))
        return false;
    number = value.number;
    return true;
}

bool RegistryKey::recordChange(const char* name)
{
    MachineChanges* const changes = MachineChanges::recorder();
    if (!changes)
        return true;
    try {
        changes->changingValue(root_, subkey_, name);
        return true;
    } catch (...) {
        // A change that cannot be recorded could not be taken back: it is not made.
        status_ = ERROR_WRITE_FAULT;
        return finish();
    }
}

bool RegistryKey::setValue(const char* name, const RegistryValue& value)
{
    if (!recordChange(name))
        return false;
    // The log tells what each change replaced.
    const String previous = Log::isOpen() ? previousOf(root_, subkey_, name) : String();
    if (!open(Create))
        return false;
    const bool wide = wideApi(value.form, "RegSetValueExW");
    const RegistryValue written = wide ? value : value.in(TextForm::Ansi);
    const BYTE* data = reinterpret_cast<const BYTE*>(written.text.c_str());
    DWORD size = static_cast<DWORD>(written.text.length());
    if (written.type == REG_DWORD) {
        data = reinterpret_cast<const BYTE*>(&written.number);
        size = sizeof written.number;
    } else if (RegistryValue::isString(written.type) && wide) {
        data = reinterpret_cast<const BYTE*>(written.wide.c_str());
        size = static_cast<DWORD>((written.wide.length() + 1) * sizeof(wchar_t));
    } else if (RegistryValue::isString(written.type)) {
        size += 1;
    }
    status_ = wide ? wideCall<SetValueFunction>("RegSetValueExW")(handle_, WideName(name).get(), 0, written.type, data, size)
                   : RegSetValueExA(handle_, name, 0, written.type, data, size);
    if (status_ == ERROR_SUCCESS)
        Log::write("registry: set " + fullName() + (name ? name : "") + " = " + logged(value) + " (" + previous + ")");
    return finish();
}

bool RegistryKey::setString(const char* name, const String& text)
{
    return setValue(name, RegistryValue(text, REG_SZ));
}

bool RegistryKey::setNumber(const char* name, uint32_t number)
{
    return setValue(name, RegistryValue(number));
}

bool RegistryKey::deleteValue(const char* name)
{
    const String previous = Log::isOpen() ? previousOf(root_, subkey_, name) : String();
    if (!open(Write) || !recordChange(name))
        return false;
    status_ = RegDeleteValueA(handle_, name);
    index_ = 0;
    if (status_ == ERROR_SUCCESS)
        Log::write("registry: removed " + fullName() + (name ? name : "") + " (" + previous + ")");
    return finish();
}

bool RegistryKey::deleteTree()
{
    // An empty subkey names the root itself: never wipe a whole root.
    if (subkey_.isEmpty()) {
        status_ = ERROR_INVALID_PARAMETER;
        return finish();
    }
    String name;
    if (Log::isOpen())
        logValues();
    // A recorded run takes the values out one by one, each recorded with its bytes, so
    // that an undo can put them back.
    if (MachineChanges::recorder()) {
        RegistryValue value;
        while (nextValue(name, value)) {
            if (!deleteValue(name.c_str()))
                return false;
        }
        if (queryValue(nullptr, value) && !deleteValue(nullptr))
            return false;
    }
    while (nextSubkey(name)) {
        bool deleted;
        {
            RegistryKey child(root_, subkey_ + "\\" + name);
            deleted = child.deleteTree();
        }
        // The deleted child's place is taken by the next one: start over at the first.
        index_ = 0;
        if (!deleted)
            break;
    }
    if (close())
        deleteFromParent();
    if (status_ == ERROR_SUCCESS)
        Log::write("registry: removed key " + fullName());
    return finish();
}

void RegistryKey::logValues()
{
    String name;
    RegistryValue value;
    resetIndex();
    while (nextValue(name, value))
        Log::write("registry: removing " + fullName() + name + " (was " + logged(value) + ")");
    resetIndex();
}

void RegistryKey::deleteFromParent()
{
    const int slash = subkey_.lastIndexOf('\\');
    if (slash < 0) {
        status_ = RegDeleteKeyA(root_, subkey_.c_str());
        return;
    }
    // Through the parent opened in the key's view: RegDeleteKeyA by the full name would
    // look in the program's own view, and RegDeleteKeyExA, which takes one, is missing
    // before Windows XP x64.
    const String parentName = subkey_.substring(0, slash);
    HKEY parent;
    status_ = RegOpenKeyExA(root_, parentName.c_str(), 0, KEY_READ | viewOf(root_, parentName), &parent);
    if (status_ == ERROR_SUCCESS) {
        status_ = RegDeleteKeyA(parent, subkey_.c_str() + slash + 1);
        RegCloseKey(parent);
    }
}

bool RegistryKey::isEmpty()
{
    if (!open(Read))
        return false;
    String name;
    bool found = nextSubkey(name);
    index_ = 0;
    if (!found) {
        RegistryValue value;
        found = nextValue(name, value);
        index_ = 0;
    }
    return !found;
}

String RegistryKey::fullName() const
{
    const char* rootName = "unknown";
    for (const RootName& entry : rootNames) {
        if (entry.root == root_)
            rootName = entry.name;
    }
    return String(rootName) + "\\" + subkey_ + "\\";
}

RegistryKey RegistryKey::parent() const
{
    const int slash = subkey_.lastIndexOf('\\');
    return RegistryKey(root_, slash < 0 ? String() : subkey_.substring(0, slash));
}
