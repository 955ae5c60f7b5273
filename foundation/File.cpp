// File: _sopen, _read, _lseek, _write and _close.
#include "foundation/File.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <sys/utime.h>

File::File(const String& name, int mode) : descriptor_(-1), name_(name)
{
    if (!(mode & _O_TEXT))
        mode |= _O_BINARY;
    descriptor_ = _sopen(name_.c_str(), mode, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (descriptor_ < 0) {
        if (mode & (_O_CREAT | _O_TRUNC))
            throw ExceptionCreate(name_);
        throw ExceptionOpen(name_);
    }
}

File::~File()
{
    close();
}

String File::atCurrentPosition() const
{
    // The query must not replace the error of the failed transfer.
    const int error = errno;
    const long position = _lseek(descriptor_, 0, SEEK_CUR);
    errno = error;
    return name_ + " at " + String::toHexString(position);
}

int File::read(void* buffer, int count)
{
    const int n = _read(descriptor_, buffer, count);
    if (n < 0)
        throw ExceptionRead(atCurrentPosition());
    return n;
}

int File::seek(long offset, int origin)
{
    const long position = _lseek(descriptor_, offset, origin);
    if (position == -1) {
        if (offset == -1)
            throw ExceptionSeek(atCurrentPosition());
        throw ExceptionSeek(name_ + " at " + String::toHexString(offset));
    }
    return static_cast<int>(position);
}

int File::write(const void* buffer, int count)
{
    const char* bytes = static_cast<const char*>(buffer);
    int written = 0;
    while (written < count) {
        const int n = _write(descriptor_, bytes + written, count - written);
        if (n < 0)
            throw ExceptionWrite(atCurrentPosition());
        // A call that writes nothing would be repeated for ever: a full disk.
        if (n == 0) {
            errno = ENOSPC;
            throw ExceptionWrite(atCurrentPosition());
        }
        written += n;
    }
    return count;
}

bool File::setModificationTime(time_t time)
{
    if (descriptor_ < 0) {
        errno = EBADF;
        return false;
    }
    struct _utimbuf times;
    times.actime = time;
    times.modtime = time;
    return _futime(descriptor_, &times) == 0;
}

int File::close()
{
    if (descriptor_ < 0)
        return 0;
    const int result = _close(descriptor_);
    descriptor_ = -1;
    return result;
}
