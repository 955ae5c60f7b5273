// DirectoryIterator: FindFirstFileA, FindNextFileA and FindClose.
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
    : directory_(directory), handle_(INVALID_HANDLE_VALUE), pending_(false)
{
    handle_ = FindFirstFileA((directory_ + "/*").c_str(), &found_);
    if (handle_ == INVALID_HANDLE_VALUE) {
        errno = errnoOf(GetLastError());
        // The failure text begins with ": " itself, so nothing goes between.
        throw Path::Exception(directory_ + ": directory open failure");
    }
    pending_ = true;
}

bool DirectoryIterator::next(String& name)
{
    while (handle_ != INVALID_HANDLE_VALUE) {
        if (!pending_ && !FindNextFileA(handle_, &found_)) {
            close();
            return false;
        }
        pending_ = false;
        if (std::strcmp(found_.cFileName, ".") != 0 && std::strcmp(found_.cFileName, "..") != 0) {
            name = found_.cFileName;
            return true;
        }
    }
    return false;
}

void DirectoryIterator::close()
{
    if (handle_ != INVALID_HANDLE_VALUE) {
        FindClose(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
}
