// restrictLibrarySearch, loadSystemLibrary: SetDefaultDllDirectories, the preloads, and
// loads by full path.
#include "foundation/SystemLibrary.h"

#include <cstring>

namespace {

// Libraries that Windows loads by bare name from inside its own DLLs, after the program
// has started: a planted copy beside setup.exe would otherwise win on every system that
// lacks SetDefaultDllDirectories. The names other installers (NSIS, Inno Setup) preload
// for the same reason.
const char* const preloads[] = {
    "uxtheme.dll",   // the first window (visual styles)
    "dwmapi.dll",    // uxtheme, on Windows 7 and later
    "userenv.dll",   // the shell's special-folder calls
    "setupapi.dll",  // SHGetFileInfo and the shell link on XP
    "apphelp.dll",   // the shell's compatibility checks
    "propsys.dll",   // the shell link on Vista and later
    "cryptbase.dll", // the shell's folder calls on Vista and later
    "oleacc.dll",    // the common controls' accessibility
    "clbcatq.dll",   // COM's class lookup behind CoCreateInstance
    "ntmarta.dll",   // the security calls on files and keys
    "profapi.dll",   // userenv on Windows 8 and later
    "version.dll",   // our own file-version check, and the shell's
    "msimg32.dll",   // the theme library's drawing
    "winmm.dll",     // the message boxes' sounds
};

bool searchRestricted = false;

// The functions a test program has hidden (hideSystemFunctions).
const char* const* hidden = nullptr;

bool isHidden(const char* function)
{
    for (const char* const* name = hidden; name && *name; ++name) {
        if (std::strcmp(*name, function) == 0)
            return true;
    }
    return false;
}

} // namespace

HMODULE loadSystemLibrary(const char* name)
{
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + std::strlen(name) >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    path[length] = '\\';
    std::strcpy(path + length + 1, name);
    return LoadLibraryA(path);
}

FARPROC systemFunction(const char* library, const char* function)
{
    if (isHidden(function))
        return nullptr;
    // The module handle is kept: the library stays loaded for the process's life.
    const HMODULE module = loadSystemLibrary(library);
    return module ? GetProcAddress(module, function) : nullptr;
}

void hideSystemFunctions(const char* const* names)
{
    hidden = names;
}

bool restrictLibrarySearch()
{
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    typedef BOOL(WINAPI * SetDllDirectoryFunction)(LPCSTR);
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(systemFunction("kernel32.dll", "SetDefaultDllDirectories")));
    // LOAD_LIBRARY_SEARCH_SYSTEM32, spelled out for headers that predate it.
    searchRestricted = setDefault && setDefault(0x00000800);
    if (!searchRestricted) {
        const auto setDirectory = reinterpret_cast<SetDllDirectoryFunction>(
            reinterpret_cast<void*>(systemFunction("kernel32.dll", "SetDllDirectoryA")));
        if (setDirectory)
            setDirectory("");
    }
    // Missing libraries (Windows 95 has most of them not) are simply not loaded.
    const UINT mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    for (const char* name : preloads)
        loadSystemLibrary(name);
    SetErrorMode(mode);
    return searchRestricted;
}

bool initCommonControls()
{
    // The manifest asks for the common controls 6.0 from the side-by-side store; a load by
    // bare name is redirected there (Windows XP and later), and with the search restricted
    // it cannot reach the program's folder either. Without both, only the full path is safe.
    ACTCTX_SECTION_KEYED_DATA redirection;
    std::memset(&redirection, 0, sizeof redirection);
    // Windows XP knows only the first layout (without the assembly metadata that Vista
    // added); every later Windows takes it too, and nothing after it is read here.
    redirection.cbSize = sizeof(ACTCTX_SECTION_KEYED_DATA_2600);
    typedef BOOL(WINAPI * FindSectionFunction)(DWORD, const GUID*, ULONG, LPCSTR, PACTCTX_SECTION_KEYED_DATA);
    const auto findSection = reinterpret_cast<FindSectionFunction>(
        reinterpret_cast<void*>(systemFunction("kernel32.dll", "FindActCtxSectionStringA")));
    const bool redirected = findSection && findSection(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                                       "comctl32.dll", &redirection);
    const HMODULE library = searchRestricted || redirected ? LoadLibraryA("comctl32.dll")
                                                           : loadSystemLibrary("comctl32.dll");
    typedef void(WINAPI * InitFunction)();
    const auto init = reinterpret_cast<InitFunction>(
        reinterpret_cast<void*>(library ? GetProcAddress(library, "InitCommonControls") : nullptr));
    if (!init)
        return false;
    init();
    return true;
}
