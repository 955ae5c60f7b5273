// Reads a decoded payload the way the installer's extraction does, with nothing written:
// the header record, then per entry its record, the name and size checks and its data.
// Shared by the native tests and the fuzz targets.
#pragma once

#include "archive/BzipDecode.h"
#include "archive/PayloadDecode.h"
#include "archive/RecordReader.h"
#include "archive/TeaDecipher.h"
#include "foundation/Exception.h"
#include "foundation/Integer.h"
#include "foundation/Path.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
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

// The entries of the payload read from top. A corrupt or cut payload throws Script::Abort
// (so does damaged LZMA data, and bytes after the last entry or, when decode is given, a
// codec stream that did not end whole), bad bzip2 data BzipDecode::Exception. An accepted
// name that resolves outside the destination aborts the process, which is what a fuzzer
// reports.
inline std::vector<WalkedEntry> walkPayload(InputStream& top, bool keepData = true,
                                            const PayloadDecode* decode = nullptr)
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
    if (top.read() != -1 || (decode && !decode->whole()))
        throw Script::Abort();
    return entries;
}

// Passes reads through to a stream and writes down each one: its kind and size, its result,
// a checksum of the bytes it stored, and an exception that ended it.
class TracingStream : public InputStream {
public:
    explicit TracingStream(InputStream& source) : source_(source) {}

    int32_t read() override
    {
        const int32_t c = call([&] { return source_.read(); }, "byte");
        bytes_ = bytes_ * 31 + static_cast<uint32_t>(c);
        ++byteReads_;
        return c;
    }

    int32_t read(unsigned char* buffer, int32_t length) override
    {
        flushBytes();
        const int32_t n = call([&] { return source_.read(buffer, length); }, "block");
        uint32_t sum = 0;
        for (int32_t i = 0; i < n; ++i)
            sum = sum * 31 + buffer[i];
        trace.push_back("block " + std::to_string(length) + " -> " + std::to_string(n) + " #" + std::to_string(sum));
        return n;
    }

    // The reads so far, runs of single-byte reads as one line.
    std::vector<std::string> trace;
    void flushBytes()
    {
        if (byteReads_ == 0)
            return;
        trace.push_back(std::to_string(byteReads_) + " bytes #" + std::to_string(bytes_));
        byteReads_ = 0;
        bytes_ = 0;
    }

private:
    template <class Read>
    int32_t call(Read read, const char* kind)
    {
        try {
            return read();
        } catch (const Exception& failure) {
            flushBytes();
            trace.push_back(std::string(kind) + " threw " + failure.message().c_str());
            throw;
        } catch (const std::bad_alloc&) {
            flushBytes();
            trace.push_back(std::string(kind) + " threw bad_alloc");
            throw;
        }
    }

    InputStream& source_;
    uint32_t bytes_ = 0;
    int byteReads_ = 0;
};

// Every read of walkPayload on top and how the walk ended ("whole", "abort" or the
// exception), one line each, so that two ways of decoding the same payload can be compared
// read by read.
inline std::vector<std::string> traceWalk(InputStream& top)
{
    TracingStream tracing(top);
    std::string outcome = "whole";
    try {
        walkPayload(tracing, false);
    } catch (const Script::Abort&) {
        outcome = "abort";
    } catch (const Exception& failure) {
        outcome = failure.message().c_str();
    }
    tracing.flushBytes();
    tracing.trace.push_back(outcome);
    return tracing.trace;
}
