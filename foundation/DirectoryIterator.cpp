// DirectoryIterator: the listing of one directory, without "." and "..".
#include "foundation/DirectoryIterator.h"

#include <cerrno>
#include <cstring>

namespace {

// FindFirstFileA leaves errno alone; the exception's C library text must still describe
// this failure, not an older one.
int errnoOf(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EACCES;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_NOT_ENOUGH_MEMORY:
        return ENOMEM;
    default:
        return EINVAL;
    }
}

} // namespace

DirectoryIterator::DirectoryIterator(const Path& directory)
    : directory_(directory), search_((directory_ + "/*").c_str()), pending_(false)
{
    if (!search_.found()) {
        errno = errnoOf(GetLastError());
        // The failure text begins with ": " itself, so nothing goes between.
        throw Path::Exception(directory_ + ": directory open failure");
    }
    pending_ = true;
}

bool DirectoryIterator::next(String& name)
{
    while (search_.found()) {
        if (!pending_ && !search_.next())
            return false;
        pending_ = false;
        const char* found = search_.entry().cFileName;
        if (std::strcmp(found, ".") != 0 && std::strcmp(found, "..") != 0) {
            name = found;
            return true;
        }
    }
    return false;
}
