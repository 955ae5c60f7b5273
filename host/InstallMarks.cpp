// holdsProductInstall: the uninstaller and the product's programs, none of them a link.
#include "host/InstallMarks.h"

#include "foundation/ProductIdentity.h"

#include <windows.h>

namespace {

// A regular file, or a folder when folder is set; never a link.
bool isPlain(const String& path, bool folder)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    return ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) == folder;
}

} // namespace

bool holdsProductInstall(const Path& given)
{
    const Path folder = Path(given).addTrailingSeparator();
    return isPlain(folder + product::uninstallerName, false) && isPlain(folder + "bin", true)
           && isPlain(folder + product::wrapperProgram, false) && isPlain(folder + product::browserProgram, false);
}
