// DevStudioVersion: one generation of Microsoft Developer Studio (4.x, 5.0 or 6.0) as the
// registry knows it.
#pragma once

#include "foundation/String.h"
#include "host/RegistryKey.h"

#include <windows.h>

#include <cstdint>

class UpdateRegistryView;

// Index 0 is Developer Studio 4.x, 1 is 5.0, 2 is Visual C++ 6.0. The descriptor owns two
// closed Tools keys (base key + "\Tools" under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER);
// building it makes no registry call.
class DevStudioVersion {
public:
    enum { Count = 3 };

    explicit DevStudioVersion(int index);
    DevStudioVersion(const DevStudioVersion&) = delete;
    DevStudioVersion& operator=(const DevStudioVersion&) = delete;

    int index() const { return index_; }
    // Below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, e.g. "Software\Microsoft\DevStudio\6.0".
    const String& baseKey() const { return baseKey_; }
    // The main-window title of a running Developer Studio, alone or after " - ".
    const char* productName() const;
    // Lower-case letters that the generation's own Tools-menu items use as accelerators.
    const char* reservedLetters() const;
    // The most custom tools its Tools menu holds.
    int toolLimit() const { return 16; }

    // True when the per-user base key opens for reading (this user has run it).
    bool isInstalled() const;
    // The key of the Win32 (x86) "Path Dirs" and "Library Dirs" lists.
    String directoriesKeyPath() const;
    // The per-user "WorkspaceDir"; on failure the folder is left unchanged.
    bool workspaceDir(String& folder) const;
    // The descriptor's Tools key for HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER; null for any
    // other root.
    RegistryKey* toolsKey(HKEY root);

    // How long prepareSettings waits for Developer Studio to end: a dialog in the minimised
    // program would otherwise hold setup for ever.
    static const DWORD settingsWaitLimit = 60 * 1000;

    // Install only: when the generation is installed but neither root holds "Path Dirs",
    // makes Developer Studio write its settings (5.0, 6.0: runs it minimised with
    // " -ex ApplicationExit" and waits, under the view's wait cursor, at most waitLimit
    // milliseconds; 4.x: asks the user to run it, until the lists exist or the user
    // cancels; without canAsk it asks nothing and goes on as after Cancel). A program still
    // running at the limit is left running and the user is told that setup goes on without
    // its settings. Reports nothing else; the last error is left as it was.
    void prepareSettings(UpdateRegistryView* view, bool canAsk = true, DWORD waitLimit = settingsWaitLimit) const;

    // The program prepareSettings runs: "Install Dirs" (per user, else machine) + "msdev.exe",
    // else the program of HKEY_CLASSES_ROOT "dswfile\DefaultIcon", else "msdev.exe".
    String programPath() const;

private:
    bool hasPathDirs() const;

    int index_;
    String baseKey_;
    RegistryKey machineTools_;
    RegistryKey userTools_;
};
