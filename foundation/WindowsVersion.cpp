// isWindowsNT, fileVersion: GetVersionExA and the version API.
#include "foundation/WindowsVersion.h"

#include <windows.h>

#include <cstring>

bool isWindowsNT()
{
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = 148;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

String fileVersion(const char* fileName)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(fileName, &handle);
    if (size == 0)
        return String();
    char* data = new char[size];
    String version;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoLength = 0;
    if (GetFileVersionInfoA(fileName, 0, size, data)
        && VerQueryValueA(data, "\\", reinterpret_cast<void**>(&info), &infoLength) && info) {
        version = String::valueOf(static_cast<unsigned>(HIWORD(info->dwFileVersionMS))) + "." +
                  String::valueOf(static_cast<unsigned>(LOWORD(info->dwFileVersionMS))) + "." +
                  String::valueOf(static_cast<unsigned>(HIWORD(info->dwFileVersionLS))) + "." +
                  String::valueOf(static_cast<unsigned>(LOWORD(info->dwFileVersionLS)));
    }
    delete[] data;
    return version;
}
