// BoundsChecker: the NMCL options and the cl.exe repair.
#include "host/BoundsChecker.h"

#include "foundation/File.h"
#include "foundation/MessageBox.h"
#include "foundation/Path.h"
#include "foundation/WideText.h"
#include "host/Environment.h"
#include "host/RegistryUpdate.h"

#include <windows.h>

#include <fcntl.h>

#include <cstdlib>
#include <cstring>

namespace {

String wrapperFolder(const String& destination)
{
    // 256 bytes: a longer short form keeps the destination as written.
    char buffer[256];
    const DWORD length = GetShortPathNameA(destination.c_str(), buffer, sizeof buffer);
    const String folder = length > 0 && length < sizeof buffer ? String(buffer) : destination;
    return folder + "numega\\";
}

// Whether the first 65536 bytes of file hold "mscl.exe"; a file that cannot be read
// holds nothing.
bool namesOriginalCompiler(const Path& file)
{
    static char bytes[65536];
    int count = 0;
    try {
        File compiler(file, _O_RDONLY);
        for (int got; count < static_cast<int>(sizeof bytes)
                      && (got = compiler.read(bytes + count, sizeof bytes - count)) > 0;)
            count += got;
    } catch (const File::Exception&) {
        count = 0;
    }
    const char marker[] = "mscl.exe";
    const int markerLength = sizeof marker - 1;
    for (int at = 0; at + markerLength <= count; ++at)
        if (std::memcmp(bytes + at, marker, markerLength) == 0)
            return true;
    return false;
}

// A folder named from the root of a drive ("C:\\...") or of a share ("\\\\server\\...").
// Anything else ("", ".", "bin", "..\\bin", "C:bin", "\\bin", "~\\bin") depends on the
// current folder or drive, or on a variable, that whoever starts setup.exe chooses.
bool isFromRoot(const Path& folder)
{
    const auto separator = [&folder](int at) { return Path::fold(folder.charAt(at)) == '/'; };
    if (folder.length() >= 3 && folder.charAt(1) == ':' && separator(2))
        return (folder.charAt(0) | 0x20) >= 'a' && (folder.charAt(0) | 0x20) <= 'z';
    return folder.length() >= 3 && separator(0) && separator(1) && !separator(2);
}

} // namespace

void updateNmcl(RegistryUpdate& update)
{
    update.show("NMCL");
    const String folder = wrapperFolder(update.destination());
    // The variable holds BoundsChecker's and the user's options too: read and written in
    // the wide form so that theirs keep every unit; ours come from the program's text.
    const WideText options =
        WideText::fromAnsi("/NMclpath:" + folder + "cl.exe " + "/NMlinkpath:" + folder + "link.exe");

    RegistryValue value(WideText(), REG_SZ);
    if (getEnvironment("NMCL", value, true, TextForm::Wide)) {
        // Data of another type is no list of options of ours: it stays as it is.
        if (!RegistryValue::isString(value.type))
            return;
        const int at = value.wide.indexOf(options);
        if (at >= 0)
            value.wide = value.wide.substring(0, at) + value.wide.substring(at + options.length());
    }
    // The blank left where the options were cut out would otherwise add up, one more
    // with every install over an earlier one.
    if (update.installing())
        value.wide = value.wide.trim() + WideText(L" ") + options;
    value.wide = value.wide.trim();
    if (!value.wide.isEmpty())
        setEnvironment("NMCL", value, true);
    else
        removeEnvironment("NMCL", true);
}

bool checkOverwrittenCompiler()
{
    // The repair renames files with the administrator's rights: only in folders that PATH
    // names in full, never in the current folder or one relative to it. The entries are
    // taken as Windows takes them ("~" is no home folder there).
    const char* variable = std::getenv("PATH");
    const String list = variable ? variable : "";
    for (int start = 0; start <= list.length();) {
        int end = list.indexOf(';', start);
        if (end < 0)
            end = list.length();
        Path folder = list.substring(start, end);
        start = end + 1;
        if (!isFromRoot(folder))
            continue;
        folder.addTrailingSeparator();
        if (!(folder + "cl.exe").isFile() || !(folder + "mscl.exe").isFile() || !namesOriginalCompiler(folder + "cl.exe"))
            continue;
        const int answer = messageBox(
            "Setup detected the Visual C++ file cl.exe was perviously overwritten by another product "
            "with a known problem that interferes with Trelliq. Press OK to restore the orginal file "
            "and continue.",
            MB_OKCANCEL | MB_ICONEXCLAMATION);
        if (answer != IDOK)
            return false;
        (folder + "mscl.exe").renameTo(folder + "cl.exe");
    }
    return true;
}
