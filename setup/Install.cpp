// SetupApp::install: prerequisites, the wizard, extraction, the program-menu entry, the
// registry and the closing pages.
#include "setup/SetupApp.h"

#include "foundation/ErrorText.h"
#include "foundation/FolderAccess.h"
#include "foundation/LastErrorKept.h"
#include "foundation/Log.h"
#include "foundation/MachineChanges.h"
#include "foundation/MessageBox.h"
#include "foundation/ProductIdentity.h"
#include "host/BoundsChecker.h"
#include "host/Environment.h"
#include "host/InstallFolder.h"
#include "host/ProtectedFolders.h"
#include "host/Shell.h"
#include "host/SystemFileVersion.h"
#include "setup/InstallRecord.h"
#include "setup/Journal.h"
#include "setup/ProductExtraction.h"
#include "setup/SessionEndBlock.h"
#include "setup/SilentExtractionView.h"
#include "ui/CompilersPage.h"
#include "ui/CopyFilesView.h"
#include "ui/CoverageFilePage.h"
#include "ui/DestinationPage.h"
#include "ui/RichEditNoticePage.h"

#include <windows.h>
#include <shlobj.h>

namespace {

// The extraction's view that also keeps whether the extraction reported a failure it went
// on after (a file or folder it could not write): the install then ends as failed and is
// taken back.
class FailureKeepingView : public ExtractionView {
public:
    explicit FailureKeepingView(ExtractionView& shown) : shown_(shown) {}
    void setRange(int steps) override { shown_.setRange(steps); }
    void nextFile(const String& path) override { shown_.nextFile(path); }
    void skipStep() override { shown_.skipStep(); }
    bool pollCancel() override { return shown_.pollCancel(); }
    void showFailure(const String& text, unsigned icon) override
    {
        failed_ = true;
        shown_.showFailure(text, icon);
    }
    bool failed() const { return failed_; }

private:
    ExtractionView& shown_;
    bool failed_ = false;
};

// Creates every missing level of folder, outermost first, and lists those it made. For all
// users, the outermost level made outside Program Files gets Program Files' rights, which
// the levels below inherit: the product's bin goes on every user's PATH, so no user may put
// programs there, whatever the parent (a drive root lets every authenticated user modify
// what is made in it). For the user only, the outermost level made gets the rights of the
// user, the administrators and SYSTEM: the user must write it, and the bin on the user's
// PATH is nobody else's to change. Results are not looked at: a folder that cannot be made
// shows up as the extraction's errors.
void createFolderLevels(const Path& folder, InstallScope scope, Array<String>& made)
{
    const FolderAccess access =
        scope == InstallScope::user ? FolderAccess::ownerAndAdministrators : FolderAccess::likeProgramFiles;
    bool restrictNext = scope == InstallScope::user || !insideProgramFiles(folder);
    const auto create = [&restrictNext, &made, access](const String& level) {
        if (GetFileAttributesA(level.c_str()) != INVALID_FILE_ATTRIBUTES)
            return;
        if (restrictNext && createFolderWithAccess(level, access)) {
            restrictNext = false;
            made.add(level);
            return;
        }
        if (CreateDirectoryA(level.c_str(), nullptr))
            made.add(level);
    };
    for (int i = 1; i < folder.length(); ++i) {
        // A drive's root ("C:\\") is never made.
        if (Path::fold(folder.charAt(i)) == '/' && folder.charAt(i - 1) != ':')
            create(folder.substring(0, i));
    }
    create(folder);
}

// The journal of the run is rolled back when the install ends before finishing it, however
// it ends (an exception included); what could not be undone goes to the application.
class UndoUnlessFinished {
public:
    UndoUnlessFinished(Journal& journal, bool& rolledBack, String& notUndone)
        : journal_(journal), rolledBack_(rolledBack), notUndone_(notUndone)
    {
    }
    ~UndoUnlessFinished() { now(); }
    UndoUnlessFinished(const UndoUnlessFinished&) = delete;
    UndoUnlessFinished& operator=(const UndoUnlessFinished&) = delete;

    // Rolls back a journal that was started and not finished; the last error stays.
    void now()
    {
        if (!journal_.started())
            return;
        const LastErrorKept kept;
        notUndone_.append(journal_.rollBack());
        rolledBack_ = true;
    }

private:
    Journal& journal_;
    bool& rolledBack_;
    String& notUndone_;
};

} // namespace

String SetupApp::undoReport() const
{
    if (notUndone_.isEmpty())
        return "Setup has undone its changes: nothing has been changed.";
    return "Setup could not undo all of its changes. Left as they are:\r\n" + notUndone_;
}

