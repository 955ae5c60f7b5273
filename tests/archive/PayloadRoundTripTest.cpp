// Round trips: product folders packed by the build's payload builder with each codec,
// carried as resources of this program, decoded through the three layers and compared with
// the folders.
#include "TestStreams.h"

#include "archive/DecoderThread.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

struct Entry {
    std::string name;
    std::string data;
    long time;
};

// A line read byte by byte, as the archive reader reads lines; false at the end.
bool readLine(InputStream& stream, std::string& line)
{
    line.clear();
    for (int32_t c = stream.read(); c != -1; c = stream.read()) {
        if (c == '\n')
            return true;
        line += static_cast<char>(c);
    }
    return false;
}

void readRecord(InputStream& stream, std::string lines[3])
{
    std::string magic;
    ASSERT_TRUE(readLine(stream, magic));
    ASSERT_EQ(magic, "qxa-archive");
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(readLine(stream, lines[i])) << "record line " << i + 2;
}

// Decodes a payload into its entries, the data in 4096-byte block reads as the archive
// reader takes them, straight from the layers or through the decoder thread, and checks
// that nothing follows the last entry.
std::vector<Entry> decodePayload(int id, DecoderThread::Decoding decoding)
{
    PayloadStack stack(id);
    DecoderThread top(&stack.decode, decoding);
    std::string header[3];
    readRecord(top, header);
    const int count = std::atoi(header[0].c_str());
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        std::string lines[3];
        readRecord(top, lines);
        Entry entry{lines[0], "", std::atol(lines[2].c_str())};
        long remaining = std::atol(lines[1].c_str());
        while (remaining > 0) {
            unsigned char chunk[4096];
            const int32_t want = static_cast<int32_t>(std::min<long>(remaining, sizeof chunk));
            const int32_t got = top.read(chunk, want);
            EXPECT_EQ(got, want) << entry.name << " is cut short";
            if (got != want)
                return entries;
            entry.data.append(reinterpret_cast<char*>(chunk), got);
            remaining -= got;
        }
        entries.push_back(entry);
    }
    EXPECT_EQ(top.read(), -1) << "bytes after the last entry";
    EXPECT_EQ(top.threaded(), decoding == DecoderThread::ahead);
    return entries;
}

// The regular files below folder, names relative with '/', in byte order.
void listFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& names)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "/*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listFiles(folder + "/" + name, prefix + name + "/", names);
        else
            names.push_back(prefix + name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

std::string readFile(const std::string& path)
{
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return "<cannot open " + path + ">";
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

// The payload holds exactly the files of folder, in sorted order, with their bytes and
// modification times, read either way.
void expectPayloadIsFolder(int id, const std::string& folder)
{
    SCOPED_TRACE(folder);
    std::vector<std::string> names;
    listFiles(folder, "", names);
    std::sort(names.begin(), names.end());
    for (DecoderThread::Decoding decoding : {DecoderThread::callersThread, DecoderThread::ahead}) {
        SCOPED_TRACE(decoding == DecoderThread::ahead ? "decoder thread" : "caller's thread");
        const std::vector<Entry> entries = decodePayload(id, decoding);
        ASSERT_EQ(entries.size(), names.size());
        for (size_t i = 0; i < entries.size(); ++i) {
            const std::string path = folder + "/" + names[i];
            EXPECT_EQ(entries[i].name, names[i]);
            const std::string bytes = readFile(path);
            EXPECT_EQ(entries[i].data.size(), bytes.size()) << path;
            EXPECT_TRUE(entries[i].data == bytes) << path << ": the contents differ";
            struct _stat status;
            ASSERT_EQ(_stat(path.c_str(), &status), 0) << path;
            EXPECT_EQ(entries[i].time, static_cast<long>(status.st_mtime)) << path;
        }
    }
}

const std::string data = ARCHIVE_DATA_FOLDER;

// Each test product packed with bzip2 and with LZMA.
const struct {
    int bzip2;
    int lzma;
    const char* folder;
} products[] = {
    {emptyPayload, emptyLzma, "/empty"},
    {oneBytePayload, oneByteLzma, "/onebyte"},
    {stream1024Payload, stream1024Lzma, "/stream1024"},
    {stream2048Payload, stream2048Lzma, "/stream2048"},
    {bigPayload, bigLzma, "/big"},
    {manyEmptyPayload, manyEmptyLzma, "/manyempty"},
    {single20MBPayload, single20MBLzma, "/single20mb"},
};

} // namespace

TEST(PayloadRoundTrip, TestProductsWithBothCodecs)
{
    for (const auto& product : products) {
        for (int id : {product.bzip2, product.lzma}) {
            SCOPED_TRACE(id == product.lzma ? "LZMA" : "bzip2");
            expectPayloadIsFolder(id, data + product.folder);
        }
    }
    for (int id : {stream1024Payload, stream1024Lzma}) {
        PayloadStack stack(id);
        EXPECT_EQ(readAll(stack.decode).size(), 1024u) << "resource " << id;
        EXPECT_EQ(stack.decode.lzma(), id == stream1024Lzma);
    }
    for (int id : {bigPayload, bigLzma}) {
        const std::vector<Entry> entries = decodePayload(id, DecoderThread::ahead);
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_GT(entries[1].data.size(), 3000000u);
        EXPECT_EQ(entries[2].name, "x/y/z/bytes.bin");
        EXPECT_EQ(entries[2].time, 1600000000);
    }
}

// The product that this build's setup.exe carries, as resource 150 here too.
TEST(PayloadRoundTrip, DemoProduct)
{
    expectPayloadIsFolder(demoPayload, DEMO_PRODUCT_FOLDER);

    HMODULE setup = LoadLibraryExA(SETUP_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(setup != nullptr) << SETUP_EXE;
    HRSRC found = FindResourceA(setup, MAKEINTRESOURCEA(150), MAKEINTRESOURCEA(10));
    ASSERT_TRUE(found != nullptr) << "setup.exe has no resource 150";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(setup, found)));
    const std::string carried(bytes, SizeofResource(setup, found));
    FreeLibrary(setup);
    InputResource own(demoPayload);
    std::string payload(own.size(), '\0');
    own.read(reinterpret_cast<unsigned char*>(&payload[0]), static_cast<int32_t>(own.size()));
    EXPECT_TRUE(carried == payload) << "setup.exe carries another payload";
}
