// DirectoryList: entries compared whole, separators kept with the entries that stay.
#include "host/DirectoryList.h"

#include <cctype>

namespace {

char folded(char c)
{
    return c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Whether list[begin, end) names directory.
bool names(const String& list, int begin, int end, const String& directory)
{
    if (end - begin != directory.length())
        return false;
    for (int i = 0; i < directory.length(); ++i) {
        if (folded(list.charAt(begin + i)) != folded(directory.charAt(i)))
            return false;
    }
    return true;
}

} // namespace

String withoutDirectory(const String& list, const String& directory)
{
    // Every kept entry but the last is followed by its ';'.
    String kept;
    for (int begin = 0;;) {
        const int separator = list.indexOf(';', begin);
        if (separator < 0) {
            // The last entry, without a ';' of its own (none when the list ends with one).
            if (begin == list.length() || !names(list, begin, list.length(), directory))
                return kept.append(list.substring(begin));
            return kept.isEmpty() ? kept : kept.substring(0, kept.length() - 1);
        }
        if (!names(list, begin, separator, directory))
            kept.append(list.substring(begin, separator + 1));
        begin = separator + 1;
    }
}

String withDirectoryFirst(const String& list, const String& directory)
{
    return directory.replace('/', '\\') + ";" + withoutDirectory(list, directory);
}
