/* hellowin.c - a Windows sample. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR line, int show)
{
    MessageBoxA(NULL, "Hello from a covered Windows program.", "Trelliq sample", MB_OK);
    return 0;
}
