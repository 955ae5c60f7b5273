// FileDialog: the system's open-file (or save-file) dialog.
#pragma once

#include "foundation/String.h"

#include <windows.h>

class FileDialog {
public:
    // filter: pairs of description and pattern separated by '|', ending in "||".
    // defaultExtension: appended to a name typed without one (the system uses 3 characters).
    FileDialog(bool open, const char* defaultExtension, const char* fileName, DWORD flags, const char* filter,
               HWND owner);
    virtual ~FileDialog() = default;
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    void setTitle(const char* title) { title_ = title; }
    // IDOK when the user chose a file, else IDCANCEL.
    int doModal();
    // The full path chosen.
    String pathName() const { return String(file_); }
    // The structure size the system's dialog takes: the whole structure from Windows 2000
    // on, the Windows 95/NT 4.0 layout before (whose comdlg32 refuses any other size).
    static DWORD structSize();

protected:
    // Called once the system dialog is built; dialog is the system dialog's own window.
    virtual void onInitDone(HWND dialog);

private:
    static UINT_PTR CALLBACK hookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);

    bool open_;
    String defaultExtension_;
    String filter_;
    String title_;
    DWORD flags_;
    HWND owner_;
    char file_[MAX_PATH];
};
