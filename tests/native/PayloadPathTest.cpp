// Tests of the record reading and of the whole payload path, from enciphered bytes held in
// memory to entries, natively and under the sanitizers.
#include "tests/archive/TestStreams.h"
#include "tests/fuzz/PayloadWalk.h"
#include "tests/native/TestPayloads.h"

#include <gtest/gtest.h>

namespace {

using Entry = TestEntry;

std::vector<WalkedEntry> walk(const std::string& enciphered)
{
    MemorySource source(enciphered);
    TeaDecipher decipher(&source);
    PayloadDecode decode(&decipher);
    return walkPayload(decode, true, &decode);
}

const struct {
    const char* name;
    Codec codec;
} codecs[] = {{"bzip2", Codec::bzip2}, {"lzma", Codec::lzma}};

} // namespace

TEST(RecordReader, LinesAcrossThePendingBufferAndNulBytes)
{
    const std::string long255(255, 'a'), long256(256, 'b'), long257(257, 'c'), long600(600, 'd');
    MemorySource source(long255 + "\n" + long256 + "\n" + long257 + "\n" + long600 + std::string("\nx\0y\n\ntail\0", 12));
    RecordReader reader(&source);
    String line;
    for (const std::string* expected : {&long255, &long256, &long257, &long600}) {
        ASSERT_TRUE(reader.readLine(line));
        EXPECT_EQ(std::string(line.c_str(), line.length()), *expected);
    }
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_STREQ(line.c_str(), "xy") << "NUL bytes are dropped";
    ASSERT_TRUE(reader.readLine(line));
    EXPECT_EQ(line.length(), 0);
    EXPECT_FALSE(reader.readLine(line)) << "a last line without its line feed is cut";
    EXPECT_STREQ(line.c_str(), "tail");
    EXPECT_FALSE(reader.readLine(line));
    EXPECT_EQ(line.length(), 0);
}

TEST(RecordReader, WrongMagicAndCutRecords)
{
    String a, b, c;
    MemorySource good("qxa-archive\n1\n2\n3\n");
    EXPECT_TRUE(RecordReader(&good).readRecord(a, b, c));
    EXPECT_STREQ(c.c_str(), "3");
    for (const char* bad : {"qxa-archivE\n1\n2\n3\n", "qxa-archive \n1\n2\n3\n", "qxa-archive\n1\n2\n3", "qxa-archive", ""}) {
        MemorySource source(bad);
        EXPECT_FALSE(RecordReader(&source).readRecord(a, b, c)) << bad;
    }
}

TEST(RecordReader, EntryNamesThatLeaveTheFolder)
{
    for (const char* inside : {"a", "bin/x.exe", "a\\b", "a..b/c", ".profile", "a/.x", "a//b", "x/"})
        EXPECT_TRUE(RecordReader::staysInside(inside)) << inside;
    for (const char* outside : {"", "/etc/x", "\\x", "C:x", "a/b:stream", "..", "../x", "a/../..", "a\\..\\b",
                                "... ", ". /x", "a/.. ", "a/.", "./a"})
        EXPECT_FALSE(RecordReader::staysInside(outside)) << outside;
}

TEST(PayloadPath, EntriesComeBackWhole)
{
    const std::vector<Entry> entries = {{"help/empty.txt", ""}, {"lib/big.bin", numbers(10000)}, {"bin/a", "x"}};
    for (const auto& codec : codecs) {
        const std::vector<WalkedEntry> walked = walk(payload(entries, codec.codec));
        ASSERT_EQ(walked.size(), entries.size()) << codec.name;
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(walked[i].name, entries[i].name) << codec.name;
            EXPECT_EQ(walked[i].data, entries[i].data) << codec.name << ": " << entries[i].name;
            EXPECT_EQ(walked[i].time, 1234567890) << codec.name;
        }
    }
    EXPECT_TRUE(walk(payload({}, Codec::lzma)).empty()) << "an LZMA payload of no entries";
}

