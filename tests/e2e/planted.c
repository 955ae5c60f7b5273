/* A DLL planted beside setup.exe by the security scenarios: loaded, it appends its own path
   to C:\planted.txt. It exports what setup.exe could import from version.dll, so that a
   program importing it would load this copy and start. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH) {
        char line[MAX_PATH + 2];
        DWORD length = GetModuleFileNameA(instance, line, MAX_PATH);
        HANDLE file = CreateFileA("C:\\planted.txt", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written;
            line[length++] = '\r';
            line[length++] = '\n';
            WriteFile(file, line, length, &written, NULL);
            CloseHandle(file);
        }
    }
    return TRUE;
}

__declspec(dllexport) DWORD WINAPI GetFileVersionInfoSizeA(LPCSTR name, LPDWORD handle)
{
    (void)name;
    (void)handle;
    return 0;
}

__declspec(dllexport) BOOL WINAPI GetFileVersionInfoA(LPCSTR name, DWORD handle, DWORD size, LPVOID data)
{
    (void)name;
    (void)handle;
    (void)size;
    (void)data;
    return FALSE;
}

__declspec(dllexport) BOOL WINAPI VerQueryValueA(LPCVOID block, LPCSTR name, LPVOID* data, PUINT size)
{
    (void)block;
    (void)name;
    (void)data;
    (void)size;
    return FALSE;
}
