// Shell: shortcuts through the shell link object, special folders, the folder picker.
#include "host/Shell.h"

#include "foundation/MessageBox.h"

#include <shlobj.h>

namespace {

bool oleInitialized = false;

// The program-wide clean-up of the OLE state, run when the program ends.
struct OleRelease {
    ~OleRelease() { releaseOle(); }
} oleRelease;

// Path of an item list, freed afterwards with the shell's allocator.
bool takePath(LPITEMIDLIST items, String& path)
{
    // SHGetPathFromIDListA writes up to MAX_PATH bytes.
    char buffer[MAX_PATH];
    const bool found = SHGetPathFromIDListA(items, buffer);
    if (found)
        path = buffer;
    IMalloc* allocator;
    if (SUCCEEDED(SHGetMalloc(&allocator))) {
        allocator->Free(items);
        allocator->Release();
    }
    return found;
}

bool failWith(HRESULT result)
{
    SetLastError(static_cast<DWORD>(result));
    return false;
}

} // namespace

HRESULT initializeOle()
{
    if (oleInitialized)
        return S_OK;
    const HRESULT result = OleInitialize(nullptr);
    if (SUCCEEDED(result))
        oleInitialized = true;
    return result;
}

bool createShortcut(const String& target, const String& linkFile, const String& description)
{
    const HRESULT initialized = initializeOle();
    if (FAILED(initialized))
        return failWith(initialized);
    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result))
        result = link->SetPath(target.replace('/', '\\').c_str());
    if (SUCCEEDED(result))
        result = link->SetDescription(description.c_str());
    if (SUCCEEDED(result))
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
        WCHAR path[256];
        if (MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, path, 256) == 0)
            result = HRESULT_FROM_WIN32(GetLastError());
        else
            result = file->Save(path, TRUE);
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    return SUCCEEDED(result) || failWith(result);
}

void releaseOle()
{
    if (oleInitialized) {
        OleUninitialize();
        oleInitialized = false;
    }
}

bool getSpecialFolder(int csidl, String& folder, HWND owner)
{
    LPITEMIDLIST items;
    const HRESULT result = SHGetSpecialFolderLocation(owner, csidl, &items);
    if (FAILED(result))
        return failWith(result);
    return takePath(items, folder);
}

bool browseForFolder(HWND owner, String& folder, const char* title)
{
    OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version) && version.dwMajorVersion < 4) {
        messageBox("This action requires Windows NT 4.0 or later, or Windows 95 or later", MB_ICONERROR);
        return false;
    }
    char displayName[MAX_PATH];
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = title;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST items = SHBrowseForFolderA(&info);
    if (!items)
        return false;
    // A chosen item without a file-system path is no answer: folder stays as it was.
    return takePath(items, folder);
}
