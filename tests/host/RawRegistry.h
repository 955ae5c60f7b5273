// RawRegistry: the tests' own view of the registry, through the plain API, so that what the
// code under test wrote is checked by other code than its own.
#pragma once

#include <windows.h>

#include <string>

// Machine keys are seen as a 32-bit program sees them, whatever this test program's pointer
// size: the product's machine keys belong in the 32-bit view on 64-bit Windows.
namespace raw {

inline REGSAM view(HKEY root)
{
    return root == HKEY_LOCAL_MACHINE ? KEY_WOW64_32KEY : 0;
}

inline void put(HKEY root, const std::string& key, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | view(root), nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        return;
    RegSetValueExA(handle, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
}

inline void putString(HKEY root, const std::string& key, const char* name, const std::string& text)
{
    put(root, key, name, REG_SZ, text.c_str(), text.size() + 1);
}

inline void putNumber(HKEY root, const std::string& key, const char* name, DWORD number)
{
    put(root, key, name, REG_DWORD, &number, sizeof number);
}

inline void createKey(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_WRITE | view(root), nullptr, &handle, nullptr)
        == ERROR_SUCCESS)
        RegCloseKey(handle);
}

inline bool exists(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view(root), &handle) != ERROR_SUCCESS)
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
    const DWORD flags = RRF_RT_ANY | RRF_NOEXPAND | (root == HKEY_LOCAL_MACHINE ? RRF_SUBKEY_WOW6432KEY : 0);
    if (RegGetValueA(root, key.c_str(), name, flags, &type, data, &size) != ERROR_SUCCESS)
        return "<missing>";
    if (type == REG_DWORD)
        return std::to_string(*reinterpret_cast<DWORD*>(data));
    return std::string(data);
}

inline void removeTree(HKEY root, const std::string& key)
{
    HKEY handle;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS | view(root), &handle) == ERROR_SUCCESS) {
        RegDeleteTreeA(handle, nullptr);
        RegCloseKey(handle);
    }
    RegDeleteKeyExA(root, key.c_str(), view(root), 0);
}

} // namespace raw
