// ArchiveReader: the records, the entries and their files.
#include "archive/ArchiveReader.h"

#include "foundation/File.h"
#include "foundation/Links.h"
#include "foundation/Log.h"
#include "foundation/MachineChanges.h"

#include <windows.h>

#include <cerrno>

#include <fcntl.h>

ArchiveReader::ArchiveReader(const Path& destination, ExtractionView& view, int resourceId,
                             DecoderThread::Decoding decoding)
    : destination_(destination), view_(view), resource_(resourceId), decipher_(&resource_), decode_(&decipher_),
      decoder_(&decode_, decoding), top_(&decoder_), records_(top_)
{
}

ArchiveReader::~ArchiveReader()
{
    // The thread first: it reads the layers below.
    close();
    decode_.close();
    decipher_.close();
    resource_.close();
}

void ArchiveReader::close()
{
    decoder_.close();
}

// The decoder thread reads ahead with the very reads of readHeader and extractEntries
// (DecoderThread.cpp, Filler::walk): a change of what they read changes both.
int ArchiveReader::readHeader()
{
    int count = 0;
    if (!records_.readHeader(count))
        abort(ERROR_FILE_CORRUPT);
    return count;
}

void ArchiveReader::extractEntries(int count)
{
    for (int i = 0; i < count; ++i) {
        // The view's reason: the user's cancel, or the session's end.
        if (view_.pollCancel())
            abort(GetLastError() == ERROR_SHUTDOWN_IN_PROGRESS ? ERROR_SHUTDOWN_IN_PROGRESS : ERROR_CANCELLED);
        String name;
        int size = 0;
        time_t time = 0;
        if (!records_.readEntry(name, size, time))
            abort(ERROR_FILE_CORRUPT);
        extractEntry(name, size, time);
    }
    // The payload ends with its last entry, and ends whole: so the codec's check of the
    // whole stream also covers a damage that lies past the last entry's bytes (a cut
    // trailer, an LZMA size that promises more than the stream holds).
    if (top_->read() != -1 || !decode_.whole())
        abort(ERROR_FILE_CORRUPT);
}

bool ArchiveReader::readLine(String& line)
{
    return records_.readLine(line);
}

void ArchiveReader::readRecord(String& first, String& second, String& third)
{
    if (!records_.readRecord(first, second, third))
        abort(ERROR_FILE_CORRUPT);
}

void ArchiveReader::abort(DWORD reason)
{
    ok_ = false;
    failure_ = reason;
    SetLastError(reason);
    throw Script::Abort();
}

void ArchiveReader::extractEntry(const String& name, int size, time_t time)
{
    if (!RecordReader::isValidEntry(name, size))
        abort(ERROR_FILE_CORRUPT);
    const Path target = destination_ + name;
    view_.nextFile(target);
    refuseLinkedFolder(name);
    // An earlier install's file is kept until the run ends, so that an undo can restore it.
    MachineChanges::replacingFile(target);
    bool created = false;
    bool timeSet = false;
    try {
        File file(target, _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY);
        created = true;
        unsigned char buffer[RecordReader::chunkSize];
        for (int remaining = size; remaining > 0;) {
            const int chunk = remaining < RecordReader::chunkSize ? remaining : RecordReader::chunkSize;
            if (top_->read(buffer, chunk) < chunk)
                abort(ERROR_FILE_CORRUPT);
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
    Log::write("file: " + target + " (" + String::valueOf(size) + " bytes)");
}

void ArchiveReader::refuseLinkedFolder(const String& name)
{
    int end = name.length();
    while (end > 0 && Path::fold(name.charAt(end - 1)) != '/')
        --end;
    const String folder = name.substring(0, end);
    // Entries come folder by folder: each folder is looked at once.
    if (folder.isEmpty() || folder.equals(checkedFolder_))
        return;
    const String link = firstLinkBelow(destination_, folder);
    if (!link.isEmpty()) {
        errno = EACCES;
        throw File::ExceptionCreate(destination_ + name + ": " + link
                                    + " is a link to another place, and setup writes nothing through links");
    }
    checkedFolder_ = folder;
}
