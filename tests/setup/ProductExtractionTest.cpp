// ProductExtraction: the install's extraction of payloads made by the builder (resources
// 170 and up) into fresh folders, checked on disk, its steps recorded.
#include "setup/ProductExtraction.h"

#include "foundation/Exception.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

using namespace testSupport;

enum Payload { None = 170, Full = 171, Cut = 172, Magic = 173, HeaderCut = 174, FirstEscape = 180 };

const char* const folders[] = {"bin", "help", "include", "lib", "numega", "sample", "sample/text", "sample/win", "src"};
const char* const wrapperNames[] = {"bcc32", "c++", "cc68k", "ccppc", "ccxa", "cl", "g++", "gcc", "link",
                                    "mcc68k", "powerpc-wrs-vxworks-gcc"};

std::string freshFolder(const char* name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + name + "\\";
    if (Path(folder.c_str()).isDirectory())
        Path(folder.c_str()).remove();
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isDirectory(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

long long modificationTime(const std::string& path)
{
    struct _stat record;
    return _stat(path.c_str(), &record) == 0 ? record.st_mtime : -1;
}

// Records what the extraction reports; cancels at the given poll (1 = the first; 0 = never).
class RecordingView : public ExtractionView {
public:
    explicit RecordingView(int cancelAt = 0) : cancelAt_(cancelAt) {}
    void setRange(int steps) override { range = steps; }
    void nextFile(const String& path) override
    {
        ++steps;
        lastFile = path.c_str();
    }
    void skipStep() override { ++steps; }
    bool pollCancel() override
    {
        if (++polls != cancelAt_)
            return false;
        SetLastError(ERROR_CANCELLED);
        return true;
    }
    void showFailure(const String& text, unsigned) override { failures.push_back(text.c_str()); }

    int range = 0;
    int steps = 0;
    int polls = 0;
    std::string lastFile;
    std::vector<std::string> failures;

private:
    int cancelAt_;
};

struct Extraction {
    explicit Extraction(int payload, const bool* flags, const char* name = "trq extract", int cancelAt = 0)
        : destination(freshFolder(name).c_str()), programFolder(freshFolder("trq program").c_str()), view(cancelAt),
          extraction(programFolder, destination, flags, view, payload)
    {
    }
    bool run()
    {
        SetLastError(0);
        result = extraction.run();
        error = GetLastError();
        return result;
    }
    std::string at(const char* name) const { return std::string(destination.c_str()) + name; }

    Path destination;
    Path programFolder;
    RecordingView view;
    ProductExtraction extraction;
    bool result = false;
    DWORD error = 0;
};

const bool allFamilies[5] = {true, true, true, true, true};
const bool onlyMicrosoft[5] = {false, false, true, false, false};

TEST(ProductExtraction, NoEntriesStillPreparesTheFolderAndCopiesWrappersAndUninstaller)
{
    Extraction run(None, allFamilies);
    const std::string destination = run.destination.c_str();
    CreateDirectoryA((destination + "bin").c_str(), nullptr);
    CreateDirectoryA((destination + "cpp").c_str(), nullptr);
    CreateDirectoryA((destination + "numega").c_str(), nullptr);
    CreateDirectoryA((destination + "numega\\old").c_str(), nullptr);
    const char* const leftovers[] = {"bin/old.dll", "bin/old.exe", "bin/old.exe-", "bin/trelliq.cnt",
                                     "bin/trelliq.hlp", "bin/trqset.bat", "cpp/x.c", "numega/old/cl.exe",
                                     "numega/link.exe"};
    for (const char* leftover : leftovers)
        write(destination + leftover, "old");
    write(destination + "bin/keep.txt", "mine");
    CreateDirectoryA((std::string(run.programFolder.c_str()) + "bin").c_str(), nullptr);
    write(std::string(run.programFolder.c_str()) + "bin\\trqc.exe", "wrapper beside setup");

    EXPECT_TRUE(run.run());
    EXPECT_TRUE(run.view.failures.empty()) << run.view.failures.front();
    for (const char* folder : folders)
        EXPECT_TRUE(isDirectory(destination + folder)) << folder;
    for (const char* leftover : leftovers)
        EXPECT_FALSE(exists(destination + leftover)) << leftover << " is left over";
    EXPECT_FALSE(exists(destination + "cpp")) << "the folder goes with its contents";
    EXPECT_TRUE(isDirectory(destination + "numega")) << "only its contents go";
    EXPECT_EQ(contents(destination + "bin/keep.txt"), "mine");
    for (const char* name : wrapperNames)
        EXPECT_EQ(contents(destination + "bin/" + name + ".exe-"), "wrapper beside setup") << name;
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_EQ(contents(destination + "uninstall.exe"), contents(self));
    EXPECT_EQ(run.view.range, 28);
    EXPECT_EQ(run.view.steps, 21);
    Path(destination.c_str()).remove();
}

TEST(ProductExtraction, EntriesKeepTheirBytesAndTimesAndOnlyTickedWrappersAreMade)
{
    Extraction run(Full, onlyMicrosoft);
    const std::string destination = run.destination.c_str();
    write(destination + "bin", "a file where the folder goes");

    EXPECT_TRUE(run.run());
    EXPECT_TRUE(run.view.failures.empty()) << run.view.failures.front();
    EXPECT_TRUE(isDirectory(destination + "bin")) << "the file bin is replaced by a folder";

    EXPECT_TRUE(exists(destination + "help/empty.txt"));
    EXPECT_EQ(contents(destination + "help/empty.txt"), "");
    EXPECT_EQ(modificationTime(destination + "help/empty.txt"), 1234567890);
    std::string numbers;
    for (int i = 1; numbers.size() < 10000; ++i)
        numbers += std::to_string(i) + "\n";
    EXPECT_EQ(contents(destination + "lib/big.bin"), numbers.substr(0, 10000)) << "4096 + 4096 + 1808 bytes";
    EXPECT_EQ(modificationTime(destination + "lib/big.bin"), 1600000000);
    EXPECT_EQ(modificationTime(destination + "bin/trqc.exe"), 1500000000);

    // No bin/trqc.exe beside the program: the extracted one is the source.
    for (const char* name : wrapperNames) {
        const bool microsoft = std::string(name) == "cl" || std::string(name) == "link";
        EXPECT_EQ(exists(destination + "bin/" + name + ".exe-"), microsoft) << name;
    }
    EXPECT_EQ(contents(destination + "bin/cl.exe-"), "extracted wrapper\n");
    EXPECT_EQ(contents(destination + "bin/link.exe-"), "extracted wrapper\n");
    // 9 folders + 3 entries + 11 wrapper rows (9 of them unticked) + the uninstaller.
    EXPECT_EQ(run.view.range, 3 + 28);
    EXPECT_EQ(run.view.steps, 3 + 21);
    EXPECT_TRUE(exists(destination + "uninstall.exe"));
    Path(destination.c_str()).remove();
}

// A bin\trqc.exe planted beside setup.exe (a ZIP, a share) must not become cl.exe-.
TEST(ProductExtraction, TheProductsOwnWrapperIsPreferredToOneBesideTheSetupProgram)
{
    Extraction run(Full, onlyMicrosoft);
    CreateDirectoryA((std::string(run.programFolder.c_str()) + "bin").c_str(), nullptr);
    write(std::string(run.programFolder.c_str()) + "bin\\trqc.exe", "wrapper beside setup");
    EXPECT_TRUE(run.run());
    EXPECT_EQ(contents(run.at("bin/cl.exe-")), "extracted wrapper\n");
    EXPECT_EQ(contents(run.at("bin/link.exe-")), "extracted wrapper\n");
    EXPECT_EQ(contents(run.at("bin/trqc.exe")), "extracted wrapper\n");
    Path(run.destination).remove();
}

TEST(ProductExtraction, CutForeignOrCancelledPayloadsEndTheExtractionQuietly)
{
    {
        Extraction run(Cut, allFamilies);
        EXPECT_FALSE(run.run());
        EXPECT_EQ(run.error, static_cast<DWORD>(ERROR_FILE_CORRUPT));
        EXPECT_FALSE(exists(run.at("lib/cut.bin"))) << "a file cut short must not stay looking whole";
        EXPECT_FALSE(exists(run.at("bin/cl.exe-"))) << "nothing runs after the abort";
        EXPECT_FALSE(exists(run.at("uninstall.exe")));
        EXPECT_TRUE(run.view.failures.empty()) << run.view.failures.front();
        Path(run.destination).remove();
    }
    for (int payload : {Magic, HeaderCut}) {
        Extraction run(payload, allFamilies);
        EXPECT_FALSE(run.run()) << payload;
        EXPECT_EQ(run.error, static_cast<DWORD>(ERROR_FILE_CORRUPT)) << payload;
        EXPECT_FALSE(exists(run.at("bin"))) << "the header is read before any folder is made";
        EXPECT_TRUE(run.view.failures.empty()) << run.view.failures.front();
        Path(run.destination).remove();
    }
    // A cancel before the second entry: the first is whole, nothing after it is written.
    Extraction run(Full, allFamilies, "trq extract", 2);
    EXPECT_FALSE(run.run());
    EXPECT_EQ(run.error, static_cast<DWORD>(ERROR_CANCELLED));
    EXPECT_EQ(run.view.polls, 2);
    EXPECT_EQ(contents(run.at("bin/trqc.exe")), "extracted wrapper\n");
    EXPECT_FALSE(exists(run.at("help/empty.txt")));
    EXPECT_FALSE(exists(run.at("uninstall.exe")));
    EXPECT_TRUE(run.view.failures.empty()) << run.view.failures.front();
    Path(run.destination).remove();
}

TEST(ProductExtraction, EntryNamesThatLeaveTheInstallFolderAreACorruptArchive)
{
    // In the order of makeExtractPayloads.sh.
    const char* const names[] = {"../escaped.txt",   "bin/../../escaped.txt",       "bin\\..\\..\\escaped.txt",
                                 "bin/.. /escaped.txt", "bin/.../escaped.txt",      "/escaped.txt",
                                 "\\escaped.txt",    "//localhost/c$/escaped.txt",  "C:/escaped.txt",
                                 "C:escaped.txt",    "bin/escaped.txt:stream"};
    char current[MAX_PATH];
    GetCurrentDirectoryA(sizeof current, current);
    int payload = FirstEscape;
    for (const char* name : names) {
        // Two levels down, so that "../.." stays inside the temporary folder.
        freshFolder("trq escape");
        Extraction run(payload++, allFamilies, "trq escape\\level");
        const std::string destination = run.destination.c_str();
        EXPECT_FALSE(run.run()) << name;
        EXPECT_EQ(run.error, static_cast<DWORD>(ERROR_FILE_CORRUPT)) << name;
        EXPECT_EQ(run.view.lastFile, destination + "src") << name << ": the view showed " << run.view.lastFile;
        for (const std::string& place : {destination + "../escaped.txt", destination + "../../escaped.txt",
                                         std::string("C:\\escaped.txt"), std::string(current) + "\\escaped.txt",
                                         destination + "bin/escaped.txt", destination + "escaped.txt"})
            EXPECT_FALSE(exists(place)) << name << " wrote " << place;
        EXPECT_TRUE(run.view.failures.empty()) << name << ": " << run.view.failures.front();
        Path(freshFolder("trq escape").c_str()).remove();
    }
}

} // namespace
