// ProductExtraction: the install's extraction of payloads made by the builder (resources
// 170 and up) into fresh folders, checked on disk, its steps recorded.
#include "setup/ProductExtraction.h"

#include "foundation/Exception.h"
#include "foundation/File.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace testSupport;

enum Payload {
    None = 170,
    Full = 171,
    Cut = 172,
    Magic = 173,
    HeaderCut = 174,
    Many = 175,
    TrailerCut = 176,
    ByteAfterTheEnd = 177,
    FirstEscape = 180,
    FirstDamaged = 191, // 9 of them
    FirstCutMany = 200, // 3 of them
};

const char* const folders[] = {"bin", "help", "include", "lib", "numega", "sample", "sample/text", "sample/win", "src"};
const char* const wrapperNames[] = {"bcc32", "c++", "cc68k", "ccppc", "ccxa", "cl", "g++", "gcc", "link",
                                    "mcc68k", "powerpc-wrs-vxworks-gcc"};

// An empty folder: name below a folder of this process's own in the temporary folder (the
// disk-full run of this program runs beside the others, in the same Wine world), or a path
// with a drive.
std::string freshFolder(const std::string& name)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string own = std::string(temp) + "trq test " + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(own.c_str(), nullptr);
    const std::string folder = (name.size() > 1 && name[1] == ':' ? "" : own) + name + "\\";
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

// The threads of this process, as the system lists them.
int threadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    THREADENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// Every file below folder (names relative, with '/') and its bytes and time.
void listTree(const std::string& folder, const std::string& prefix, std::map<std::string, std::string>& files)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            listTree(folder + name + "\\", prefix + name + "/", files);
        else
            files[prefix + name] = contents(folder + name) + " @" + std::to_string(modificationTime(folder + name));
    } while (FindNextFileA(find, &data));
    FindClose(find);
}

// Records what the extraction reports and the most threads seen at a step; cancels at the
// given poll (1 = the first; 0 = never); throws at the given step (0 = never).
class RecordingView : public ExtractionView {
public:
    explicit RecordingView(int cancelAt = 0, int throwAt = 0) : cancelAt_(cancelAt), throwAt_(throwAt) {}
    void setRange(int steps) override { range = steps; }
    void nextFile(const String& path) override
    {
        ++steps;
        lastFile = path.c_str();
        const int threads = threadCount();
        threadsAtSteps = threads > threadsAtSteps ? threads : threadsAtSteps;
        if (steps == throwAt_)
            throw RuntimeException("the view failed at " + path);
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
    int threadsAtSteps = 0;
    std::string lastFile;
    std::vector<std::string> failures;

private:
    int cancelAt_;
    int throwAt_;
};

struct Extraction {
    explicit Extraction(int payload, const bool* flags, const std::string& name = "trq extract", int cancelAt = 0,
                        DecoderThread::Decoding decoding = DecoderThread::ahead, int throwAt = 0)
        : destination(freshFolder(name).c_str()), programFolder(freshFolder("trq program").c_str()),
          view(cancelAt, throwAt), extraction(programFolder, destination, flags, view, payload, decoding)
    {
    }
    bool run()
    {
        SetLastError(0);
        result = extraction.run();
        error = GetLastError();
        return result;
    }
    // run, with what it throws as the message (also for exceptions outside Exception's
    // hierarchy), and the files it leaves.
    void runCatching()
    {
        try {
            run();
        } catch (const Exception& failure) {
            thrown = failure.message().c_str();
        } catch (const std::exception& failure) {
            thrown = failure.what();
        }
        listTree(destination.c_str(), "", files);
    }
    std::string at(const char* name) const { return std::string(destination.c_str()) + name; }

    Path destination;
    Path programFolder;
    RecordingView view;
    ProductExtraction extraction;
    bool result = false;
    DWORD error = 0;
    std::string thrown;
    std::map<std::string, std::string> files;
};

// Wine's Unix name of a Windows path; empty outside Wine.
std::string unixName(const std::string& path)
{
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto convert = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert)
        return std::string();
    WCHAR wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    const char* name = convert(wide);
    return name ? name : "";
}

// Runs a Unix command under Wine and waits until done holds (Wine's wait for a Unix process
// may end before the process does).
template <typename Done> void runUnix(std::string command, Done done)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, 10000);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    for (int i = 0; i < 100 && !done(); ++i)
        Sleep(50);
}

