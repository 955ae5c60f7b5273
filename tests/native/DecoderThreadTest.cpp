// Tests of the decoder thread: the reads it hands out against reading the stream stack
// directly, read by read, for whole, damaged and cut payloads of both codecs; the ends of
// the thread. Run
// under ThreadSanitizer too, as the queue's own tests (tests/archive/BlockQueueTest.cpp) are.
#include "archive/DecoderThread.h"
#include "tests/archive/TestStreams.h"
#include "tests/foundation/Concurrently.h"
#include "tests/fuzz/PayloadWalk.h"
#include "tests/native/TestPayloads.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <cerrno>
#include <cstring>

namespace {

// The threads of this process, as Linux lists them.
int threadCount()
{
    int count = 0;
    if (DIR* tasks = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(tasks))
            count += entry->d_name[0] != '.';
        closedir(tasks);
    }
    return count;
}

// The thread count once it has come down to expected, or after a second: a joined thread is
// still listed while the kernel finishes its exit (long enough to be seen under valgrind).
int threadCountDownTo(int expected)
{
    int count = threadCount();
    for (int i = 0; i < 100 && count > expected; ++i) {
        pauseMilliseconds(10);
        count = threadCount();
    }
    return count;
}

// The three layers over enciphered bytes held in memory.
struct MemoryStack {
    explicit MemoryStack(const std::string& enciphered) : source(enciphered), decipher(&source), decode(&decipher) {}
    MemorySource source;
    TeaDecipher decipher;
    PayloadDecode decode;
};

// The walk's reads straight from the stack and through the decoder thread.
void expectSameReads(const std::string& enciphered, const std::string& what)
{
    MemoryStack plain(enciphered);
    errno = EDOM;
    const std::vector<std::string> direct = traceWalk(plain.decode);
    MemoryStack threaded(enciphered);
    DecoderThread decoder(&threaded.decode);
    ASSERT_TRUE(decoder.threaded());
    errno = EDOM;
    const std::vector<std::string> ahead = traceWalk(decoder);
    ASSERT_EQ(ahead.size(), direct.size()) << what << ": ended with " << ahead.back() << ", not " << direct.back();
    for (size_t i = 0; i < direct.size(); ++i)
        ASSERT_EQ(ahead[i], direct[i]) << what << ": read " << i << " of " << direct.size();
}

// About 300 kB of entries of many sizes: in bzip2 blocks of 100 kB, the blocks end among
// small files and large ones.
std::vector<TestEntry> manySizes()
{
    std::vector<TestEntry> entries;
    size_t total = 0;
    for (int i = 0; total < 300000; ++i) {
        const size_t size = i % 7 == 0 ? 0 : (i * 7919) % 9000;
        std::string data = numbers(size + 40).substr(40);
        for (size_t at = 0; at < data.size(); at += 97)
            data[at] = static_cast<char>('a' + (i + at) % 26);
        entries.push_back({"dir" + std::to_string(i % 5) + "/file" + std::to_string(i) + ".txt", data});
        total += size + 40;
    }
    return entries;
}

// Throws after a number of bytes, as a failing layer below would.
class FailingSource : public InputStream {
public:
    FailingSource(std::string bytes, size_t failAt) : bytes_(std::move(bytes)), failAt_(failAt) {}
    int32_t read() override
    {
        if (position_ == failAt_)
            throw RuntimeException("the layer below failed");
        return position_ < bytes_.size() ? static_cast<unsigned char>(bytes_[position_++]) : -1;
    }
    using InputStream::read;

private:
    std::string bytes_;
    size_t failAt_;
    size_t position_ = 0;
};

} // namespace

