// Tests of Path: comparison, components, text operations and the file-system operations
// on real files in a temporary folder.
#include "foundation/DirectoryIterator.h"
#include "foundation/Path.h"
#include "foundation/Process.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <direct.h>
#include <string>

namespace {

bool readOnly(const String& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

time_t modificationTime(const Path& path)
{
    struct _stat record;
    return path.status(&record) ? record.st_mtime : 0;
}

std::string expectedFailure(const String& path, const char* what, int error)
{
    return std::string("File system error: ") + path.c_str() + ": " + what + ": " + std::strerror(error);
}

// Runs with the current directory changed, and changes it back.
struct InDirectory {
    char saved[MAX_PATH];
    explicit InDirectory(const String& path)
    {
        _getcwd(saved, sizeof saved);
        _chdir(path.c_str());
    }
    ~InDirectory() { _chdir(saved); }
};

std::string components(const char* path)
{
    std::string out;
    Path::Component record;
    const Path p(path);
    while (p.nextComponent(record))
        out += std::string(record.component.c_str()) + "(" + std::to_string(record.kind) + ") ";
    return out;
}

} // namespace

TEST(Path, ComparisonFoldsCaseAndSeparators)
{
    EXPECT_TRUE(Path("C:\\Dir\\File.TXT").equals(Path("c:/dir/file.txt")));
    EXPECT_EQ(Path("C:\\Dir\\File.TXT").hashCode(), Path("c:/dir/file.txt").hashCode());
    EXPECT_TRUE(Path("a//b").equals(Path("a/b")));
    EXPECT_TRUE(Path("a\\/\\b").equals(Path("A/B")));
    EXPECT_FALSE(Path("a/").equals(Path("a")));
    EXPECT_TRUE(Path("a//").equals(Path("a/")));
    // A UNC start against a plain root compares byte-wise, so they never match.
    EXPECT_FALSE(Path("//srv/x").equals(Path("/srv/x")));
    EXPECT_TRUE(Path("//srv/x").equals(Path("\\\\SRV\\X")));
    EXPECT_LT(Path("a").compareTo("b"), 0);
    EXPECT_LT(Path("a").compareTo("a/b"), 0);
    // High bytes fold to themselves, whatever the locale says about them.
    EXPECT_FALSE(Path("\xC0").equals(Path("\xE0")));
    EXPECT_TRUE(Path("x\xFF").equals(Path("X\xFF")));
    EXPECT_LT(Path("\xFF").compareTo("a"), 0);
}

TEST(Path, ComponentsAndTheirKinds)
{
    EXPECT_EQ(components("//srv/share/dir/f.c"), "srv(1) share(3) dir(3) f.c(4) ");
    EXPECT_EQ(components("C:/x"), "C:(2) x(4) ");
    EXPECT_EQ(components("/"), "/(3) ");
    EXPECT_EQ(components("a/.."), "a(3) ..(3) ");
    EXPECT_EQ(components("\\\\srv\\share"), "srv(1) share(3) ");
    EXPECT_EQ(components("C:foo\\\\bar\\"), "C:(2) foo(3) bar(3) ");
    EXPECT_EQ(components(""), "");

    // An exhausted record starts over.
    Path::Component record;
    const Path p("a/b");
    while (p.nextComponent(record)) {
    }
    EXPECT_EQ(record.position, 0);
    EXPECT_TRUE(record.component.isEmpty());
    ASSERT_TRUE(p.nextComponent(record));
    EXPECT_STREQ(record.component.c_str(), "a");
}

TEST(Path, TextOperations)
{
    EXPECT_TRUE(Path("\\x").isAbsolute());
    EXPECT_TRUE(Path("c:x").isAbsolute());
    EXPECT_FALSE(Path("x/y").isAbsolute());
    EXPECT_FALSE(Path("1:").isAbsolute());
    EXPECT_EQ(Path("a/b\\c").separatorChar(), '\\');
    EXPECT_EQ(Path("a\\b/c").separatorChar(), '/');
    EXPECT_EQ(Path("abc").separatorChar(), '\\');
    Path p("a/b");
    EXPECT_STREQ(p.addTrailingSeparator().c_str(), "a/b/");
    EXPECT_STREQ(p.addTrailingSeparator().c_str(), "a/b/");
    Path empty;
    EXPECT_STREQ(empty.addTrailingSeparator().c_str(), "");

    struct Case {
        const char* path;
        const char* directory;
        const char* base;
        const char* extension;
    } cases[] = {{"C:\\d\\f.tar.gz", "C:\\d\\", "f.tar", ".gz"}, {"dir/.profile", "dir/", ".profile", ""},
                 {"name.", "", "name.", ""},                     {"C:x.c", "C:", "x", ".c"},
                 {"file", "", "file", ""},                        {"a.b/c", "a.b/", "c", ""}};
    for (const Case& c : cases) {
        String directory, base, extension;
        Path(c.path).split(&directory, &base, &extension);
        EXPECT_STREQ(directory.c_str(), c.directory) << c.path;
        EXPECT_STREQ(base.c_str(), c.base) << c.path;
        EXPECT_STREQ(extension.c_str(), c.extension) << c.path;
    }
    String onlyBase;
    Path("x/y.z").split(nullptr, &onlyBase, nullptr);
    EXPECT_STREQ(onlyBase.c_str(), "y");

    EXPECT_STREQ(Path("C:\\d\\f.tar.gz").fileName().c_str(), "f.tar.gz");
    EXPECT_STREQ(Path("C:f").fileName().c_str(), "f");
    EXPECT_STREQ(Path("C:\\d\\f").directory().c_str(), "C:\\d\\");
    EXPECT_STREQ(Path("file").directory().c_str(), "./");
    // Path + text stays a Path.
    EXPECT_TRUE((Path("A") + "/B").equals(Path("a\\b")));
}

TEST(Path, AbsolutePathIsCanonical)
{
    TempFolder temp("absolute");
    CreateDirectoryA((temp + "a").c_str(), nullptr);
    InDirectory in(temp.path());
    const Path current = Path::currentDirectory();
    ASSERT_EQ(current.charAt(current.length() - 1), '\\');
    const String drive = current.substring(0, 2);

    EXPECT_STREQ(Path("a/./b/../c").absolutePath().c_str(), (current + "a\\c").c_str());
    EXPECT_STREQ(Path("/x/y").absolutePath().c_str(), (drive + "\\x\\y").c_str());
    EXPECT_STREQ(Path("//srv/share/f").absolutePath().c_str(), "\\\\srv\\share\\f");
    EXPECT_STREQ(Path("C:foo").absolutePath().c_str(), "C:\\foo");
    EXPECT_STREQ(Path("C:\\..\\x").absolutePath().c_str(), "C:\\x");
    EXPECT_STREQ(Path("/../..").absolutePath().c_str(), (drive + "\\").c_str());
    EXPECT_STREQ(Path("../../../../../../../../..").absolutePath().c_str(), (drive + "\\").c_str());
    // Existing directories get a trailing separator, however they were written.
    EXPECT_STREQ(Path("a").absolutePath().c_str(), (current + "a\\").c_str());
    EXPECT_STREQ(Path("C:/windows").absolutePath().c_str(), "C:\\windows\\");
    EXPECT_STREQ(Path("C:/WINDOWS/").absolutePath().c_str(), "C:\\WINDOWS\\");
}

TEST(Path, StatusOnRootsShareRootsAndTrailingSeparators)
{
    TempFolder temp("status");
    writeFile(temp + "f.txt", "x");
    InDirectory in("C:\\");
    for (const char* root : {"/", "\\", "C:/", "c:\\"})
        EXPECT_TRUE(Path(root).isDirectory()) << root;
    // A share root must reach the C runtime as \\server\share\ ; "\\?\C:" is the share
    // root form every system has.
    for (const char* share : {"//?/C:", "\\\\?\\C:", "//?/C:/"})
        EXPECT_TRUE(Path(share).isDirectory()) << share;
    const Path folder = temp.path();
    EXPECT_TRUE(folder.isDirectory());
    EXPECT_FALSE(folder.isFile());
    EXPECT_TRUE((folder + "f.txt").isFile());
    EXPECT_FALSE((folder + "f.txt").isDirectory());
    struct _stat record;
    EXPECT_FALSE((folder + "missing").status(&record));
}

TEST(Path, RemoveDeletesATreeWithReadOnlyEntries)
{
    TempFolder temp("remove");
    const Path tree = temp + "tree";
    CreateDirectoryA(tree.c_str(), nullptr);
    CreateDirectoryA((tree + "/sub").c_str(), nullptr);
    CreateDirectoryA((tree + "/sub/deeper").c_str(), nullptr);
    writeFile(tree + "/top.txt", "1");
    writeFile(tree + "/sub/read-only.txt", "2");
    writeFile(tree + "/sub/deeper/read-only.txt", "3");
    SetFileAttributesA((tree + "/sub/read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((tree + "/sub/deeper/read-only.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    SetFileAttributesA((tree + "/sub/deeper").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY);

    tree.remove();
    EXPECT_FALSE(exists(tree));
    EXPECT_TRUE(exists(temp.path()));

    const Path file = temp + "single.txt";
    writeFile(file, "x");
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    file.remove();
    EXPECT_FALSE(exists(file));

    const Path missing = temp + "missing";
    EXPECT_EQ(failureOf([&] { missing.remove(); }), expectedFailure(missing, "remove failure", ENOENT));
}

// Runs a Linux program through Wine on the Unix forms of Windows paths; its exit code
// does not reach us. Does nothing on Windows.
void runUnix(const char* program, const String& first, const String& second = String())
{
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return;
    String command = String("Z:\\bin\\") + program;
    for (const String& path : {first, second}) {
        WCHAR wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
        if (!path.isEmpty())
            command += String(" \"") + unixName(wide) + "\"";
    }
    char line[1024];
    lstrcpynA(line, command.c_str(), sizeof line);
    runProcess(line, false, nullptr, true);
}

TEST(Path, RemoveNeverEntersALinkedDirectory)
{
    TempFolder temp("link");
    const Path tree = temp + "tree";
    const Path outside = temp + "outside";
    const Path link = tree + "\\link";
    CreateDirectoryA(tree.c_str(), nullptr);
    CreateDirectoryA(outside.c_str(), nullptr);
    writeFile(tree + "\\mine.txt", "x");
    writeFile(outside + "\\keep.txt", "keep");

    using CreateLink = BOOLEAN(WINAPI*)(const char*, const char*, DWORD);
    const auto createLink = reinterpret_cast<CreateLink>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    if (createLink)
        createLink(link.c_str(), outside.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    // Wine's CreateSymbolicLinkA makes nothing, nor can Wine make junctions; it shows a
    // Unix symbolic link as a directory reparse point, so make one of those.
    const bool unixLink = !exists(link);
    if (unixLink)
        runUnix("ln -s", outside, link);
    for (int i = 0; i < 100 && !exists(link); ++i)
        Sleep(50); // Wine's wait for a Unix process may end before the process does
    const DWORD attributes = GetFileAttributesA(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        GTEST_SKIP() << "this system can make no link to a directory";

    const std::string thrown = failureOf([&] { tree.remove(); });
    EXPECT_EQ(readFile(outside + "\\keep.txt"), "keep") << "the link's target was entered";
    if (!unixLink) {
        EXPECT_EQ(thrown, "(nothing thrown)");
        EXPECT_FALSE(exists(tree));
        return;
    }
    // Wine cannot remove a Unix link to a non-empty directory: it looks at the target.
    EXPECT_EQ(thrown.find(std::string(link.c_str()) + ": remove directory failure"), 19u) << thrown;
    runUnix("rm", link);
    for (int i = 0; i < 100 && exists(link); ++i)
        Sleep(50);
}

TEST(Path, RenameReplacesFilesAndMovesIntoDirectories)
{
    TempFolder temp("rename");
    const Path source = temp + "source.txt";
    const Path target = temp + "target.txt";
    writeFile(source, "new");
    writeFile(target, "old");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    source.renameTo(target);
    EXPECT_FALSE(exists(source));
    EXPECT_EQ(readFile(target), "new");

    const Path into = temp + "into\\";
    CreateDirectoryA(into.c_str(), nullptr);
    target.renameTo(into);
    EXPECT_EQ(readFile(into + "target.txt"), "new");
    EXPECT_FALSE(exists(target));

    const Path folder = temp + "folder";
    CreateDirectoryA(folder.c_str(), nullptr);
    writeFile(folder + "\\inside.txt", "x");
    folder.renameTo(temp + "renamed");
    EXPECT_EQ(readFile(temp + "renamed\\inside.txt"), "x");

    const Path missing = temp + "missing.txt";
    EXPECT_EQ(failureOf([&] { missing.renameTo(temp + "other.txt"); }),
              expectedFailure(missing, (String("cannot rename to ") + temp.path() + "other.txt").c_str(), ENOENT));
}

TEST(Path, CopyKeepsTimeAndReadOnlyState)
{
    TempFolder temp("copy");
    const Path source = temp + "source.bin";
    writeFile(source, "a\r\nb\x1a" "c");
    source.setModificationTime(1000000000);
    source.setPermission(0x100);
    ASSERT_TRUE(readOnly(source));

    const Path target = temp + "target.bin";
    writeFile(target, "old, and longer than the source");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    source.copyTo(target);
    EXPECT_EQ(readFile(target), "a\r\nb\x1a" "c");
    EXPECT_EQ(modificationTime(target), 1000000000);
    EXPECT_TRUE(readOnly(target));
    EXPECT_TRUE(readOnly(source));

    const Path into = temp + "into/";
    CreateDirectoryA(into.c_str(), nullptr);
    source.copyTo(into);
    EXPECT_EQ(readFile(into + "source.bin"), "a\r\nb\x1a" "c");

    source.setPermission(0x180);
    EXPECT_FALSE(readOnly(source));
    source.copyTo(target);
    EXPECT_FALSE(readOnly(target));
}

TEST(Path, FailedCopiesLeaveNoIncompleteTarget)
{
    TempFolder temp("copy failure");
    const Path target = temp + "target.bin";

    // A source that cannot be opened: the existing target is left as it was.
    writeFile(target, "keep");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    const Path missing = temp + "missing.bin";
    EXPECT_EQ(failureOf([&] { missing.copyTo(target); }),
              expectedFailure(missing, (String("cannot copy from ") + missing).c_str(), ENOENT));
    EXPECT_EQ(readFile(target), "keep");
    EXPECT_TRUE(readOnly(target));

    const Path source = temp + "source.bin";
    writeFile(source, "data");
    const Path nowhere = temp + "no folder\\target.bin";
    EXPECT_EQ(failureOf([&] { source.copyTo(nowhere); }),
              expectedFailure(source, (String("cannot copy to ") + nowhere).c_str(), ENOENT));

    // A source whose reads fail after the target was created: Linux's /proc/self/mem
    // through Wine's Z: drive (its address 0 is never mapped). Windows has no such file.
    const Path unreadable = "Z:\\proc\\self\\mem";
    if (!unreadable.isFile())
        GTEST_SKIP() << "no file that opens but cannot be read";
    const std::string thrown = failureOf([&] { unreadable.copyTo(target); });
    EXPECT_EQ(thrown.find(std::string("File system error: Z:\\proc\\self\\mem: cannot copy to ") + target.c_str()), 0u)
        << thrown;
    EXPECT_FALSE(exists(target)) << "the incomplete target was left behind";
}

TEST(Path, PermissionTimeAndListingFailuresNameThePath)
{
    TempFolder temp("failures");
    const Path missing = temp + "missing";
    EXPECT_EQ(failureOf([&] { missing.setPermission(0x180); }),
              expectedFailure(missing, "set file permission failure", ENOENT));
    EXPECT_EQ(failureOf([&] { missing.setModificationTime(0); }),
              expectedFailure(missing, "set modification time failure", ENOENT));
    errno = 0;
    EXPECT_EQ(failureOf([&] { DirectoryIterator listing(missing); }),
              std::string("File system error: ") + missing.c_str() + ": directory open failure: " + std::strerror(ENOENT));
}

TEST(Path, DirectoryListingSkipsDotEntries)
{
    TempFolder temp("listing");
    writeFile(temp + "one", "1");
    CreateDirectoryA((temp + "two").c_str(), nullptr);
    for (const String& directory : {temp.path(), temp.path().substring(0, temp.path().length() - 1)}) {
        DirectoryIterator listing(directory);
        std::string names;
        String name;
        while (listing.next(name))
            names += std::string(name.c_str()) + " ";
        EXPECT_TRUE(names == "one two " || names == "two one ") << names;
        EXPECT_FALSE(listing.next(name));
    }
}

TEST(Path, FindInSearchPath)
{
    TempFolder temp("search");
    CreateDirectoryA((temp + "bin").c_str(), nullptr);
    CreateDirectoryA((temp + "other").c_str(), nullptr);
    CreateDirectoryA((temp + "home").c_str(), nullptr);
    CreateDirectoryA((temp + "home\\bin").c_str(), nullptr);
    writeFile(temp + "bin\\cl.exe", "");
    writeFile(temp + "other\\cl", "");
    writeFile(temp + "home\\bin\\tool.exe", "");
    writeFile(temp + "here.exe", "");

    // The empty first entry is the current directory; every call continues the search.
    const String oldPath = std::getenv("PATH");
    _putenv((String("PATH=") + temp.path() + "missing;" + temp.path() + "bin;" + temp.path() + "other\\").c_str());
    SearchPath search;
    _putenv((String("PATH=") + oldPath).c_str());
    Path directory;
    EXPECT_TRUE(Path("cl").findInSearchPath(search, &directory));
    EXPECT_STREQ(directory.c_str(), (temp + "bin\\").c_str());
    EXPECT_TRUE(Path("cl").findInSearchPath(search, &directory));
    EXPECT_STREQ(directory.c_str(), (temp + "other\\").c_str());
    EXPECT_FALSE(Path("cl").findInSearchPath(search, &directory));
    EXPECT_TRUE(directory.isEmpty());
    {
        InDirectory in(temp.path());
        SearchPath fromHere(";");
        EXPECT_TRUE(Path("here").findInSearchPath(fromHere, &directory));
        EXPECT_STREQ(directory.c_str(), "./");
    }

    // A name with a directory part is found there, once.
    SearchPath own(";C:\\windows");
    EXPECT_TRUE(Path("C:/x/prog").findInSearchPath(own, &directory));
    EXPECT_STREQ(directory.c_str(), "C:/x/");
    EXPECT_FALSE(Path("C:/x/prog").findInSearchPath(own, &directory));

    // "~/" is the home directory, once HOME is set (and from then on).
    if (std::getenv("HOME") == nullptr) {
        EXPECT_TRUE(Path::homeDirectory().isEmpty());
        SearchPath unknownHome("~/bin");
        EXPECT_FALSE(Path("tool").findInSearchPath(unknownHome, &directory));
    }
    _putenv((String("HOME=") + temp.path() + "home").c_str());
    SearchPath home("~/bin");
    EXPECT_TRUE(Path("tool").findInSearchPath(home, &directory));
    EXPECT_STREQ(directory.c_str(), (temp + "home\\bin/").c_str());
    _putenv("HOME=");
    EXPECT_STREQ(Path::homeDirectory().c_str(), (temp + "home").c_str());
}
