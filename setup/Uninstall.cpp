// SetupApp::uninstall: program-menu entry, registry and files, one check mark each.
#include "setup/SetupApp.h"

#include "foundation/ErrorText.h"
#include "foundation/FindHandle.h"
#include "foundation/Log.h"
#include "foundation/ProductIdentity.h"
#include "foundation/MessageBox.h"
#include "foundation/ModulePath.h"
#include "host/DelayedMove.h"
#include "host/Environment.h"
#include "host/InstallMarks.h"
#include "setup/Journal.h"
#include "ui/UninstallResultDialog.h"

#include <direct.h>
#include <cerrno>
#include <windows.h>

bool SetupApp::uninstall()
{
    // No folder to be removed may be the current one.
    _chdir("/");
    bool ok = true;
    context_.destination = programFolder_;
    useBatchFileIn(context_.destination);

    UninstallResultDialog dialog;
    if (!context_.silent) {
        dialog.create();
        EnableWindow(dialog.item(IDOK), FALSE);
    }
    Log::write(String("product folder: ") + programFolder_);

    // An install that was killed here is taken back first: an install it replaced is then
    // whole again and is removed as usual; a first install leaves nothing to remove.
    if (Journal::isIn(programFolder_)) {
        const String notUndone = Journal::takeOver(programFolder_, programMenuFolder(context_.scope) + product::name + ".lnk");
        if (!notUndone.isEmpty()) {
            messageBox(("Setup could not undo all of the interrupted install's changes. Left as they are:\r\n"
                        + notUndone).c_str(), MB_ICONERROR);
            ok = false;
        }
        if (!programFolder_.isDirectory()) {
            dialog.showItem(IDC_CHECK_PROGRAM_MENU);
            dialog.showItem(IDC_CHECK_REGISTRY);
            dialog.showItem(IDC_CHECK_FILES);
            return showResult(dialog, ok);
        }
    }

    // The running copy goes at the next start of Windows; lacking the right to ask is no
    // failure. Its own module path: argument 0 may be relative, and the current folder is
    // the root by now.
    const String self = modulePath();
    if (!delayedMove(self.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) && GetLastError() != ERROR_ACCESS_DENIED) {
        ok = false;
        showLastError((String("Error on delayed remove of ") + self).c_str());
    }

    // Until the folder goes, a mark of ours stays in it (a journal without records, removed
    // last), so that an uninstall killed half-way is recognised and finished by the next.
    Journal mark;
    if (programFolder_.isDirectory()) {
        try {
            mark.begin(programFolder_, Array<String>());
        } catch (const Exception&) {
            // A folder that takes no new file: the uninstall goes on without the mark.
        }
    }

    try {
        const Path link = programMenuFolder(context_.scope) + product::name + ".lnk";
        link.remove();
        Log::write(String("removed: ") + link);
        dialog.showItem(IDC_CHECK_PROGRAM_MENU);
    } catch (...) {
        ok = false;
        // The file-system calls report through errno and the unwinding to here can leave
        // the last error at 0 (we saw "Error 0" for a missing link); errno names the cause.
        if (GetLastError() == 0 && errno == ENOENT)
            SetLastError(ERROR_FILE_NOT_FOUND);
        else if (GetLastError() == 0 && errno == EACCES)
            SetLastError(ERROR_ACCESS_DENIED);
        showLastError("Unable to remove program menu entry");
    }

    if (updateRegistryShown())
        dialog.showItem(IDC_CHECK_REGISTRY);
    else
        ok = false;

    // The main flow has refused any folder that is no install of the product.
    try {
        if (mark.started()) {
            const Path journal = Journal::fileIn(programFolder_);
            for (FindHandle search((programFolder_ + "*").c_str()); search.found(); search.next()) {
                const String name = search.entry().cFileName;
                const Path entry = programFolder_ + name;
                if (name.compareTo(".") != 0 && name.compareTo("..") != 0 && !entry.equals(journal))
                    entry.remove();
            }
            mark.discard();
        }
        programFolder_.remove();
        Log::write(String("removed: ") + programFolder_);
        dialog.showItem(IDC_CHECK_FILES);
    } catch (const Exception& failure) {
        ok = false;
        messageBox(failure.message().c_str(), MB_ICONSTOP);
    }

    return showResult(dialog, ok);
}

bool SetupApp::showResult(UninstallResultDialog& dialog, bool ok)
{
    Log::write(ok ? "Uninstall completed successfully." : "Uninstall did not complete successfully.");
    if (context_.silent)
        return ok;
    dialog.showItem(ok ? IDC_RESULT_SUCCESS : IDC_RESULT_FAILURE);
    EnableWindow(dialog.item(IDOK), TRUE);
    SetFocus(dialog.item(IDOK));
    dialog.runModalLoop();
    return ok;
}
