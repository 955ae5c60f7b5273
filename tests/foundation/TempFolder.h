// Helpers of the foundation tests: a fresh temporary folder, file contents, the helper
// program and the message of a thrown exception.
#pragma once

#include "foundation/Exception.h"
#include "foundation/ModulePath.h"
#include "foundation/String.h"

#include <windows.h>

#include <cstdio>
#include <string>

// "<temp>\trelliq <name> <process id>\", made fresh and removed afterwards.
class TempFolder {
public:
    explicit TempFolder(const char* name)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        char text[MAX_PATH + 64];
        std::snprintf(text, sizeof text, "%strelliq %s %lu\\", temp, name, GetCurrentProcessId());
        path_ = text;
        erase(path_.substring(0, path_.length() - 1));
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() { erase(path_.substring(0, path_.length() - 1)); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const String& path() const { return path_; }
    String operator+(const char* name) const { return path_ + name; }

private:
    // Plain Win32 calls, independent of the code under test; links are not entered.
    static void erase(const String& path)
    {
        const DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return;
        SetFileAttributesA(path.c_str(), attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileA(path.c_str());
            return;
        }
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA((path + "\\*").c_str(), &found);
        while (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && find != INVALID_HANDLE_VALUE) {
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
                erase(path + "\\" + found.cFileName);
            if (!FindNextFileA(find, &found))
                break;
        }
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        RemoveDirectoryA(path.c_str());
    }

    String path_;
};

inline bool exists(const String& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline void writeFile(const String& path, const char* text)
{
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fputs(text, file);
        std::fclose(file);
    }
}

// The bytes of the file, empty when it cannot be read.
inline std::string readFile(const String& path)
{
    std::string bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        int c;
        while ((c = std::fgetc(file)) != EOF)
            bytes += static_cast<char>(c);
        std::fclose(file);
    }
    return bytes;
}

// The quoted path of probe.exe, which is built next to the test program.
inline String probeProgram()
{
    const String self = modulePath();
    return String("\"") + self.substring(0, self.lastIndexOf('\\') + 1) + "probe.exe\"";
}

// The message of the Exception that f throws, or "(nothing thrown)".
template <typename F> std::string failureOf(F f)
{
    try {
        f();
    } catch (const Exception& e) {
        return e.message().c_str();
    }
    return "(nothing thrown)";
}