bool SetupApp::install()
{
    for (const SystemFileRequirement& requirement : systemFileRequirements)
        checkSystemFileVersion(requirement.file, requirement.minimum, requirement.advice);
    if (!checkOverwrittenCompiler()) {
        cancelled_ = true;
        return false;
    }

    // Every change from the install folder on is journaled; an install that ends before the
    // journal is finished is rolled back. The recording ends before the rollback.
    Journal journal;
    UndoUnlessFinished undo(journal, rolledBack_, notUndone_);
    MachineChanges::Recording recording(&journal);

    // The pages live for the whole wizard, so their answers survive Back and Next.
    CompilersPage compilersPage;
    CoverageFilePage coverageFilePage(coverageFile_);
    DestinationPage destinationPage(context_.scope);
    if (options_.hasTarget)
        destinationPage.setDestination(options_.target);
    int index = 0;
    for (;;) {
        if (index <= 0) {
            index = 0;
            if (!destinationPage.step(index, context_)) {
                cancelled_ = true;
                return false;
            }
            // The page refuses such a folder itself; an unattended run meets it here.
            const String refusal = installFolderRefusal(destinationPage.destination());
            if (!refusal.isEmpty()) {
                messageBox(refusal.c_str(), MB_ICONSTOP);
                return false;
            }
            // Back to this page: what was made for the folder chosen before goes.
            undo.now();
            context_.destination = Path(destinationPage.destination()).addTrailingSeparator();
            useBatchFileIn(context_.destination);
            // A run that was killed while installing here is taken back first.
            if (Journal::isIn(context_.destination)) {
                notUndone_.append(Journal::takeOver(context_.destination,
                                                    programMenuFolder(context_.scope) + product::name + ".lnk"));
                if (!notUndone_.isEmpty()) {
                    messageBox(undoReport().c_str(), MB_ICONERROR);
                    return false;
                }
            }
            // Every level, not just the last: a destination whose parent does not exist
            // yet is an ordinary choice.
            Array<String> made;
            createFolderLevels(context_.destination, context_.scope, made);
            journal.begin(context_.destination, made);
        }
        if (index == 1) {
            if (!coverageFilePage.step(index, context_)) {
                cancelled_ = true;
                return false;
            }
            coverageFile_ = coverageFilePage.coverageFile();
        }
        if (index == 2 && !compilersPage.step(index, context_)) {
            cancelled_ = true;
            return false;
        }
        if (index >= 3)
            break;
    }
    Log::write(String("destination: ") + context_.destination);
    Log::write(String("coverage file: ") + coverageFile_);

    {
        const bool compilers[5] = {compilersPage.borland(), compilersPage.gnu(), compilersPage.microsoft(),
                                   compilersPage.microtec(), compilersPage.tasking()};
        // The dialog outlives the extraction and shows from its start to its end; a silent
        // run has none.
        CopyFilesDialog dialog;
        CopyFilesView shown(dialog);
        const SessionEndBlock blocked(context_);
        SilentExtractionView unseen;
        FailureKeepingView view(context_.silent ? static_cast<ExtractionView&>(unseen) : shown);
        ProductExtraction extraction(programFolder_, context_.destination, compilers, view);
        if (!context_.silent)
            dialog.create();
        if (!extraction.run()) {
            // The extraction reports its other failures as they happen; a damaged or cut
            // payload ends it silently, and the user must not be left wondering. A cancel
            // ends the install as a cancelled page does; the session's end as a failure.
            if (GetLastError() == ERROR_CANCELLED) {
                cancelled_ = true;
            } else if (GetLastError() == ERROR_SHUTDOWN_IN_PROGRESS) {
                Log::write("The session is ending: the extraction stopped.");
            } else if (GetLastError() == ERROR_FILE_CORRUPT) {
                undo.now();
                SetLastError(ERROR_FILE_CORRUPT);
                const String text = lastErrorMessage("The product data inside the setup program is damaged");
                messageBox((text + "\r\n\r\n" + undoReport()).c_str(), MB_ICONERROR);
                undoReported_ = true;
            }
            return false;
        }
        if (view.failed()) {
            // A file or folder that could not be written: the product cannot be whole, so
            // the install is taken back rather than finished without it.
            undo.now();
            messageBox(undoReport().c_str(), MB_ICONERROR);
            undoReported_ = true;
            return false;
        }
    }

    const Path base = programMenuFolder(context_.scope) + product::name;
    try {
        MachineChanges::remove(base);
    } catch (const Exception&) {
        // Nothing of that name, or a leftover that will not go: the shortcut decides.
    }
    MachineChanges::replacingFile(base + ".lnk");
    if (!createShortcut(context_.destination + product::browserProgram, base + ".lnk", product::name)) {
        showLastError("Unable to create program menu entry");
        return false;
    }
    Log::write(String("shortcut: ") + base + ".lnk -> " + context_.destination + product::browserProgram);

    if (!updateRegistryShown())
        return false;
    // What the run wrote into the folder, by which the uninstaller knows the install as its
    // own even when one of the product's programs has gone.
    writeInstallRecord(journal);
    // Everything is in place: from here on a crash leaves the product whole.
    journal.finish();

    char system[256] = "";
    GetSystemDirectoryA(system, sizeof system);
    if (!(Path(system) + "/riched20.dll").isFile())
        RichEditNoticePage().run(context_);
    WizardPage(IDD_SETUP_COMPLETE, nullptr).run(context_);
    return true;
}
