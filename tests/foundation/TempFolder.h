// TempFolder: a fresh folder in the temporary folder for one test, removed afterwards.
#pragma once

#include "foundation/String.h"

#include <windows.h>

#include <cstdio>

class TempFolder {
public:
    // "<temp>\trelliq <name> <process id>\"; an old one of the same name is removed first.
    explicit TempFolder(const char* name)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        char text[MAX_PATH + 64];
        std::snprintf(text, sizeof text, "%strelliq %s %lu\\", temp, name, GetCurrentProcessId());
        path_ = text;
        erase(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() { erase(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder with a trailing backslash.
    const String& path() const { return path_; }
    String operator+(const char* name) const { return path_ + name; }

    // Writes text into the file at path (replacing it).
    static void write(const String& path, const char* text)
    {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file) {
            std::fputs(text, file);
            std::fclose(file);
        }
    }

private:
    // Removes a tree with plain Win32 calls, independent of the code under test; a link
    // to a directory is removed itself, never entered.
    static void erase(const String& path)
    {
        String directory = path;
        if (directory.charAt(directory.length() - 1) == '\\')
            directory = directory.substring(0, directory.length() - 1);
        const DWORD attributes = GetFileAttributesA(directory.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return;
        SetFileAttributesA(directory.c_str(), FILE_ATTRIBUTE_NORMAL | (attributes & FILE_ATTRIBUTE_DIRECTORY));
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            DeleteFileA(directory.c_str());
            return;
        }
        if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            WIN32_FIND_DATAA found;
            HANDLE find = FindFirstFileA((directory + "\\*").c_str(), &found);
            if (find != INVALID_HANDLE_VALUE) {
                do {
                    if (String(found.cFileName).compareTo(".") != 0 && String(found.cFileName).compareTo("..") != 0)
                        erase(directory + "\\" + found.cFileName);
                } while (FindNextFileA(find, &found));
                FindClose(find);
            }
        }
        RemoveDirectoryA(directory.c_str());
    }

    String path_;
};
