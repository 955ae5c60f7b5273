// isWindowsNT, fileVersion: GetVersionExA and the version API.
#include "foundation/WindowsVersion.h"

#include "foundation/SystemLibrary.h"

#include <windows.h>

#include <cstring>

namespace {

// GetVersionExA's answer with the size every Windows takes (the first layout's 148 bytes);
// false when the call fails.
bool windowsVersion(OSVERSIONINFOA& version)
{
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = 148;
    return GetVersionExA(&version) != FALSE;
}

} // namespace

bool isWindowsNT()
{
    OSVERSIONINFOA version;
    return windowsVersion(version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool isWindows2000OrLater()
{
    OSVERSIONINFOA version;
    return windowsVersion(version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5;
}

String fileVersion(const char* fileName)
{
    // version.dll is no KnownDLL: imported, it would be looked for beside the program before
    // the program could restrict the search. It is loaded from the system folder instead.
    typedef DWORD(WINAPI * SizeFunction)(LPCSTR, LPDWORD);
    typedef BOOL(WINAPI * InfoFunction)(LPCSTR, DWORD, DWORD, LPVOID);
    typedef BOOL(WINAPI * QueryFunction)(LPCVOID, LPCSTR, LPVOID*, PUINT);
    const auto getFileVersionInfoSize =
        reinterpret_cast<SizeFunction>(reinterpret_cast<void*>(systemFunction("version.dll", "GetFileVersionInfoSizeA")));
    const auto getFileVersionInfo =
        reinterpret_cast<InfoFunction>(reinterpret_cast<void*>(systemFunction("version.dll", "GetFileVersionInfoA")));
    const auto verQueryValue =
        reinterpret_cast<QueryFunction>(reinterpret_cast<void*>(systemFunction("version.dll", "VerQueryValueA")));
    if (!getFileVersionInfoSize || !getFileVersionInfo || !verQueryValue)
        return String();
    DWORD handle = 0;
    const DWORD size = getFileVersionInfoSize(fileName, &handle);
    if (size == 0)
        return String();
    char* data = new char[size];
    String version;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoLength = 0;
    if (getFileVersionInfo(fileName, 0, size, data)
        && verQueryValue(data, "\\", reinterpret_cast<void**>(&info), &infoLength) && info) {
        version = String::valueOf(static_cast<unsigned>(HIWORD(info->dwFileVersionMS))) + "." +
                  String::valueOf(static_cast<unsigned>(LOWORD(info->dwFileVersionMS))) + "." +
                  String::valueOf(static_cast<unsigned>(HIWORD(info->dwFileVersionLS))) + "." +
                  String::valueOf(static_cast<unsigned>(LOWORD(info->dwFileVersionLS)));
    }
    delete[] data;
    return version;
}
