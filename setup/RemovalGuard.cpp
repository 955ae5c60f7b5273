// removalRefusal: the protected folders, then whether the folder holds the product.
#include "setup/RemovalGuard.h"

#include "host/ProtectedFolders.h"

String removalRefusal(const Path& given)
{
    // A root or a system folder is refused even when it cannot be reached at the moment.
    const String reason = protectedFolderReason(given);
    if (!reason.isEmpty())
        return reason;
    struct _stat record;
    if (!given.status(&record))
        return String();
    const Path folder = Path(given).addTrailingSeparator();
    if (!(folder + "uninstall.exe").isFile() || !(folder + "bin").isDirectory())
        return "it does not hold the product's uninstall.exe and bin folder";
    return String();
}