// Makes link a link to the folder target: a symbolic link where the system makes one, else
// (Wine, whose CreateSymbolicLinkA makes nothing) a Unix symbolic link, which Wine shows as
// a directory reparse point. False when neither gives a reparse point.
bool makeLink(const std::string& link, const std::string& target)
{
    using CreateLink = BOOLEAN(WINAPI*)(const char*, const char*, DWORD);
    const auto createLink = reinterpret_cast<CreateLink>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    if (createLink)
        createLink(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    if (!exists(link) && !unixName(link).empty())
        runUnix("Z:\\bin\\ln -s \"" + unixName(target) + "\" \"" + unixName(link) + "\"",
                [&] { return exists(link); });
    const DWORD attributes = GetFileAttributesA(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Removes a link made by makeLink, never its target or its target's contents.
void removeLink(const std::string& link)
{
    // Wine's RemoveDirectoryA on a Unix link removes an empty target and keeps the link.
    if (unixName(link).empty())
        RemoveDirectoryA(link.c_str());
    else
        runUnix("Z:\\bin\\rm \"" + unixName(link) + "\"", [&] { return !exists(link); });
}

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
    // An earlier install, known by its marks (two of them are leftovers too).
    const char* const leftovers[] = {"bin/old.dll", "bin/old.exe", "bin/old.exe-", "bin/trelliq.cnt",
                                     "bin/trelliq.hlp", "bin/trqset.bat", "cpp/x.c", "numega/old/cl.exe",
                                     "numega/link.exe", "bin/trqc.exe", "bin/coverageBrowser.exe"};
    for (const char* leftover : leftovers)
        write(destination + leftover, "old");
    write(destination + "uninstall.exe", "old");
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

TEST(ProductExtraction, AFolderWithoutAnEarlierInstallKeepsWhatLooksLikeLeftovers)
{
    Extraction run(None, allFamilies);
    const std::string destination = run.destination.c_str();
    CreateDirectoryA((destination + "bin").c_str(), nullptr);
    CreateDirectoryA((destination + "cpp").c_str(), nullptr);
    CreateDirectoryA((destination + "numega").c_str(), nullptr);
    // A bin folder and an uninstall.exe, even the wrapper: still not the three marks.
    const char* const owned[] = {"bin/tool.dll", "bin/tool.exe", "bin/trqc.exe", "bin/trqset.bat",
                                 "cpp/main.cpp", "numega/link.exe", "uninstall.exe"};
    for (const char* file : owned)
        write(destination + file, "mine");

    EXPECT_TRUE(run.run());
    for (const char* file : owned) {
        if (std::string(file) != "uninstall.exe") {
            EXPECT_EQ(contents(destination + file), "mine") << file << " was removed or replaced";
        }
    }
    EXPECT_TRUE(isDirectory(destination + "cpp"));
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
    // Entries that come out whole are not enough: the payload must end after the last, and
    // its stream end whole.
    for (int payload : {TrailerCut, ByteAfterTheEnd}) {
        Extraction run(payload, allFamilies);
        EXPECT_FALSE(run.run()) << payload;
        EXPECT_EQ(run.error, static_cast<DWORD>(ERROR_FILE_CORRUPT)) << payload;
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

TEST(ProductExtraction, AFailedCopyNamesItsSourceAndItsOwnError)
{
    Extraction run(None, allFamilies);
    const std::string destination = run.destination.c_str();
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    // The uninstaller's place is held open without sharing: the copy itself fails, with
    // ERROR_SHARING_VIOLATION, and there is nothing to retry for an absolute source.
    HANDLE held = CreateFileA((destination + "uninstall.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                              nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    run.extraction.copyInto(self, "uninstall.exe");
    CloseHandle(held);
    EXPECT_FALSE(run.extraction.ok());
    ASSERT_EQ(run.view.failures.size(), 1u);
    const std::string expected = "Error copying " + std::string(self) + " to " + destination + "uninstall.exe: Error 32: ";
    EXPECT_EQ(run.view.failures[0].substr(0, expected.size()), expected) << run.view.failures[0];

    // A relative source the product lacks: the one beside the setup program stands in, and
    // that place is named with its own error.
    run.extraction.copyInto("bin/missing.exe", "bin/copy.exe-");
    ASSERT_EQ(run.view.failures.size(), 2u);
    const std::string second = std::string("Error copying ") + run.programFolder.c_str() + "bin/missing.exe to " +
                               destination + "bin/copy.exe-: Error ";
    EXPECT_EQ(run.view.failures[1].substr(0, second.size()), second) << run.view.failures[1];
    Path(destination.c_str()).remove();
}

TEST(ProductExtraction, NothingIsRemovedOrWrittenThroughALinkedFolder)
{
    const std::string outside = freshFolder("trq link target");
    write(outside + "tool.exe", "mine");
    write(outside + "tool.dll", "mine");
    // Each standard folder in turn, and one level above a standard folder.
    for (const char* linked : {"bin", "numega", "sample", "sample/text"}) {
        Extraction run(None, allFamilies);
        const std::string destination = run.destination.c_str();
        // An earlier install, whose leftovers would be removed (bin/*.exe, numega/*).
        const std::string folder = linked;
        if (folder != "bin") {
            CreateDirectoryA((destination + "bin").c_str(), nullptr);
            write(destination + "bin\\trqc.exe", "old");
            write(destination + "bin\\coverageBrowser.exe", "old");
        }
        write(destination + "uninstall.exe", "old");
        if (folder == "sample/text")
            CreateDirectoryA((destination + "sample").c_str(), nullptr);
        if (!makeLink(destination + linked, outside))
            GTEST_SKIP() << "this system can make no link to a directory";

        EXPECT_FALSE(run.run()) << linked;
        EXPECT_EQ(run.error, static_cast<DWORD>(ERROR_CANT_ACCESS_FILE)) << linked;
        ASSERT_FALSE(run.view.failures.empty()) << linked;
        const std::string link = destination + linked;
        EXPECT_EQ(run.view.failures[0].find("Error creating directory "), 0u) << run.view.failures[0];
        EXPECT_NE(run.view.failures[0].find(": " + link + " is a link to another place"), std::string::npos)
            << run.view.failures[0];
        EXPECT_EQ(contents(outside + "tool.exe"), "mine") << linked;
        EXPECT_EQ(contents(outside + "tool.dll"), "mine") << linked;
        EXPECT_FALSE(exists(outside + "text")) << "a folder was made through " << linked;
        EXPECT_EQ(contents(destination + "uninstall.exe"), "old") << "the uninstaller was copied after the refusal";
        if (folder != "bin") {
            EXPECT_EQ(contents(destination + "bin\\trqc.exe"), "old") << "a leftover was removed";
        }
        removeLink(link);
        Path(run.destination).remove();
    }
    Path(outside.c_str()).remove();
}

TEST(ProductExtraction, TheReaderWritesNoEntryThroughALinkedFolder)
{
    // The reader's own check, for entries in folders that are not the standard ones.
    const std::string outside = freshFolder("trq link target");
    const std::string destination = freshFolder("trq linked entries");
    if (!makeLink(destination + "help", outside))
        GTEST_SKIP() << "this system can make no link to a directory";
    CreateDirectoryA((destination + "bin").c_str(), nullptr);
    CreateDirectoryA((destination + "lib").c_str(), nullptr);
    RecordingView view;
    const Path folder(destination.c_str());
    ArchiveReader reader(folder, view, Full);
    std::string thrown;
    try {
        reader.extractEntries(reader.readHeader());
    } catch (const File::ExceptionCreate& failure) {
        thrown = failure.message().c_str();
    } catch (const Script::Abort&) {
        thrown = "abort " + std::to_string(reader.failure());
    }
    EXPECT_EQ(thrown.find("File create error: " + destination + "help/empty.txt: " + destination + "help is a link"),
              0u)
        << thrown;
    EXPECT_EQ(contents(destination + "bin/trqc.exe"), "extracted wrapper\n") << "the entry before is written";
    EXPECT_FALSE(exists(outside + "empty.txt"));
    EXPECT_FALSE(exists(destination + "lib/big.bin")) << "nothing after the refusal";
    removeLink(destination + "help");
    EXPECT_FALSE(exists(destination + "help"));
    EXPECT_TRUE(exists(outside)) << "removing the link removed its target";
    Path(destination.c_str()).remove();
    if (exists(outside))
        Path(outside.c_str()).remove();
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

// The extraction decoding on its own thread ends as it ends decoding on the caller's: the
// same result, error, message, steps and files, the failures of a damaged payload found at
// the same point of the stream; and the thread, there while the files are written, is gone
// when run returns or throws.
TEST(ProductExtraction, DecoderThreadEndsAsTheCallersThreadDoesAndNoThreadStays)
{
    struct Case {
        const char* what;
        int payload;
        int cancelAt;
        int throwAt;
        const char* blockingFolder; // made where an entry's file goes, so that it cannot be created
    };
    std::vector<Case> cases = {
        {"whole", Many, 0, 0, nullptr},
        {"no entries", None, 0, 0, nullptr},
        {"cut", Cut, 0, 0, nullptr},
        {"wrong magic", Magic, 0, 0, nullptr},
        {"cut header", HeaderCut, 0, 0, nullptr},
        {"leaving name", FirstEscape, 0, 0, nullptr},
        {"cancel at the first entry", Many, 1, 0, nullptr},
        {"cancel at entry 150", Many, 150, 0, nullptr},
        {"view failing at the first folder", Many, 0, 1, nullptr},
        {"view failing at entry 200", Many, 0, 209, nullptr},
        {"file that cannot be created", Many, 0, 0, "src/f101.txt"},
    };
    for (int i = 0; i < 9; ++i)
        cases.push_back({"damaged", FirstDamaged + i, 0, 0, nullptr});
    for (int i = 0; i < 3; ++i)
        cases.push_back({"cut many", FirstCutMany + i, 0, 0, nullptr});

    int decoderFailures = 0;
    int failuresAmidFiles = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ", payload " + std::to_string(c.payload));
        std::unique_ptr<Extraction> runs[2];
        for (DecoderThread::Decoding decoding : {DecoderThread::callersThread, DecoderThread::ahead}) {
            const int before = threadCount();
            auto* run = new Extraction(c.payload, allFamilies, "trq decoding", c.cancelAt, decoding, c.throwAt);
            runs[decoding == DecoderThread::ahead].reset(run);
            if (c.blockingFolder) {
                CreateDirectoryA(run->at("src").c_str(), nullptr);
                CreateDirectoryA(run->at(c.blockingFolder).c_str(), nullptr);
            }
            run->runCatching();
            EXPECT_EQ(threadCount(), before) << "a thread outlived the extraction";
            EXPECT_EQ(run->extraction.reader().decoder().threaded(), decoding == DecoderThread::ahead);
            // The larger payloads fill the queue before the first step, so the thread is
            // still there then.
            if (c.payload == Many && c.throwAt != 1 && run->view.steps > 0) {
                EXPECT_EQ(run->view.threadsAtSteps, before + (decoding == DecoderThread::ahead)) << "no decoder thread";
            }
            Path(run->destination).remove();
        }
        const Extraction& single = *runs[0];
        const Extraction& ahead = *runs[1];
        EXPECT_EQ(ahead.result, single.result);
        EXPECT_EQ(ahead.error, single.error);
        EXPECT_EQ(ahead.thrown, single.thrown);
        EXPECT_EQ(ahead.view.steps, single.view.steps);
        EXPECT_EQ(ahead.view.lastFile, single.view.lastFile);
        EXPECT_EQ(ahead.view.failures, single.view.failures);
        EXPECT_EQ(ahead.files.size(), single.files.size());
        EXPECT_TRUE(ahead.files == single.files) << "the files left differ";
        decoderFailures += single.thrown.find("BzipDecode error") == 0;
        failuresAmidFiles += c.payload >= FirstDamaged && !single.result && single.files.size() > 20;
    }
    EXPECT_GT(decoderFailures, 0) << "the damaged payloads are to reach the decompressor's checks";
    EXPECT_GE(failuresAmidFiles, 2) << "damage is to be found amid the files";
}

// A disk that fills up amid the entries (tests/setup/smallDisk.sh mounts a small one and
// names it in TRELLIQ_SMALL_DISK): the failed write ends the extraction decoding on its own
// thread as it ends it decoding on the caller's, with the same message and files, and the
// thread is gone when the failure reaches the caller.
TEST(ProductExtraction, DiskFullEndsAsOnTheCallersThreadAndNoThreadStays)
{
    const char* disk = std::getenv("TRELLIQ_SMALL_DISK");
    if (!disk)
        GTEST_SKIP() << "needs a small disk: run by tests/setup/smallDisk.sh";
    std::unique_ptr<Extraction> runs[2];
    for (DecoderThread::Decoding decoding : {DecoderThread::callersThread, DecoderThread::ahead}) {
        const int before = threadCount();
        auto* run = new Extraction(Many, allFamilies, std::string(disk) + "\\trq", 0, decoding);
        runs[decoding == DecoderThread::ahead].reset(run);
        run->runCatching();
        EXPECT_EQ(threadCount(), before) << "a thread outlived the extraction";
        EXPECT_EQ(run->view.threadsAtSteps, before + (decoding == DecoderThread::ahead));
        EXPECT_EQ(run->thrown.find("File write error: " + std::string(run->destination.c_str())), 0u) << run->thrown;
        EXPECT_NE(run->thrown.find("No space left on device"), std::string::npos) << run->thrown;
        Path(run->destination).remove();
    }
    EXPECT_EQ(runs[1]->thrown, runs[0]->thrown);
    EXPECT_GT(runs[0]->files.size(), 20u) << "the disk is to fill up amid the files";
    EXPECT_TRUE(runs[1]->files == runs[0]->files) << "the files left differ";
}
