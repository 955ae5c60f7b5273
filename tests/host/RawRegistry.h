// RawRegistry: the tests' own view of the registry, through the plain API, so that what the
// code under test wrote is checked by other code than its own.
#pragma once

#include <windows.h>

#include <string>

namespace raw {

inline void putString(HKEY root, const std::string& key, const char* name, const std::string& text)
{
    RegSetKeyValueA(root, key.c_str(), name, REG_SZ, text.c_str(), text.size() + 1);
}

inline void putNumber(HKEY root, const std::string& key, const char* name, DWORD number)
{
    RegSetKeyValueA(root, key.c_str(), name, REG_DWORD, &number, sizeof number);
}

inline void createKey(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) == ERROR_SUCCESS)
        RegCloseKey(handle);
}

inline bool exists(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// The text of a string value, the decimal number of a REG_DWORD, or "<missing>".
inline std::string read(HKEY root, const std::string& key, const char* name)
{
    char data[4096];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    if (type == REG_DWORD)
        return std::to_string(*reinterpret_cast<DWORD*>(data));
    return std::string(data);
}

inline void removeTree(HKEY root, const std::string& key)
{
    RegDeleteTreeA(root, key.c_str());
    RegDeleteKeyA(root, key.c_str());
}

} // namespace raw
