// errorText: FormatMessageA with the system's message table.
#include "foundation/ErrorText.h"

#include "foundation/MessageBox.h"

#include <windows.h>


String errorText(int32_t code)
{
    if (code == 0)
        return String("Error 0: An error occurred.");

    // Insertion points such as %1 stay as written in the message.
    DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>("%1"), reinterpret_cast<DWORD_PTR>("%2"),
                           reinterpret_cast<DWORD_PTR>("%3")};
    char* message = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                      | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    const DWORD length = FormatMessageA(flags, nullptr, static_cast<DWORD>(code), 0x400,
                                        reinterpret_cast<char*>(&message), 0,
                                        reinterpret_cast<va_list*>(inserts));
    if (length == 0) {
        const DWORD formatError = GetLastError();
        return "Error " + String::valueOf(static_cast<int>(code)) + " (" +
               String::valueOf(static_cast<unsigned long>(formatError)) + ")";
    }
    const String prefix = code > 0 ? "Error " + String::valueOf(static_cast<unsigned>(code)) + ": "
                                   : "Error 0x" + String::toHexString(static_cast<long>(code)) + ": ";
    String text = (prefix + message).trim();
    LocalFree(message);
    return text;
}

String lastErrorMessage(const char* context)
{
    const DWORD code = GetLastError();
    String text;
    if (context)
        text = String(context) + ": ";
    text += errorText(static_cast<int32_t>(code));
    SetLastError(code);
    return text;
}

void showLastError(const char* context)
{
    const DWORD code = GetLastError();
    messageBox(lastErrorMessage(context).c_str(), MB_ICONERROR | MB_OK);
    SetLastError(code);
}
