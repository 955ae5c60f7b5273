// The entry point of setup.exe.
#include "foundation/ArgumentList.h"
#include "resources/resource.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    char title[64] = "Trelliq Setup";
    char version[16] = "";
    LoadStringA(instance, IDS_APPLICATION_TITLE, title, sizeof title);
    LoadStringA(instance, IDS_VERSION, version, sizeof version);

    ArgumentList arguments(GetCommandLineA());
    bool unattended = false;
    for (int i = 1; i < arguments.size(); ++i)
        unattended = unattended || arguments.argument(i).compareTo("-a") == 0;
    if (!unattended) {
        String text = String(title) + " " + version;
        MessageBoxA(nullptr, text.c_str(), title, MB_OK | MB_ICONINFORMATION);
    }
    return 0;
}
