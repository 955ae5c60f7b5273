// SetupApp::uninstall: program-menu entry, registry and files, one check mark each.
#include "setup/SetupApp.h"

#include "foundation/ErrorText.h"
#include "foundation/FindHandle.h"
#include "foundation/Links.h"
#include "foundation/Log.h"
#include "foundation/ProductIdentity.h"
#include "foundation/MessageBox.h"
#include "foundation/ModulePath.h"
#include "host/DelayedMove.h"
#include "host/Environment.h"
#include "host/InstallMarks.h"
#include "setup/InstallRecord.h"
#include "setup/Journal.h"
#include "setup/TestPause.h"
#include "ui/UninstallResultDialog.h"

#include <direct.h>
#include <cerrno>
#include <windows.h>

namespace {

bool isDots(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The uninstall's files step, when the folder goes with everything in it: every entry of
// folder (keepMark: all but the journal). Throws Path::Exception at the first entry that
// cannot be removed.
void removeEverything(const Path& folder, bool keepMark)
{
    // The record first and the uninstaller last: an uninstall killed on the way is then
    // finished the same way, started from the uninstaller that is still there.
    const Path record = installRecordIn(folder);
    if (GetFileAttributesA(record.c_str()) != INVALID_FILE_ATTRIBUTES)
        record.remove();
    const Path journal = Journal::fileIn(folder);
    const Path uninstaller = folder + product::uninstallerName;
    Array<Path> entries;
    for (FindHandle search((folder + "*").c_str()); search.found(); search.next()) {
        const Path entry = folder + search.entry().cFileName;
        if (!isDots(search.entry().cFileName) && !entry.equals(uninstaller) && !(keepMark && entry.equals(journal)))
            entries.add(entry);
    }
    entries.add(uninstaller);
    for (const Path& entry : entries) {
        testPause("removal");
        if (GetFileAttributesA(entry.c_str()) != INVALID_FILE_ATTRIBUTES) {
            entry.remove();
            Log::write(String("removed: ") + entry);
        }
    }
}

// The files step of a damaged install: only the files and folders that its record lists
// (written). Throws as removeEverything does.
void removeWritten(const Path& folder, const Array<String>& written)
{
    // Last made, first removed; the uninstaller and the record last, as removeEverything
    // keeps them. Nothing is removed through a link, and a folder that holds more than the
    // install wrote stays.
    Array<String> order;
    for (int i = written.size() - 1; i >= 0; --i) {
        if (!Path(written[i]).equals(Path(product::uninstallerName)))
            order.add(written[i]);
    }
    order.add(product::uninstallerName);
    order.add(product::installRecordName);
    for (const String& relative : order) {
        testPause("removal");
        const Path entry = folder + relative;
        const DWORD attributes = GetFileAttributesA(entry.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !firstLinkBelow(folder, relative).isEmpty())
            continue;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (RemoveDirectoryA(entry.c_str()))
                Log::write(String("removed: ") + entry);
            else
                Log::write(String("kept, as it holds what the install did not write: ") + entry);
            continue;
        }
        entry.remove();
        Log::write(String("removed: ") + entry);
    }
}

} // namespace

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
    // whole again and is removed as usual; a first install leaves nothing to remove. An
    // uninstall that was killed here left its mark, a journal without records: this run
    // finishes it, and what that one removed already is no failure.
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
        context_.resuming = true;
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
    // An intact install goes with everything in it. A damaged one (one of the product's
    // programs deleted or quarantined) is known by the record its install wrote, and only
    // what that lists goes: whatever else the folder holds was not provably ours.
    Array<String> written;
    const bool onlyWritten = readInstallRecord(programFolder_, written) && !holdsProductInstall(programFolder_);
    Log::write(onlyWritten ? "removing what the install's record lists" : "removing the folder with everything in it");

    try {
        const Path link = programMenuFolder(context_.scope) + product::name + ".lnk";
        link.remove();
        Log::write(String("removed: ") + link);
        dialog.showItem(IDC_CHECK_PROGRAM_MENU);
    } catch (...) {
        // The file-system calls report through errno and the unwinding to here can leave
        // the last error at 0 (we saw "Error 0" for a missing link); errno names the cause.
        if (GetLastError() == 0 && errno == ENOENT)
            SetLastError(ERROR_FILE_NOT_FOUND);
        else if (GetLastError() == 0 && errno == EACCES)
            SetLastError(ERROR_ACCESS_DENIED);
        // The interrupted uninstall that this one finishes may have removed it already.
        if (context_.resuming && GetLastError() == ERROR_FILE_NOT_FOUND) {
            dialog.showItem(IDC_CHECK_PROGRAM_MENU);
        } else {
            ok = false;
            showLastError("Unable to remove program menu entry");
        }
    }

    if (updateRegistryShown())
        dialog.showItem(IDC_CHECK_REGISTRY);
    else
        ok = false;

    // The main flow has refused any folder that is no install of the product.
    try {
        if (onlyWritten)
            removeWritten(programFolder_, written);
        else
            removeEverything(programFolder_, mark.started());
        if (mark.started())
            mark.discard();
        if (onlyWritten) {
            // What the user added stays, and with it the folder.
            if (!RemoveDirectoryA(programFolder_.c_str()))
                Log::write(String("kept, as it holds what the install did not write: ") + programFolder_);
        } else {
            programFolder_.remove();
            Log::write(String("removed: ") + programFolder_);
        }
        dialog.showItem(IDC_CHECK_FILES);
    } catch (const Exception& failure) {
        ok = false;
        messageBox(failure.message().c_str(), MB_ICONSTOP);
        // Run in place, the uninstaller's own file stays until the next start of Windows,
        // which then takes the mark and the folder after it.
        if (Path(self).directory().equals(programFolder_)) {
            if (mark.started())
                delayedMove(Journal::fileIn(programFolder_).c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
            // The folder by its name without the final separator, as the system's list of
            // deletions at start names a folder.
            const String folder = programFolder_.substring(0, programFolder_.length() - 1);
            delayedMove(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
        }
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
