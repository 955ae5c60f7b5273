// FileDialog: GetOpenFileNameA / GetSaveFileNameA with an explorer-style hook.
#include "framework/FileDialog.h"

#include "foundation/SystemLibrary.h"
#include "foundation/WindowsVersion.h"
#include "framework/WindowFailure.h"

#include <commdlg.h>

FileDialog::FileDialog(bool open, const char* defaultExtension, const char* fileName, DWORD flags,
                       const char* filter, HWND owner)
    : open_(open), defaultExtension_(defaultExtension), filter_(String(filter).replace('|', '\0')), flags_(flags),
      owner_(owner)
{
    lstrcpynA(file_, fileName ? fileName : "", sizeof file_);
}

DWORD FileDialog::structSize()
{
    return isWindows2000OrLater() ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
}

int FileDialog::doModal()
{
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = structSize();
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filter_.isEmpty() ? nullptr : filter_.c_str();
    ofn.lpstrFile = file_;
    ofn.nMaxFile = sizeof file_;
    ofn.lpstrTitle = title_.isEmpty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExtension_.isEmpty() ? nullptr : defaultExtension_.c_str();
    ofn.Flags = flags_ | OFN_EXPLORER | OFN_ENABLEHOOK;
    ofn.lpfnHook = hookProc;
    ofn.lCustData = reinterpret_cast<LPARAM>(this);
    // Loaded when first needed, not imported: whatever the common dialogs load in turn (the
    // common controls, version.dll) then comes from the restricted search, never from the
    // program's own folder.
    typedef BOOL(WINAPI * DialogFunction)(LPOPENFILENAMEA);
    const auto show = reinterpret_cast<DialogFunction>(reinterpret_cast<void*>(
        systemFunction("comdlg32.dll", open_ ? "GetOpenFileNameA" : "GetSaveFileNameA")));
    if (!show)
        return IDCANCEL;
    const BOOL chosen = show(&ofn);
    rethrowWindowFailure();
    return chosen ? IDOK : IDCANCEL;
}

void FileDialog::onInitDone(HWND) {}

UINT_PTR CALLBACK FileDialog::hookProc(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* ofn = reinterpret_cast<OPENFILENAMEA*>(lParam);
        SetWindowLongPtrA(hook, DWLP_USER, ofn->lCustData);
        return 0;
    }
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == CDN_INITDONE) {
        auto* dialog = reinterpret_cast<FileDialog*>(GetWindowLongPtrA(hook, DWLP_USER));
        try {
            if (dialog)
                dialog->onInitDone(GetParent(hook));
        } catch (...) {
            keepWindowFailure();
        }
    }
    return 0;
}
