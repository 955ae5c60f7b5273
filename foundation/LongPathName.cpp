// The long forms of names: GetLongPathNameA (looked up at run time: Windows 95 lacks it),
// else component by component.
#include "foundation/LongPathName.h"

#include "foundation/FindHandle.h"
#include "foundation/String.h"
#include "foundation/SystemLibrary.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

int longPathNameByComponents(const char* shortPath, char* buffer, int size)
{
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
        const FindHandle find(probe.c_str());
        if (!first)
            output += "\\";
        // A drive such as "C:" finds its current directory, whose name differs: kept.
        const char* found = find.entry().cFileName;
        if (find.found() && (_stricmp(found, component.c_str()) == 0 || component.indexOf('~') >= 0))
            output += found;
        else
            output += component;
        first = false;
        if (end >= path.length())
            break;
        begin = end + 1;
    }
    const int length = output.length();
    if (length >= size) {
        if (size > 0)
            buffer[0] = '\0';
        return length + 1;
    }
    std::memcpy(buffer, output.c_str(), length);
    buffer[length] = '\0';
    return length;
}

int getLongPathName(const char* shortPath, char* buffer, int size)
{
    using GetLongPathNameFunction = DWORD(WINAPI*)(const char*, char*, DWORD);
    const auto system = reinterpret_cast<GetLongPathNameFunction>(
        reinterpret_cast<void*>(systemFunction("kernel32.dll", "GetLongPathNameA")));
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
