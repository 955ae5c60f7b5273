// Log: one shared handle, the time stamp, a write at the end of the file per line.
#include "foundation/Log.h"

#include "foundation/LastErrorKept.h"

#include <windows.h>

namespace {

HANDLE file = INVALID_HANDLE_VALUE;

// number with leading zeros to width digits.
String padded(unsigned number, int width)
{
    String text = String::valueOf(number);
    while (text.length() < width)
        text = String("0") + text;
    return text;
}

String timeStamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return padded(now.wYear, 4) + "-" + padded(now.wMonth, 2) + "-" + padded(now.wDay, 2) + " " +
           padded(now.wHour, 2) + ":" + padded(now.wMinute, 2) + ":" + padded(now.wSecond, 2) + " ";
}

} // namespace

bool Log::open(const char* path)
{
    close();
    file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE;
}

bool Log::isOpen()
{
    return file != INVALID_HANDLE_VALUE;
}

void Log::write(const String& text)
{
    if (!isOpen())
        return;
    // Writing the log must never change what the program reports.
    LastErrorKept kept;
    const String line = timeStamp() + text + "\r\n";
    // The relaunched uninstaller appends to the same file while this process waits.
    SetFilePointer(file, 0, nullptr, FILE_END);
    DWORD written;
    WriteFile(file, line.c_str(), static_cast<DWORD>(line.length()), &written, nullptr);
}

void Log::close()
{
    if (isOpen()) {
        CloseHandle(file);
        file = INVALID_HANDLE_VALUE;
    }
}
