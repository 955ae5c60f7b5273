// Tests of File on real files: modes, failures with their titles and texts, closing.
#include "foundation/File.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <string>

namespace {

const int readOnly = 0;
const int createWrite = 769; // _O_WRONLY | _O_CREAT | _O_TRUNC

std::string text(const char* title, const String& subject, int error)
{
    return std::string(title) + ": " + subject.c_str() + ": " + std::strerror(error);
}

} // namespace

TEST(File, OpenAndCreateFailuresNameTheFile)
{
    TempFolder temp("file open");
    const String missing = temp + "missing.bin";
    EXPECT_EQ(failureOf([&] { File f(missing, readOnly); }), text("File open error", missing, ENOENT));
    const String nowhere = temp + "no folder\\new.bin";
    EXPECT_EQ(failureOf([&] { File f(nowhere, createWrite); }), text("File create error", nowhere, ENOENT));
    // Truncating without creating counts as creating too.
    EXPECT_EQ(failureOf([&] { File f(missing, _O_WRONLY | _O_TRUNC); }), text("File create error", missing, ENOENT));
    EXPECT_FALSE(GetFileAttributesA(missing.c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST(File, BinaryByDefaultTextOnRequest)
{
    TempFolder temp("file modes");
    const String binary = temp + "binary.bin";
    {
        File f(binary, createWrite);
        EXPECT_STREQ(f.name().c_str(), binary.c_str());
        f.write("a\r\nb\nc\x1a" "d", 8);
        f.write("never", 0);
    }
    EXPECT_EQ(readFile(binary), std::string("a\r\nb\nc\x1a" "d"));
    EXPECT_FALSE(GetFileAttributesA(binary.c_str()) & FILE_ATTRIBUTE_READONLY);

    File in(binary, readOnly);
    char buffer[16];
    EXPECT_EQ(in.read(buffer, sizeof buffer), 8);
    EXPECT_EQ(std::string(buffer, 8), std::string("a\r\nb\nc\x1a" "d"));
    EXPECT_EQ(in.read(buffer, sizeof buffer), 0);
    EXPECT_EQ(in.seek(2, 0), 2);
    EXPECT_EQ(in.seek(1, 1), 3);
    EXPECT_EQ(in.seek(0, 2), 8);
    EXPECT_EQ(in.read(buffer, sizeof buffer), 0);

    const String text = temp + "text.txt";
    {
        File f(text, createWrite | _O_TEXT);
        f.write("a\nb", 3);
    }
    EXPECT_EQ(readFile(text), "a\r\nb");
}

TEST(File, LargeWritesAreWrittenCompletely)
{
    TempFolder temp("file large");
    const String name = temp + "large.bin";
    std::string data(300000, '\0');
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    {
        File f(name, createWrite);
        EXPECT_EQ(f.write(data.data(), static_cast<int>(data.size())), static_cast<int>(data.size()));
    }
    EXPECT_TRUE(readFile(name) == data);
}

TEST(File, OthersMayUseTheFileWhileItIsOpen)
{
    TempFolder temp("file shared");
    const String name = temp + "shared.bin";
    File writer(name, createWrite);
    writer.write("abc", 3);
    File reader(name, readOnly);
    char buffer[4];
    EXPECT_EQ(reader.read(buffer, sizeof buffer), 3);
    File second(name, _O_RDWR);
}

TEST(File, TransferFailuresNameThePositionInHexadecimal)
{
    TempFolder temp("file transfer");
    const String name = temp + "data.bin";
    std::string bytes(0x1234, 'x');
    {
        File out(name, createWrite);
        out.write(bytes.data(), static_cast<int>(bytes.size()));
        char buffer[4];
        // Reading a write-only file fails where the file stands.
        EXPECT_EQ(failureOf([&] { out.read(buffer, sizeof buffer); }), text("File read error", name + " at 1234", EBADF));
    }
    File in(name, readOnly);
    in.seek(0x2a, 0);
    EXPECT_EQ(failureOf([&] { in.write("y", 1); }), text("File write error", name + " at 2a", EBADF));
    // The no-op write needs no system call and cannot fail.
    EXPECT_EQ(failureOf([&] { in.write("y", 0); }), "(nothing thrown)");
    // A seek shows the offset asked for; -1 shows the current position instead.
    EXPECT_EQ(failureOf([&] { in.seek(-5, 0); }), text("File seek error", name + " at fffffffb", EINVAL));
    EXPECT_EQ(failureOf([&] { in.seek(-1, 1); in.seek(-1, 0); }), text("File seek error", name + " at 29", EINVAL));
}

TEST(File, CloseTwiceIsHarmlessAndTransfersAfterCloseFail)
{
    TempFolder temp("file close");
    const String name = temp + "closed.bin";
    File f(name, createWrite);
    f.write("abc", 3);
    EXPECT_EQ(f.close(), 0);
    EXPECT_EQ(f.close(), 0);
    EXPECT_EQ(readFile(name), "abc");
    char buffer[4];
    EXPECT_EQ(failureOf([&] { f.read(buffer, 1); }), text("File read error", name + " at ffffffff", EBADF));
    EXPECT_EQ(failureOf([&] { f.write("d", 1); }), text("File write error", name + " at ffffffff", EBADF));
    // The file is no longer held: it can be deleted while the object still lives.
    EXPECT_TRUE(DeleteFileA(name.c_str()));
}

// The time set on the open file is the one the closed file keeps, for access and
// modification alike, even with the last write just before it.
TEST(File, ModificationTimeSetWhileOpenSurvivesTheClose)
{
    TempFolder temp("file time");
    const String name = temp + "stamped.bin";
    File f(name, createWrite);
    f.write("abc", 3);
    ASSERT_TRUE(f.setModificationTime(1000000000));
    EXPECT_EQ(f.close(), 0);
    struct _stat record;
    ASSERT_EQ(_stat(name.c_str(), &record), 0);
    EXPECT_EQ(record.st_mtime, 1000000000);
    EXPECT_EQ(record.st_atime, 1000000000);
    EXPECT_EQ(record.st_size, 3);
    errno = 0;
    EXPECT_FALSE(f.setModificationTime(0)) << "closed";
    EXPECT_EQ(errno, EBADF);
}
