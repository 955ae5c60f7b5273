// installFolderRefusal: the text of the name first, then the protected folders, then what
// the folder holds.
#include "host/InstallFolder.h"

#include "foundation/FindHandle.h"
#include "foundation/Path.h"
#include "foundation/ProductIdentity.h"
#include "host/InstallMarks.h"
#include "host/ProtectedFolders.h"

#include <windows.h>

#include <cctype>
#include <cstring>

namespace {

bool isSeparator(char c)
{
    return c == '\\' || c == '/';
}

// "X:\..." or "\\server\share..." with a server and a share.
bool isFullPath(const String& folder)
{
    const int n = folder.length();
    if (n >= 3 && std::isalpha(static_cast<unsigned char>(folder.charAt(0))) && folder.charAt(1) == ':'
        && isSeparator(folder.charAt(2)))
        return true;
    if (n < 5 || !isSeparator(folder.charAt(0)) || !isSeparator(folder.charAt(1)) || isSeparator(folder.charAt(2)))
        return false;
    int i = 2;
    while (i < n && !isSeparator(folder.charAt(i)))
        ++i;
    return i + 1 < n && !isSeparator(folder.charAt(i + 1));
}

// What is wrong with one character of the name, or an empty text.
String characterFault(const String& folder)
{
    for (int i = 0; i < folder.length(); ++i) {
        const char c = folder.charAt(i);
        if (static_cast<unsigned char>(c) < 0x20)
            return "it holds a control character";
        if (std::strchr(";\"<>|?*", c) || (c == ':' && i != 1))
            return String("it holds the character \"") + String(c) + "\", which setup does not accept in a folder name";
    }
    return String();
}

// The first part of the path that ends with a dot or a blank, or an empty text.
String partEndingInDotOrBlank(const String& folder)
{
    int begin = 0;
    for (int i = 0; i <= folder.length(); ++i) {
        if (i < folder.length() && !isSeparator(folder.charAt(i)))
            continue;
        if (i > begin) {
            const char last = folder.charAt(i - 1);
            if (last == '.' || last == ' ')
                return folder.substring(begin, i);
        }
        begin = i + 1;
    }
    return String();
}

bool isEmptyFolder(const Path& folder)
{
    for (FindHandle search((Path(folder).addTrailingSeparator() + "*").c_str()); search.found(); search.next()) {
        const char* name = search.entry().cFileName;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
            return false;
    }
    return true;
}

} // namespace

String installFolderRefusal(const String& given)
{
    if (given.trim().isEmpty())
        return "Please give the folder to install into.";
    const String refused = String("Setup cannot install into \"") + given + "\": ";
    if (!isFullPath(given))
        return refused + "it is not a full path such as C:\\Tools\\Trelliq or \\\\server\\share\\Trelliq.";
    const String fault = characterFault(given);
    if (!fault.isEmpty())
        return refused + fault + ".";
    const String part = partEndingInDotOrBlank(given);
    if (!part.isEmpty())
        return refused + "its part \"" + part + "\" ends with a dot or a blank, which Windows leaves out of names.";
    const Path folder(given);
    const String reason = protectedFolderReason(folder);
    if (!reason.isEmpty())
        return refused + reason + ".";

    String bare = given;
    while (bare.length() > 3 && isSeparator(bare.charAt(bare.length() - 1)))
        bare = bare.substring(0, bare.length() - 1);
    const DWORD attributes = GetFileAttributesA(bare.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return String();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return refused + "it is a file.";
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return refused + "it is a link to another folder.";
    if (!isEmptyFolder(folder) && !holdsProductInstall(folder) && !holdsInstallJournal(folder))
        return refused + "it holds files of its own and no earlier install of " + product::name
               + ", and uninstalling would remove them. Please choose a new or empty folder.";
    return String();
}
