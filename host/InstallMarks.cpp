// holdsProductInstall: the uninstaller and the product's programs, none of them a link.
#include "host/InstallMarks.h"

#include "foundation/ProductIdentity.h"

#include <windows.h>

#include <cstring>

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

bool holdsInstallJournal(const Path& given)
{
    const Path name = Path(given).addTrailingSeparator() + product::journalName;
    if (!isPlain(name, false))
        return false;
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char start[sizeof product::journalMagic - 1];
    DWORD read = 0;
    const bool ok = ReadFile(file, start, sizeof start, &read, nullptr) && read == sizeof start
                    && std::memcmp(start, product::journalMagic, sizeof start) == 0;
    CloseHandle(file);
    return ok;
}
