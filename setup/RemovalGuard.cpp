// removalRefusal: the protected folders, then the marks and records of an install.
#include "setup/RemovalGuard.h"

#include "host/InstallMarks.h"
#include "host/InstallScope.h"
#include "host/ProtectedFolders.h"
#include "setup/InstallRecord.h"

String removalRefusal(const Path& given)
{
    if (given.trim().isEmpty())
        return "no folder is given";
    // A root or a system folder is refused even when it cannot be reached at the moment.
    const String reason = protectedFolderReason(given);
    if (!reason.isEmpty())
        return reason;
    struct _stat record;
    if (!given.status(&record))
        return String();
    Array<String> written;
    if (!holdsProductInstall(given) && !holdsInstallJournal(given)
        && !(readInstallRecord(given, written) && uninstallEntryNames(given)))
        return "it does not hold the product's uninstall.exe, bin\\trqc.exe and bin\\coverageBrowser.exe";
    return String();
}