TEST(DecoderThread, ReadsMatchTheStackReadByRead)
{
    std::vector<TestEntry> many;
    for (int i = 0; i < 500; ++i)
        many.push_back({"empty/" + std::to_string(i), i % 50 == 49 ? "x" : ""});
    const struct {
        const char* what;
        std::vector<TestEntry> entries;
    } cases[] = {
        {"no entries", {}},
        {"one byte", {{"a", "x"}}},
        {"chunk edges", {{"a", numbers(4095)}, {"b", numbers(4096)}, {"c", numbers(4097)}, {"d", numbers(8192)}}},
        {"queue edges", {{"a", numbers(65536 - 30)}, {"b", numbers(65536)}, {"c", numbers(3 * 65536 + 1)}}},
        {"many empty files", many},
        {"one 1 MB file", {{"big", numbers(1000000)}}},
        {"many sizes", manySizes()},
    };
    for (const auto& c : cases) {
        expectSameReads(payload(c.entries), c.what);
        expectSameReads(payload(c.entries, Codec::bzip2, 1), std::string(c.what) + ", blocks of 100 kB");
        expectSameReads(payload(c.entries, Codec::lzma), std::string(c.what) + ", LZMA");
    }
}

// libbzip2 reports damage only after it has written the bytes before it in the same call,
// and LzmaDecode hands out what it decoded before the damage: which bytes a reader gets
// before the failure depends on the sizes of the reads, which the thread therefore makes
// exactly as the extraction does. Damaged LZMA data ends as cut data does (an abort).
TEST(DecoderThread, DamagedAndCutPayloadsFailAtTheSameRead)
{
    for (Codec codec : {Codec::bzip2, Codec::lzma}) {
        const std::string name = codec == Codec::lzma ? "LZMA, " : "bzip2, ";
        const std::string whole = payload(manySizes(), codec, 1);
        MemoryStack intact(whole);
        const std::vector<std::string> wholeTrace = traceWalk(intact.decode);
        int bzipFailures = 0;
        int aborts = 0;
        auto check = [&](const std::string& bytes, const std::string& what) {
            expectSameReads(bytes, name + what);
            MemoryStack stack(bytes);
            const std::vector<std::string> trace = traceWalk(stack.decode);
            bzipFailures += trace.back().find("BzipDecode error") == 0;
            aborts += trace.back() == "abort";
            // LZMA has no check of its own: what reads whole must be the very bytes packed
            // (a flip in the stream's last flush bytes or the padding changes nothing).
            if (codec == Codec::lzma && trace.back() == "whole")
                EXPECT_EQ(trace, wholeTrace) << name << what << " reads whole, with other bytes";
        };
        for (size_t cut : {size_t(0), size_t(8), size_t(4096), whole.size() / 3, whole.size() / 2, whole.size() - 64})
            check(whole.substr(0, cut), "cut at " + std::to_string(cut));
        for (size_t at = 0; at < whole.size(); at += whole.size() / 13) {
            std::string damaged = whole;
            damaged[at] = static_cast<char>(damaged[at] ^ 0x40);
            check(damaged, "byte " + std::to_string(at) + " flipped");
        }
        if (codec == Codec::bzip2) {
            EXPECT_GT(bzipFailures, 3) << "the flips are to reach the decompressor's checks";
            EXPECT_GT(aborts, 3) << "the cuts are to end the data early";
        } else {
            // Only a flip of the first block (the codec's name) reaches libbzip2.
            EXPECT_LE(bzipFailures, 1);
            EXPECT_GT(aborts, 15) << "the cuts and flips are to end the LZMA walk early";
        }
    }
}

TEST(DecoderThread, FailuresOfTheLayersBelowReachTheReaderAtTheSameRead)
{
    const std::string decoded = "qxa-archive\n2\n0\n0\nqxa-archive\na\n5000\n0\n" + numbers(5000) +
                                "qxa-archive\nb\n3\n0\nxyz";
        // The header is 18 bytes, the first entry's record 21 and its data 5000, the second's
    // record 18 and its data 3.
    for (size_t failAt : {size_t(0), size_t(5), size_t(18), size_t(39), size_t(40), size_t(5039), size_t(5059)}) {
        FailingSource plain(decoded, failAt);
        const std::vector<std::string> direct = traceWalk(plain);
        FailingSource below(decoded, failAt);
        DecoderThread decoder(&below);
        EXPECT_EQ(traceWalk(decoder), direct) << "failing at byte " << failAt;
        EXPECT_EQ(direct.back(), "RuntimeException: the layer below failed") << "failing at byte " << failAt;
    }
}

