// ArchiveReader: the extraction steps, in the order the install relies on.
#include "archive/ArchiveReader.h"

#include "foundation/ErrorText.h"
#include "foundation/File.h"
#include "foundation/Integer.h"
#include "foundation/MessageBox.h"
#include "foundation/ModulePath.h"

#include <windows.h>

#include <cerrno>

#include <commctrl.h>
#include <fcntl.h>

namespace {

const char* const folders[] = {"bin", "help", "include", "lib", "numega", "sample", "sample/text", "sample/win", "src"};

const char* const leftovers[] = {"bin/*.dll", "bin/*.exe", "bin/*.exe-", "bin/trelliq.cnt",
                                 "bin/trelliq.hlp", "bin/trqset.bat", "cpp", "numega/*"};

enum Family { Borland, Gnu, Microsoft, Microtec, Tasking };

const struct {
    const char* name;
    Family family;
} wrappers[] = {
    {"bcc32", Borland}, {"c++", Gnu},   {"cc68k", Microtec}, {"ccppc", Gnu},  {"ccxa", Tasking},
    {"cl", Microsoft},  {"g++", Gnu},   {"gcc", Gnu},        {"link", Microsoft}, {"mcc68k", Microtec},
    {"powerpc-wrs-vxworks-gcc", Gnu},
};

// Steps of the bar besides the entries: 9 folders, 11 wrapper rows, the uninstaller, and 7
// that are never taken, so the bar stops short of its end.
const int extraRange = 28;

} // namespace

ArchiveReader::ArchiveReader(const Path& programFolder, const Path& destination, const bool* compilerFlags,
                             int resourceId)
    : ok_(true), programFolder_(programFolder), destination_(destination), compilerFlags_(compilerFlags),
      resource_(resourceId), decipher_(&resource_), decode_(&decipher_), top_(&decode_),
      records_(top_)
{
}

ArchiveReader::~ArchiveReader()
{
    decode_.close();
    decipher_.close();
    resource_.close();
}

bool ArchiveReader::extract()
{
    progressDialog_.create();
    try {
        String countText, unused1, unused2;
        readRecord(countText, unused1, unused2);
        const int count = Integer(countText, 10).value();
        if (HWND bar = progressDialog_.progressBar())
            SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, count + extraRange));

        for (const char* folder : folders)
            createFolder(folder);
        for (const char* pattern : leftovers)
            removeMatching(pattern);

        for (int i = 0; i < count; ++i) {
            String name, sizeText, timeText;
            readRecord(name, sizeText, timeText);
            extractEntry(name, Integer(sizeText, 10).value(), Integer(timeText, 10).value());
        }

        for (const auto& wrapper : wrappers)
            installWrapper(wrapper.name, compilerFlags_[wrapper.family]);
        copyInto(modulePath(), "uninstall.exe");
    } catch (const Script::Abort&) {
        // Unwinding may call into the system (thread-local storage) and clear the last
        // error that corrupt() set; the caller reads it.
        SetLastError(ERROR_FILE_CORRUPT);
    }
    return ok_;
}

bool ArchiveReader::readLine(String& line)
{
    return records_.readLine(line);
}

void ArchiveReader::readRecord(String& first, String& second, String& third)
{
    if (!records_.readRecord(first, second, third))
        corrupt();
}

void ArchiveReader::corrupt()
{
    ok_ = false;
    SetLastError(ERROR_FILE_CORRUPT);
    throw Script::Abort();
}

void ArchiveReader::createFolder(const char* name)
{
    const Path target = destination_ + name;
    progressDialog_.nextFile(target);
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        ok_ = CreateDirectoryA(target.c_str(), nullptr);
    } else if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        ok_ = true;
    } else {
        try {
            target.remove();
            ok_ = CreateDirectoryA(target.c_str(), nullptr);
        } catch (const Exception&) {
            ok_ = false;
        }
    }
    if (!ok_)
        showLastError(("Error creating directory " + target).c_str());
}

void ArchiveReader::removeMatching(const char* pattern)
{
    const Path path = destination_ + pattern;
    const Path directory = path.directory();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const String name = found.cFileName;
        if (name.compareTo(".") == 0 || name.compareTo("..") == 0)
            continue;
        try {
            (directory + name).remove();
        } catch (const Exception& failure) {
            ok_ = false;
            messageBox(failure.message().c_str(), MB_ICONSTOP);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void ArchiveReader::extractEntry(const String& name, int size, time_t time)
{
    if (!RecordReader::staysInside(name) || size < 0)
        corrupt();
    const Path target = destination_ + name;
    progressDialog_.nextFile(target);
    bool created = false;
    bool timeSet = false;
    try {
        File file(target, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY);
        created = true;
        unsigned char buffer[4096];
        for (int remaining = size; remaining > 0;) {
            const int chunk = remaining < static_cast<int>(sizeof buffer) ? remaining : sizeof buffer;
            if (top_->read(buffer, chunk) < chunk)
                corrupt();
            file.write(buffer, chunk);
            remaining -= chunk;
        }
        // The time goes onto the open file, the last change before it closes: opening it
        // again by name afterwards cost a third of a millisecond per file under Wine.
        timeSet = file.setModificationTime(time);
    } catch (...) {
        // A file cut short by a damaged payload or a full disk would look whole by its
        // name: it goes, and the failure goes on with its last error and errno intact.
        if (created) {
            const DWORD error = GetLastError();
            const int cause = errno;
            DeleteFileA(target.c_str());
            SetLastError(error);
            errno = cause;
        }
        throw;
    }
    // Refused on the open file: by name, which reports the failure the usual way.
    if (!timeSet)
        target.setModificationTime(time);
}

void ArchiveReader::installWrapper(const char* name, bool selected)
{
    if (selected) {
        copyInto("bin/trqc.exe", String("bin/") + name + ".exe-");
    } else if (HWND bar = progressDialog_.progressBar()) {
        SendMessageA(bar, PBM_DELTAPOS, 1, 0);
    }
}

void ArchiveReader::copyInto(const String& source, const String& targetName)
{
    Path sourcePath = source;
    if (!sourcePath.isAbsolute())
        sourcePath = programFolder_ + source;
    const Path target = destination_ + targetName;
    progressDialog_.nextFile(target);
    ok_ = CopyFileA(sourcePath.c_str(), target.c_str(), FALSE);
    if (!ok_) {
        // The wrappers' source is normally the copy the extraction has just written.
        sourcePath = destination_ + source;
        ok_ = CopyFileA(sourcePath.c_str(), target.c_str(), FALSE);
    }
    if (!ok_)
        showLastError(("Error copying " + sourcePath + " to " + target).c_str());
}