// A cut or damaged payload ends in Script::Abort or BzipDecode::Exception, never in
// entries that look whole: for LZMA, which has no check of its own, also not a flip in the
// last bytes of the stream, which only the CRC of the decoded bytes finds.
TEST(PayloadPath, CutAndDamagedPayloadsNeverLookWhole)
{
    const std::vector<Entry> entries = {{"a.txt", numbers(3000)}, {"b.txt", numbers(50000)}};
    for (const auto& codec : codecs) {
        SCOPED_TRACE(codec.name);
        const std::string whole = payload(entries, codec.codec);
        auto outcome = [](const std::string& bytes) -> std::string {
            try {
                walk(bytes);
                return "whole";
            } catch (const Script::Abort&) {
                return "abort";
            } catch (const BzipDecode::Exception&) {
                return "bzip";
            }
        };
        EXPECT_EQ(outcome(whole), "whole");
        // The last 8 bytes hold no more than the stream's trailer: the entries come out
        // whole, but the stream does not end whole.
        for (size_t cut : {size_t(0), size_t(7), size_t(8), whole.size() / 2, whole.size() - 24, whole.size() - 8})
            EXPECT_NE(outcome(whole.substr(0, cut)), "whole") << "cut at " << cut;
        for (size_t at : {size_t(0), size_t(5), size_t(12), size_t(20), whole.size() / 3, whole.size() / 2,
                          whole.size() - 9}) {
            std::string damaged = whole;
            damaged[at] = static_cast<char>(damaged[at] ^ 0x5a);
            EXPECT_NE(outcome(damaged), "whole") << "byte " << at << " flipped";
        }
    }
}

// An LZMA header that would take more memory than the builder's, or that disagrees with
// the stream, makes the payload damaged before anything is decoded wrongly.
TEST(PayloadPath, LzmaHeadersOutsideTheBoundsAreDamage)
{
    MemorySource source(payload({{"a.txt", numbers(70000)}}, Codec::lzma));
    TeaDecipher decipher(&source);
    const std::string plain = readAll(decipher);
    ASSERT_EQ(plain.substr(0, 4), "LZMA");
    auto setWord = [](std::string& bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
    };
    const uint32_t size = lzmaFormat::loadLittleEndian(reinterpret_cast<const unsigned char*>(plain.data()) + 9);
    const struct {
        const char* what;
        size_t at; // 4: properties byte, 5: dictionary, 9: size, 13: CRC
        uint32_t value;
    } cases[] = {
        {"a dictionary of 8 MiB", 5, 8u << 20},
        {"lc 4, lp 1", 4, (2 * 5 + 1) * 9 + 4},
        {"lc 9 (no LZMA properties)", 4, 9 * 5 * 5},
        {"one byte less", 9, size - 1},
        {"one byte more, which the stream does not hold", 9, size + 1},
        {"another CRC", 13, 12345},
    };
    for (const auto& c : cases) {
        std::string damaged = plain;
        if (c.at == 4)
            damaged[4] = static_cast<char>(c.value);
        else
            setWord(damaged, c.at, c.value);
        MemorySource bytes(enciphered(damaged));
        TeaDecipher layer(&bytes);
        PayloadDecode decode(&layer);
        EXPECT_THROW(walkPayload(decode, true, &decode), Script::Abort) << c.what;
        EXPECT_TRUE(decode.lzma()) << c.what;
    }
    MemorySource bytes(enciphered(plain));
    TeaDecipher layer(&bytes);
    PayloadDecode decode(&layer);
    EXPECT_EQ(walkPayload(decode, true, &decode).size(), 1u) << "the payload deciphered and enciphered again";
}

TEST(PathText, ResolvedAsksForTheCurrentDirectoryOnlyWhenNeeded)
{
    static int asked;
    auto current = []() {
        ++asked;
        return Path("D:\\work\\dir\\");
    };
    asked = 0;
    EXPECT_STREQ(Path("C:/a/./b/../c").resolved(current).c_str(), "C:\\a\\c");
    EXPECT_STREQ(Path("//srv/share/f").resolved(current).c_str(), "\\\\srv\\share\\f");
    // A UNC start whose server is "." (the device namespace) stays absolute.
    EXPECT_STREQ(Path("//./b").resolved(current).c_str(), "\\\\.\\b\\");
    EXPECT_STREQ(Path("//../b/c").resolved(current).c_str(), "\\\\..\\b\\c");
    EXPECT_EQ(asked, 0);
    EXPECT_STREQ(Path("../../../x/").resolved(current).c_str(), "D:\\x\\");
    EXPECT_STREQ(Path("/x").resolved(current).c_str(), "D:\\x");
    EXPECT_EQ(asked, 2);
}
