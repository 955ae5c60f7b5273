// ProductTree: the regular files of a product folder, as archive entries in sorted order.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct ProductFile {
    std::string name; // relative to the folder, components joined by '/'
    std::string path; // where the builder reads it
    uint32_t size;
    uint32_t time;    // modification time, seconds since 1970
};

class ProductTree {
public:
    // Walks folder and collects every regular file (also through a symbolic link to one).
    // Throws std::runtime_error naming the file for a name that setup.exe could not write
    // safely (absolute, a drive, a '..' component, a line feed), for a file or folder it
    // cannot read, and for anything else that is not a regular file or a folder.
    explicit ProductTree(const std::string& folder);

    const std::vector<ProductFile>& files() const { return files_; }

    // Why name is not acceptable as an entry name, or nothing when it is. '\\' counts as a
    // separator, as it does for setup.exe on Windows.
    static std::string refusal(const std::string& name);

private:
    void walk(const std::string& path, const std::string& name);

    std::vector<ProductFile> files_;
};
