// updateRegistry: the product's own entries and the calls into the other settings steps,
// in a fixed order.
#include "host/ProductRegistry.h"

#include "foundation/ErrorText.h"
#include "foundation/FindHandle.h"
#include "foundation/LastErrorKept.h"
#include "foundation/ProductIdentity.h"
#include "foundation/WindowsVersion.h"
#include "host/BoundsChecker.h"
#include "host/DevStudio.h"
#include "host/DevStudioVersion.h"
#include "host/Environment.h"
#include "host/InstallScope.h"
#include "host/RegistryKey.h"
#include "host/RegistryUpdate.h"
#include "host/UpdateRegistryView.h"

namespace {

String companyKey()
{
    return String("Software\\") + product::company;
}

const char* const fileType = "Coverage.File";

String browserPath(const RegistryUpdate& update)
{
    return update.destination() + product::browserProgram;
}

// A command line's program path is quoted: unquoted, "C:\Program Files\..." would start
// C:\Program.exe when such a file exists.
String quoted(const String& path)
{
    return String("\"") + path + "\"";
}

// The uninstaller's command line: the user scope's uninstaller is told its scope.
String uninstallCommand(const RegistryUpdate& update)
{
    return quoted(update.destination() + product::uninstallerName) + (update.userScope() ? " -u" : "");
}

// The bytes of the files below folder (ending with a separator), its subfolders included;
// links and junctions are not followed.
unsigned long long treeSize(const String& folder, bool top = true)
{
    unsigned long long size = 0;
    for (FindHandle search((folder + "*").c_str()); search.found(); search.next()) {
        const WIN32_FIND_DATAA& entry = search.entry();
        // The run's journal and what it keeps aside are gone when the install is done.
        if (top && (Path(entry.cFileName).equals(Path(product::journalName))
                    || Path(entry.cFileName).equals(Path(product::keptFolderName))))
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const bool dots = entry.cFileName[0] == '.' &&
                              (entry.cFileName[1] == '\0' || (entry.cFileName[1] == '.' && entry.cFileName[2] == '\0'));
            if (!dots && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                size += treeSize(folder + entry.cFileName + "\\", false);
        } else {
            size += (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        }
    }
    return size;
}

// What "Apps & Features" shows beside the name, and the silent uninstall that software
// distribution runs; failures here do not fail the step.
void writeEntryDetails(const RegistryUpdate& update, RegistryKey& entry, const String& version)
{
    LastErrorKept kept;
    entry.setString("DisplayVersion", version);
    entry.setString("Publisher", product::company);
    entry.setString("DisplayIcon", browserPath(update));
    entry.setString("InstallLocation", update.destination());
    entry.setString("QuietUninstallString", uninstallCommand(update) + " -s");
    // In KB, as Windows reads it; the installed files, whatever the product holds.
    const unsigned long long bytes = treeSize(update.destination());
    entry.setNumber("EstimatedSize", static_cast<uint32_t>((bytes + 1023) / 1024));
    entry.setNumber("NoModify", 1);
    entry.setNumber("NoRepair", 1);
}

} // namespace

bool setStringShown(RegistryUpdate& update, RegistryKey& key, const char* valueName, const String& text)
{
    update.show(key.fullName() + (valueName ? valueName : ""));
    return key.setString(valueName, text);
}

bool deleteTreeShown(RegistryUpdate& update, RegistryKey& key)
{
    update.show(key.fullName());
    if (key.deleteTree())
        return true;
    // An interrupted uninstall may have taken the key already.
    return update.resuming() && !key.open(RegistryKey::Read) && key.status() == ERROR_FILE_NOT_FOUND;
}

bool machineChangesAllowed()
{
    if (!isWindowsNT())
        return true;
    const String keys[] = {"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                           "System\\CurrentControlSet\\Control\\Session Manager\\Environment"};
    for (const String& name : keys) {
        RegistryKey key(HKEY_LOCAL_MACHINE, name);
        if (!key.open(RegistryKey::Write) && key.status() == ERROR_ACCESS_DENIED) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
    }
    return true;
}

bool updateFileAssociation(RegistryUpdate& update)
{
    const InstallScope scope = update.userScope() ? InstallScope::user : InstallScope::machine;
    const HKEY root = classesRoot(scope);
    RegistryKey extension(root, classesKey(".trq"));
    RegistryKey type(root, classesKey(fileType));
    bool ok;
    if (update.installing()) {
        ok = setStringShown(update, extension, nullptr, fileType);
        if (ok) {
            const String program = browserPath(update);
            RegistryKey icon(root, classesKey(fileType) + "\\DefaultIcon");
            RegistryKey command(root, classesKey(fileType) + "\\shell\\open\\command");
            // The icon is a path and an index, not a command line: it stays unquoted.
            ok = setStringShown(update, icon, nullptr, program + ",1") &&
                 setStringShown(update, command, nullptr, quoted(program) + " \"%1\"");
        }
    } else {
        ok = deleteTreeShown(update, extension) && deleteTreeShown(update, type);
    }
    LastErrorKept kept;
    RegistryKey earlierType(root, classesKey("Trelliq.File"));
    earlierType.deleteTree();
    return ok;
}

bool updateRegistry(RegistryUpdate& update, const String& coverageFile)
{
    const bool install = update.installing();
    const String& destination = update.destination();
    const String version = product::version;
    UpdateRegistryView* view = update.view();
    if (install && view)
        view->show();

    RegistryKey machineEntry(HKEY_LOCAL_MACHINE, uninstallEntryKey());
    RegistryKey userEntry(HKEY_CURRENT_USER, uninstallEntryKey());
    RegistryKey productKey(HKEY_CURRENT_USER, companyKey() + "\\" + product::name);
    bool ok;
    const bool user = update.userScope();
    if (install) {
        const String name = String(product::name) + " " + version;
        const String uninstaller = uninstallCommand(update);
        // The user scope writes the user's entry only; the machine scope the machine's,
        // else the user's.
        RegistryKey* entry = user ? &userEntry : &machineEntry;
        ok = setStringShown(update, *entry, "DisplayName", name) &&
             setStringShown(update, *entry, "UninstallString", uninstaller);
        if (!ok && !user) {
            entry = &userEntry;
            ok = setStringShown(update, userEntry, "DisplayName", name) &&
                 setStringShown(update, userEntry, "UninstallString", uninstaller);
        }
        LastErrorKept kept;
        if (ok)
            writeEntryDetails(update, *entry, version);
        productKey.setString("version", version);
    } else {
        // The machine scope removes the machine's entry and the user's one that an install
        // without machine rights wrote for this folder; the user scope only the user's.
        // An entry for another folder is the other scope's install: it stays.
        const bool machineEntryGone = !user && deleteTreeShown(update, machineEntry);
        const EntryOwner userOwner = uninstallEntryOwner(HKEY_CURRENT_USER, destination);
        const bool userEntryGone = userOwner == EntryOwner::folder && deleteTreeShown(update, userEntry);
        ok = machineEntryGone || userEntryGone;
        if (userEntryGone) {
            // The user's uninstall list that the install had to make holds nothing now.
            LastErrorKept kept;
            RegistryKey list = userEntry.parent();
            if (list.isEmpty())
                list.deleteTree();
        }
        if (user && userOwner != EntryOwner::folder) {
            update.show(userEntry.fullName());
            SetLastError(ERROR_FILE_NOT_FOUND);
        }
        // The product key and the browser's settings are the user's own: they stay while the
        // install of the other scope does.
        const bool otherScopeInstalled =
            user ? uninstallEntryOwner(HKEY_LOCAL_MACHINE, destination) != EntryOwner::none
                 : userOwner == EntryOwner::other;
        if (!otherScopeInstalled) {
            RegistryKey company = productKey.parent();
            RegistryKey browserSettings(HKEY_CURRENT_USER, companyKey() + "\\Coverage Browser");
            {
                LastErrorKept kept;
                deleteTreeShown(update, productKey);
                deleteTreeShown(update, browserSettings);
            }
            // The company key's removal adds its own result: it must not hide a failed
            // removal of the uninstall entry.
            if (company.isEmpty())
                ok = deleteTreeShown(update, company) && ok;
        }
    }
    if (ok)
        ok = !update.cancelled();

    // While installing, the first failure stops the later writes; while uninstalling every
    // removal is tried.
    if (ok || !install)
        ok = editDirectoryList(update, nullptr, "PATH", destination + "bin") && ok;
    if (ok || !install)
        ok = editDirectoryList(update, nullptr, "LIB", destination + "lib") && ok;
    if (ok)
        ok = !update.cancelled();

    update.show("TRQFILE");
    if (!install || coverageFile.isEmpty()) {
        LastErrorKept kept;
        removeEnvironment("TRQFILE", user);
    } else if (ok) {
        ok = setEnvironment("TRQFILE", coverageFile, user);
    }

    {
        LastErrorKept kept;
        RegistryKey machineBoundsChecker(HKEY_LOCAL_MACHINE, "SOFTWARE\\NuMega\\BoundsChecker");
        RegistryKey userBoundsChecker(HKEY_CURRENT_USER, "SOFTWARE\\NuMega\\BoundsChecker");
        if (machineBoundsChecker.open(RegistryKey::Read) || userBoundsChecker.open(RegistryKey::Read))
            updateNmcl(update);
    }
    if (ok)
        ok = !update.cancelled();

    if (ok || !install) {
        for (int index = DevStudioVersion::Count - 1; index >= 0; --index) {
            if (!updateDevStudio(update, index))
                ok = false;
        }
    }
    if (ok || !install) {
        if (!updateFileAssociation(update))
            ok = false;
    }
    if (!ok)
        showLastError((String("Error updating registry ") + update.shown()).c_str());
    if (view)
        view->hide();
    return ok;
}
