// ProductTree: walking the product folder and checking its names.
#include "ProductTree.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::runtime_error failure(const std::string& path, const std::string& what)
{
    return std::runtime_error(path + ": " + what);
}

std::runtime_error systemFailure(const std::string& path, const char* operation)
{
    return failure(path, std::string(operation) + ": " + std::strerror(errno));
}

} // namespace

ProductTree::ProductTree(const std::string& folder)
{
    struct stat status;
    if (stat(folder.c_str(), &status) != 0)
        throw systemFailure(folder, "cannot read the product folder");
    if (!S_ISDIR(status.st_mode))
        throw failure(folder, "the product folder is not a folder");
    walk(folder, "");
    std::sort(files_.begin(), files_.end(),
              [](const ProductFile& a, const ProductFile& b) { return a.name < b.name; });
}

std::string ProductTree::refusal(const std::string& name)
{
    if (name.find('\n') != std::string::npos)
        return "the name contains a line feed";
    if (name.empty() || name[0] == '/' || name[0] == '\\')
        return "the name is absolute";
    if (name.find(':') != std::string::npos)
        return "the name names a drive or a stream (':')";
    size_t begin = 0;
    for (;;) {
        const size_t end = name.find_first_of("/\\", begin);
        if (name.compare(begin, end == std::string::npos ? std::string::npos : end - begin, "..") == 0)
            return "the name contains a '..' component";
        if (end == std::string::npos)
            return "";
        begin = end + 1;
    }
}

void ProductTree::walk(const std::string& path, const std::string& name)
{
    DIR* dir = opendir(path.c_str());
    if (!dir)
        throw systemFailure(path, "cannot read the folder");
    std::vector<std::string> children;
    errno = 0;
    while (dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0)
            children.push_back(entry->d_name);
        errno = 0;
    }
    const int error = errno;
    closedir(dir);
    if (error != 0) {
        errno = error;
        throw systemFailure(path, "cannot read the folder");
    }
    std::sort(children.begin(), children.end());

    for (const std::string& child : children) {
        const std::string childPath = path + "/" + child;
        const std::string childName = name.empty() ? child : name + "/" + child;
        const std::string why = refusal(childName);
        if (!why.empty())
            throw failure(childPath, why);

        struct stat status;
        if (lstat(childPath.c_str(), &status) != 0)
            throw systemFailure(childPath, "cannot read");
        if (S_ISDIR(status.st_mode)) {
            walk(childPath, childName);
            continue;
        }
        // A link to a file is packed as the file. A link to a folder is refused with the
        // other non-files: following it could make the walk endless.
        if (S_ISLNK(status.st_mode) && stat(childPath.c_str(), &status) != 0)
            throw systemFailure(childPath, "cannot read");
        if (!S_ISREG(status.st_mode))
            throw failure(childPath, "not a regular file");
        const int fd = open(childPath.c_str(), O_RDONLY);
        if (fd < 0)
            throw systemFailure(childPath, "cannot read");
        close(fd);
        // setup.exe reads sizes and times as signed 32-bit numbers.
        if (status.st_size > INT32_MAX)
            throw failure(childPath, "larger than 2 GB, more than setup.exe can hold");
        if (status.st_mtime < 0 || status.st_mtime > INT32_MAX)
            throw failure(childPath, "modification time before 1970 or after 2038");
        files_.push_back({childName, childPath, static_cast<uint32_t>(status.st_size),
                          static_cast<uint32_t>(status.st_mtime)});
    }
}
