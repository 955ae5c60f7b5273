// InstallRecord: writing the list from the journal's records and reading it back.
#include "setup/InstallRecord.h"

#include "archive/RecordReader.h"
#include "foundation/File.h"
#include "foundation/MachineChanges.h"
#include "foundation/ProductIdentity.h"
#include "setup/Journal.h"

#include <fcntl.h>
#include <windows.h>

namespace {

// The largest record read back: the product has a few hundred files.
const DWORD largestRecord = 4 * 1024 * 1024;

} // namespace

Path installRecordIn(const Path& folder)
{
    return Path(folder).addTrailingSeparator() + product::installRecordName;
}

void writeInstallRecord(Journal& journal)
{
    const Path& folder = journal.folder();
    String text = String(product::installRecordMagic) + "\r\n";
    for (const Journal::Record& record : journal.records()) {
        const bool made = record.kind == Journal::Record::File || record.kind == Journal::Record::Folder;
        if (made && record.path.length() > folder.length()
            && Path(record.path.substring(0, folder.length())).equals(folder))
            text.append(record.path.substring(folder.length()).replace('/', '\\') + "\r\n");
    }
    const Path name = installRecordIn(folder);
    MachineChanges::replacingFile(name);
    File file(name, _O_WRONLY | _O_CREAT | _O_TRUNC);
    file.write(text.c_str(), text.length());
}

bool readInstallRecord(const Path& folder, Array<String>& written)
{
    const Path name = installRecordIn(folder);
    const DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)))
        return false;
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = GetFileSize(file, nullptr);
    Array<char> bytes(size == INVALID_FILE_SIZE || size > largestRecord ? 0 : static_cast<int>(size));
    DWORD read = 0;
    const bool ok = !bytes.isEmpty() && ReadFile(file, bytes.data(), size, &read, nullptr) && read == size;
    CloseHandle(file);
    const String text = ok ? String(bytes.data(), bytes.size()) : String();
    const String first = String(product::installRecordMagic) + "\r\n";
    if (text.length() < first.length() || text.substring(0, first.length()).compareTo(first) != 0)
        return false;
    Array<String> lines;
    for (int at = first.length(); at < text.length();) {
        int end = text.indexOf('\n', at);
        if (end < 0)
            end = text.length();
        String line = text.substring(at, end);
        if (!line.isEmpty() && line.charAt(line.length() - 1) == '\r')
            line = line.substring(0, line.length() - 1);
        if (RecordReader::staysInside(line))
            lines.add(line);
        at = end + 1;
    }
    written = lines;
    return true;
}
