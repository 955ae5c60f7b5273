// BatchFile: the "set" lines of the product's batch file and the call line in autoexec.bat.
#include "host/BatchFile.h"

#include "foundation/File.h"
#include "foundation/MachineChanges.h"
#include "foundation/Log.h"
#include "host/Environment.h"

#include <windows.h>

#include <fcntl.h>

#include <cstdio>
#include <cstring>

const char* const autoexecPath = "c:/autoexec.bat";

namespace {

// The whole file (created when missing, never truncated here).
String readWhole(const String& path)
{
    MachineChanges* const changes = MachineChanges::recorder();
    if (changes && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        changes->creatingFile(path);
    File file(path, _O_RDWR | _O_CREAT);
    String text;
    char buffer[4096];
    for (int count; (count = file.read(buffer, sizeof buffer)) > 0;)
        text.append(String(buffer, count));
    return text;
}

// Replaces the file's contents by text: written from offset 0, cut to its length.
void writeWhole(const String& path, const String& text)
{
    // The earlier file is kept whole until the run ends.
    MachineChanges::replacingFile(path);
    File file(path, _O_WRONLY | _O_CREAT | _O_TRUNC);
    file.write(text.c_str(), text.length());
}

bool fitsIn(const String& text, int limit)
{
    if (text.length() + 1 <= limit)
        return true;
    SetLastError(ERROR_FILE_TOO_LARGE);
    return false;
}

bool startsWithIgnoringCase(const String& text, int at, const String& prefix)
{
    return text.length() - at >= prefix.length()
        && text.substring(at, at + prefix.length()).toLowerCase().equals(prefix.toLowerCase());
}

// The batch file's path in its short form, which is what the call line names; the
// remembered path becomes that form too.
String shortBatchPath()
{
    char buffer[256];
    const DWORD length = GetShortPathNameA(batchFilePath().c_str(), buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer)
        setBatchFilePath(buffer);
    return batchFilePath();
}

// autoexec.bat's text with every copy of the call line taken out, and with the line as
// its last line when adding. False when it would not fit.
bool editCallLine(bool add, String& text)
{
    text = readWhole(autoexecPath);
    if (!fitsIn(text, autoexecLimit))
        return false;
    if (text.length() > 2 && !startsWithIgnoringCase(text, text.length() - 2, "\r\n"))
        text += "\r\n";
    const String line = "call " + batchFilePath() + "\r\n";
    for (int at = 0; at < text.length();) {
        if (startsWithIgnoringCase(text, at, line)) {
            text = text.substring(0, at) + text.substring(at + line.length());
            continue;
        }
        const int lineBreak = text.indexOf("\r\n", at);
        if (lineBreak < 0)
            break;
        at = lineBreak + 2;
    }
    if (add)
        text += line;
    return fitsIn(text, autoexecLimit);
}

// Where the first "set NAME=" line starts and where its value ends (before the first CR
// or LF); false when there is none.
bool findLine(const String& text, const char* name, int& start, int& valueEnd)
{
    const String prefix = String("set ") + name + "=";
    for (int at = 0; at < text.length(); at = text.indexOf('\n', at) + 1) {
        if (startsWithIgnoringCase(text, at, prefix)) {
            start = at;
            valueEnd = at + prefix.length();
            while (valueEnd < text.length() && text.charAt(valueEnd) != '\r' && text.charAt(valueEnd) != '\n')
                ++valueEnd;
            return true;
        }
        if (text.indexOf('\n', at) < 0)
            break;
    }
    return false;
}

// The ';'-separated entries of list, each in its short form where it has one (an existing
// folder on a volume with 8.3 names), else as written.
String shortEntries(const String& list)
{
    String result;
    for (int begin = 0; begin < list.length();) {
        int end = list.indexOf(';', begin);
        if (end < 0)
            end = list.length();
        const String entry = list.substring(begin, end);
        char buffer[256];
        const DWORD length = entry.isEmpty() ? 0 : GetShortPathNameA(entry.c_str(), buffer, sizeof buffer);
        result += length > 0 && length < sizeof buffer ? String(buffer, static_cast<int>(length)) : entry;
        if (end < list.length())
            result += ";";
        begin = end + 1;
    }
    return result;
}

String setLine(const char* name, const String& value)
{
    // COMMAND.COM keeps quotes in a set line as part of the value, and a quoted PATH spoils
    // its first and last entries: the entries are named by their 8.3 forms instead, which
    // have no blanks.
    if (std::strcmp(name, "PATH") == 0)
        return String("set ") + name + "=" + shortEntries(value) + "%" + name + "%\r\n";
    if (std::strcmp(name, "LIB") == 0 || std::strcmp(name, "INCLUDE") == 0)
        return String("set ") + name + "=" + value + "%" + name + "%\r\n";
    return String("set ") + name + "=" + value + "\r\n";
}

} // namespace

bool setBatchVariable(const char* name, const String& value)
{
    String text = readWhole(batchFilePath());
    shortBatchPath();
    if (!fitsIn(text, batchFileLimit))
        return false;
    const bool wasEmpty = text.isEmpty();

    const String line = setLine(name, value);
    int start, valueEnd;
    String previous = "was not set";
    if (findLine(text, name, start, valueEnd)) {
        previous = "was \"" + text.substring(start, valueEnd) + "\"";
        text = text.substring(0, start) + line.substring(0, line.length() - 2) + text.substring(valueEnd);
    } else {
        text += line;
    }
    if (!fitsIn(text, batchFileLimit))
        return false;

    if (wasEmpty) {
        String autoexec;
        if (!editCallLine(true, autoexec))
            return false;
        writeWhole(autoexecPath, autoexec);
    }
    writeWhole(batchFilePath(), text);
    Log::write("environment: " + batchFilePath() + ": " + line.substring(0, line.length() - 2) + " (" + previous + ")");
    return true;
}

bool removeBatchVariable(const char* name)
{
    String text = readWhole(batchFilePath());
    shortBatchPath();
    if (!fitsIn(text, batchFileLimit))
        return false;
    int start, end;
    if (!findLine(text, name, start, end)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return false;
    }
    const String removed = text.substring(start, end);
    while (end < text.length() && (text.charAt(end) == '\r' || text.charAt(end) == '\n'))
        ++end;
    text = text.substring(0, start) + text.substring(end);

    String autoexec;
    if (text.isEmpty() && !editCallLine(false, autoexec))
        return false;
    writeWhole(batchFilePath(), text);
    if (text.isEmpty())
        writeWhole(autoexecPath, autoexec);
    Log::write("environment: " + batchFilePath() + ": removed \"" + removed + "\"");
    return true;
}
