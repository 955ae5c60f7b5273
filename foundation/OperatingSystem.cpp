// OS queries over GetVersionExA, GetModuleFileNameA, the version API, LoadStringA and
// GetLongPathNameA (looked up at run time: Windows 95 lacks it).
#include "foundation/OperatingSystem.h"

#include "foundation/Win.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool isWindowsNT()
{
    OSVERSIONINFOA version;
    std::memset(&version, 0, sizeof version);
    version.dwOSVersionInfoSize = 148;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

namespace {

// The program's path once read (constant-initialized: no start-up code, no guard).
String path;

} // namespace

String modulePath()
{
    if (path.isEmpty()) {
        char buffer[256];
        const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
        path = String(buffer, length < sizeof buffer ? static_cast<int>(length) : 0);
    }
    return path;
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

String loadString(uint32_t id)
{
    char buffer[1024];
    const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    if (length <= 0)
        throw Win::Exception(String("LoadString failure on ") + String::valueOf(static_cast<unsigned>(id)));
    return String(buffer, length);
}

int longPathNameByComponents(const char* shortPath, char* buffer, int size)
{
    // The callers' buffers hold 256 bytes; a smaller size is honoured as well.
    const int limit = size - 1 < 255 ? size - 1 : 255;
    if (limit < 0)
        return 0;
    const String path = String(shortPath).replace('/', '\\');
    String output;
    int begin = 0;
    bool first = true;
    for (;;) {
        int end = path.indexOf('\\', begin);
        if (end < 0)
            end = path.length();
        const String component = path.substring(begin, end);
        String probe = output;
        if (!first)
            probe += "\\";
        probe += component;
        WIN32_FIND_DATAA found;
        const HANDLE find = FindFirstFileA(probe.c_str(), &found);
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        if (!first)
            output += "\\";
        // A drive such as "C:" finds its current directory, whose name differs: kept.
        if (find != INVALID_HANDLE_VALUE
            && (_stricmp(found.cFileName, component.c_str()) == 0 || component.indexOf('~') >= 0))
            output += found.cFileName;
        else
            output += component;
        first = false;
        if (end >= path.length())
            break;
        begin = end + 1;
    }
    const int length = output.length() < limit ? output.length() : limit;
    std::memcpy(buffer, output.c_str(), length);
    buffer[length] = '\0';
    return length;
}

int getLongPathName(const char* shortPath, char* buffer, int size)
{
    using GetLongPathNameFunction = DWORD(WINAPI*)(const char*, char*, DWORD);
    static bool looked = false;
    static GetLongPathNameFunction system = nullptr;
    if (!looked) {
        looked = true;
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (kernel)
            system = reinterpret_cast<GetLongPathNameFunction>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameA")));
    }
    if (system)
        return static_cast<int>(system(shortPath, buffer, static_cast<DWORD>(size)));
    return longPathNameByComponents(shortPath, buffer, size);
}

void expandShortPathEntries(const char* name)
{
    const char* value = std::getenv(name);
    if (!value)
        return;
    const String list(value);
    String setting = String(name) + "=";
    int begin = 0;
    for (;;) {
        int end = list.indexOf(';', begin);
        if (end < 0)
            end = list.length();
        const String entry = list.substring(begin, end);
        char longName[256];
        // A result of the buffer's size or more is the size GetLongPathNameA would need.
        int length = 0;
        if (entry.indexOf('~') >= 0)
            length = getLongPathName(entry.c_str(), longName, sizeof longName);
        if (length > 0 && length < static_cast<int>(sizeof longName))
            setting += longName;
        else
            setting += entry;
        if (end >= list.length())
            break;
        setting += ";";
        begin = end + 1;
    }
    _putenv(setting.c_str());
}
