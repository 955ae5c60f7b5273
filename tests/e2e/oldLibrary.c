/* A system library of an old version (the version resource of oldLibrary.rc), put in the
   system folder by the Windows 98 scenarios: the install's system-library check warns about
   it with the error icon, and the install goes on. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