// The thread's errno is not the reader's: the decoder's failure is made again where it is
// read, as it was made there before there was a thread.
TEST(DecoderThread, DecoderFailureCarriesTheReadersErrnoText)
{
    for (DecoderThread::Decoding decoding : {DecoderThread::ahead, DecoderThread::callersThread}) {
        for (int error : {ENOENT, EACCES}) {
            MemoryStack stack(std::string(4096, 'g'));
            DecoderThread decoder(&stack.decode, decoding);
            EXPECT_EQ(decoder.threaded(), decoding == DecoderThread::ahead);
            errno = error;
            try {
                decoder.read();
                FAIL() << "garbage was decoded";
            } catch (const BzipDecode::Exception& failure) {
                EXPECT_EQ(failure.result(), BZ_DATA_ERROR_MAGIC);
                EXPECT_EQ(std::string(failure.text().c_str()), std::string("bzDecompress=-5: ") + std::strerror(error));
            }
        }
    }
}

// Whatever the walk does not read (bytes after the last entry, a stream that is no
// payload) comes from the stream below once the thread has finished with it.
TEST(DecoderThread, ReadsBeyondTheWalkComeFromTheStreamBelow)
{
    const std::string payloads[] = {
        "qxa-archive\n1\n0\n0\nqxa-archive\na\n3\n0\nabcTRAILING BYTES\n",
        "qxa-archive\n1\n0\n0\nqxa-archive\n../a\n3\n0\nabc",
        "no payload at all\nsecond line",
        "qxa-archive\n2\n0\n0\nqxa-archive\na\n10\n0\nshort",
        "",
    };
    for (const std::string& bytes : payloads) {
        for (int32_t chunk : {1, 7, 4096}) {
            MemorySource plain(bytes);
            MemorySource below(bytes);
            DecoderThread decoder(&below);
            std::string direct, ahead;
            unsigned char buffer[4096];
            for (int32_t n; (n = plain.read(buffer, chunk)) > 0;)
                direct.append(reinterpret_cast<char*>(buffer), n);
            for (int32_t n; (n = decoder.read(buffer, chunk)) > 0;)
                ahead.append(reinterpret_cast<char*>(buffer), n);
            EXPECT_EQ(ahead, direct) << "reads of " << chunk;
            EXPECT_EQ(decoder.read(), -1);
            EXPECT_EQ(decoder.read(buffer, 0), plain.read(buffer, 0)) << "a read of 0 bytes at the end";
        }
        MemorySource below(bytes);
        DecoderThread decoder(&below);
        EXPECT_EQ(readAll(decoder), bytes) << "byte by byte";
    }
}

// close() ends the thread wherever it is: not yet started, decoding, waiting for a free
// buffer, finished; nothing is read after it.
TEST(DecoderThread, CloseEndsTheThreadWherever)
{
    const std::string bzip2 = payload({{"a", numbers(600000)}, {"b", numbers(10)}}, Codec::bzip2, 1);
    const std::string lzma = payload({{"a", numbers(600000)}, {"b", numbers(10)}}, Codec::lzma);
    const int before = threadCount();
    for (int readFirst : {0, 1, 100, 5000, 70000, 599000, -1, -5000, -599000}) {
        SCOPED_TRACE(std::to_string(readFirst) + " bytes read first (negative: LZMA)");
        const std::string& big = readFirst < 0 ? lzma : bzip2;
        readFirst = readFirst < 0 ? -readFirst : readFirst;
        MemoryStack stack(big);
        DecoderThread decoder(&stack.decode);
        EXPECT_EQ(threadCount(), before + 1);
        unsigned char buffer[4096];
        for (int32_t left = readFirst; left > 0;) {
            const int32_t n = decoder.read(buffer, left < 4096 ? left : 4096);
            ASSERT_GT(n, 0);
            left -= n;
        }
        if (readFirst == 5000)
            pauseMilliseconds(100); // the queue fills up
        decoder.close();
        EXPECT_EQ(threadCountDownTo(before), before);
        EXPECT_EQ(decoder.read(), -1);
        EXPECT_EQ(decoder.read(buffer, 10), -1);
        decoder.close();
    }
    {
        MemoryStack stack(bzip2);
        DecoderThread decoder(&stack.decode);
    }
    EXPECT_EQ(threadCountDownTo(before), before) << "the destructor joins too";
}
