// Payloads made in memory by the payload builder's writer, for the native tests.
#pragma once

#include "archive/LzmaFormat.h"
#include "archive/TeaKey.h"
#include "tools/payload/PayloadWriter.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct TestEntry {
    std::string name;
    std::string data;
};

using Codec = PayloadWriter::Codec;

// The payload the builder writes for these entries (each with the time 1234567890), as
// enciphered bytes; for bzip2, blocks of blockSize100k times 100 kB.
inline std::string payload(const std::vector<TestEntry>& entries, Codec codec = Codec::bzip2,
                           int blockSize100k = 9)
{
    char* bytes = nullptr;
    size_t size = 0;
    std::FILE* file = open_memstream(&bytes, &size);
    {
        PayloadWriter writer(file, codec, blockSize100k);
        writer.record(std::to_string(entries.size()), "0", "0");
        for (const TestEntry& entry : entries) {
            writer.record(entry.name, std::to_string(entry.data.size()), "1234567890");
            writer.write(entry.data.data(), entry.data.size());
        }
        writer.finish();
    }
    std::fclose(file);
    std::string result(bytes, size);
    std::free(bytes);
    return result;
}

// Bytes enciphered as the builder does, padded with zero bytes to whole blocks.
inline std::string enciphered(std::string plain)
{
    plain.resize((plain.size() + 7) / 8 * 8, '\0');
    uint32_t key[4];
    for (int i = 0; i < 4; ++i)
        key[i] = lzmaFormat::loadLittleEndian(teaKey + 4 * i);
    for (size_t at = 0; at < plain.size(); at += 8)
        PayloadWriter::encipherBlock(key, reinterpret_cast<unsigned char*>(&plain[at]));
    return plain;
}

// "1\n2\n3\n..." cut to length bytes.
inline std::string numbers(size_t length)
{
    std::string text;
    for (int i = 1; text.size() < length; ++i)
        text += std::to_string(i) + "\n";
    return text.substr(0, length);
}
