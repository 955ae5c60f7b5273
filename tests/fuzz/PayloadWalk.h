// Reads a decoded payload the way the installer's extraction does, with nothing written:
// the header record, then per entry its record, the name and size checks and its data.
// Shared by the native tests and the fuzz targets.
#pragma once

#include "archive/BzipDecode.h"
#include "archive/RecordReader.h"
#include "archive/TeaDecipher.h"
#include "foundation/Exception.h"
#include "foundation/Integer.h"
#include "foundation/Path.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct WalkedEntry {
    std::string name;
    std::string data;
    int time;
};

// The folder the entries are resolved against when checking that they stay inside.
inline Path walkDestination()
{
    return Path("C:\\dest\\");
}

// The entries of the payload read from top. A corrupt or cut payload throws Script::Abort,
// bad bzip2 data BzipDecode::Exception. An accepted name that resolves outside the
// destination aborts the process, which is what a fuzzer reports.
inline std::vector<WalkedEntry> walkPayload(InputStream& top, bool keepData = true)
{
    RecordReader records(&top);
    String countText, unused1, unused2;
    if (!records.readRecord(countText, unused1, unused2))
        throw Script::Abort();
    const int count = Integer(countText, 10).value();
    std::vector<WalkedEntry> entries;
    for (int i = 0; i < count; ++i) {
        String name, sizeText, timeText;
        if (!records.readRecord(name, sizeText, timeText))
            throw Script::Abort();
        const int size = Integer(sizeText, 10).value();
        if (!RecordReader::staysInside(name) || size < 0)
            throw Script::Abort();
        const Path target = Path(name).resolved(walkDestination);
        const Path prefix = target.substring(0, walkDestination().length());
        if (prefix.compareTo(walkDestination()) != 0) {
            std::fprintf(stderr, "entry %s leaves the destination as %s\n", name.c_str(), target.c_str());
            std::abort();
        }
        WalkedEntry entry{std::string(name.c_str(), name.length()), std::string(), Integer(timeText, 10).value()};
        unsigned char buffer[4096];
        for (int remaining = size; remaining > 0;) {
            const int chunk = remaining < static_cast<int>(sizeof buffer) ? remaining : sizeof buffer;
            if (top.read(buffer, chunk) < chunk)
                throw Script::Abort();
            if (keepData)
                entry.data.append(reinterpret_cast<char*>(buffer), chunk);
            remaining -= chunk;
        }
        entries.push_back(entry);
    }
    return entries;
}
