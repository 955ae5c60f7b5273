// InstallRecord: the list the install leaves in its folder, written from the journal and
// read back with only what lies inside the folder.
#include "setup/InstallRecord.h"

#include "foundation/MachineChanges.h"
#include "setup/Journal.h"
#include "tests/foundation/TempFolder.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> listed(const Array<String>& written)
{
    std::vector<std::string> out;
    for (const String& path : written)
        out.push_back(path.c_str());
    return out;
}

} // namespace

// A record may have been changed since the install wrote it: a line that would lead out of
// the folder is left out, whatever form it takes.
TEST(InstallRecord, OnlyPathsInsideTheFolderAreRead)
{
    const struct {
        const char* line;
        bool read;
    } cases[] = {
        {"bin\\trqc.exe", true},
        {"sample/text/hello.c", true},
        {"bin", true},
        {"..\\other.txt", false},
        {"bin\\..\\..\\other.txt", false},
        {"bin\\.\\trqc.exe", false},
        {". .\\other.txt", false},
        {"C:\\Windows\\win.ini", false},
        {"\\Windows\\win.ini", false},
        {"\\\\server\\share\\file", false},
        {"bin\\trqc.exe:stream", false},
        {"bin\\\\trqc.exe", true}, // an empty part, which Win32 reads as none
        {"", false},
    };
    TempFolder folder("record read");
    std::string text = "TRQFILES1\r\n";
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        text += std::string(c.line) + "\r\n";
        if (c.read)
            expected.push_back(c.line);
    }
    testSupport::write((folder + "setup.files").c_str(), text);
    Array<String> written;
    ASSERT_TRUE(readInstallRecord(folder.path(), written));
    EXPECT_EQ(listed(written), expected);
}

// The install's record lists what its journal says it made inside the folder, and is itself
// a change of the run: a rollback takes it away.
TEST(InstallRecord, WrittenFromTheJournalAndTakenBackWithIt)
{
    TempFolder folder("record write");
    Journal journal;
    journal.begin(folder.path(), Array<String>());
    {
        const MachineChanges::Recording recording(&journal);
        journal.creatingFolder(folder + "bin");
        journal.creatingFile(folder + "bin/trqc.exe");
        journal.creatingFile("C:\\elsewhere.txt");
        journal.creatingFile(folder + "uninstall.exe");
        writeInstallRecord(journal);
    }
    Array<String> written;
    ASSERT_TRUE(readInstallRecord(folder.path(), written));
    EXPECT_EQ(listed(written), (std::vector<std::string>{"bin", "bin\\trqc.exe", "uninstall.exe"}));
    journal.rollBack();
    EXPECT_EQ(GetFileAttributesA((folder + "setup.files").c_str()), INVALID_FILE_ATTRIBUTES);
}
