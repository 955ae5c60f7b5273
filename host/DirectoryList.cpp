// DirectoryList: entries compared whole, separators kept with the entries that stay.
#include "host/DirectoryList.h"

namespace {

// The text compared: lower case, '/' as '\\'. Unit for unit, so its indices are the
// original's.
WideText folded(const WideText& text)
{
    return text.toLowerCase().replace(L'/', L'\\');
}

// Whether list[begin, end) names directory, both folded.
bool names(const WideText& list, int begin, int end, const WideText& directory)
{
    if (end - begin != directory.length())
        return false;
    for (int i = 0; i < directory.length(); ++i) {
        if (list.charAt(begin + i) != directory.charAt(i))
            return false;
    }
    return true;
}

} // namespace

WideText withoutDirectory(const WideText& list, const WideText& directory)
{
    const WideText foldedList = folded(list);
    const WideText foldedDirectory = folded(directory);
    // Every kept entry but the last is followed by its ';'.
    WideText kept;
    for (int begin = 0;;) {
        const int separator = list.indexOf(L';', begin);
        if (separator < 0) {
            // The last entry, without a ';' of its own (none when the list ends with one).
            if (begin == list.length() || !names(foldedList, begin, list.length(), foldedDirectory))
                return kept.append(list.substring(begin));
            return kept.isEmpty() ? kept : kept.substring(0, kept.length() - 1);
        }
        if (!names(foldedList, begin, separator, foldedDirectory))
            kept.append(list.substring(begin, separator + 1));
        begin = separator + 1;
    }
}

WideText withDirectoryFirst(const WideText& list, const WideText& directory)
{
    return directory.replace(L'/', L'\\') + WideText(L";") + withoutDirectory(list, directory);
}
