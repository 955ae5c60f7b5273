// Journal: a cut-off last record is ignored, and the undo puts files and registry values
// back byte for byte.
#include "setup/Journal.h"

#include "host/RegistryKey.h"
#include "tests/foundation/TempFolder.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void write(const String& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool present(const String& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The raw type and bytes of a value as the wide API gives them; "missing" when it is not set.
std::string raw(const char* subkey, const wchar_t* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "missing key";
    BYTE data[512];
    DWORD size = sizeof data, type = 0;
    const LONG status = RegQueryValueExW(key, name, nullptr, &type, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return "missing";
    return std::to_string(type) + ":" + std::string(reinterpret_cast<char*>(data), size);
}

// Makes folder (which ends with a separator) and starts journal in it, as made for it.
void beginInNewFolder(Journal& journal, const String& folder)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    Array<String> made;
    made.add(folder.substring(0, folder.length() - 1));
    journal.begin(folder, made);
}

const char testKey[] = "Software\\Trelliq journal test";

} // namespace

// A run killed after two files, its journal then cut at the end: what the cut record
// announced is not known and stays, everything before it is undone.
TEST(Journal, ACutOffLastRecordIsIgnored)
{
    const struct {
        int cut; // bytes taken off the journal's end
        bool secondStays;
    } cases[] = {{0, false}, {1, true}, {12, true}};
    for (const auto& c : cases) {
        TempFolder temp("journal cut");
        const String folder = temp + "product\\";
        {
            Journal journal;
            beginInNewFolder(journal, folder);
            journal.creatingFile(folder + "a.txt");
            write(folder + "a.txt", "a");
            journal.creatingFile(folder + "b.txt");
            write(folder + "b.txt", "b");
        } // killed: the journal stays
        const String name = Journal::fileIn(folder);
        HANDLE file = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        SetFilePointer(file, -c.cut, nullptr, FILE_END);
        SetEndOfFile(file);
        CloseHandle(file);
        ASSERT_TRUE(Journal::isIn(folder));

        const String notUndone = Journal::takeOver(folder, temp + "menu.lnk");
        EXPECT_FALSE(present(folder + "a.txt")) << "cut " << c.cut;
        EXPECT_EQ(present(folder + "b.txt"), c.secondStays) << "cut " << c.cut;
        EXPECT_FALSE(present(name)) << "cut " << c.cut;
        // The folder made for the journal goes only when nothing unknown is left in it.
        EXPECT_EQ(present(folder), c.secondStays) << "cut " << c.cut;
        EXPECT_EQ(notUndone.isEmpty(), !c.secondStays) << notUndone.c_str();
    }
}

// Under a recording, a file replaced, a file removed, values of each kind changed or
// removed, a value and a key made; the rollback restores every byte and removes the rest.
TEST(Journal, RollBackRestoresFilesAndValuesByteForByte)
{
    TempFolder temp("journal undo");
    const String folder = temp.path();
    write(folder + "kept.txt", "earlier bytes");
    write(folder + "removed.txt", "removed bytes");
    RegistryKey(HKEY_CURRENT_USER, testKey).deleteTree();
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, testKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    const wchar_t text[] = L"caf\x00e9 \x4e2d";
    const wchar_t multi[] = L"one\0two\0";
    const DWORD number = 0x12345678;
    const BYTE binary[] = {0, 1, 2, 0xFF};
    RegSetValueExW(key, L"text", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    RegSetValueExW(key, L"multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi);
    RegSetValueExW(key, L"number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegSetValueExW(key, L"binary", 0, REG_BINARY, binary, sizeof binary);
    RegCloseKey(key);
    const wchar_t* const names[] = {L"text", L"multi", L"number", L"binary", L"new"};
    std::string before[5];
    for (int i = 0; i < 5; ++i)
        before[i] = raw(testKey, names[i]);
    const std::string subkey = std::string(testKey) + "\\made";

    Journal journal;
    {
        MachineChanges::Recording recording(&journal);
        journal.begin(folder, Array<String>());
        MachineChanges::replacingFile(folder + "kept.txt");
        write(folder + "kept.txt", "new bytes");
        MachineChanges::remove(Path(folder + "removed.txt"));
        MachineChanges::replacingFile(folder + "new.txt");
        write(folder + "new.txt", "new");
        RegistryKey values(HKEY_CURRENT_USER, testKey);
        EXPECT_TRUE(values.setString("text", "replaced"));
        EXPECT_TRUE(values.setString("multi", "replaced"));
        EXPECT_TRUE(values.deleteValue("number"));
        EXPECT_TRUE(values.setNumber("binary", 7));
        EXPECT_TRUE(values.setString("new", "made"));
        EXPECT_TRUE(RegistryKey(HKEY_CURRENT_USER, subkey.c_str()).setString("x", "made"));
    }
    EXPECT_FALSE(present(folder + "removed.txt"));
    EXPECT_TRUE(journal.rollBack().isEmpty());

    EXPECT_EQ(testSupport::contents((folder + "kept.txt").c_str()), "earlier bytes");
    EXPECT_EQ(testSupport::contents((folder + "removed.txt").c_str()), "removed bytes");
    EXPECT_FALSE(present(folder + "new.txt"));
    EXPECT_FALSE(present(Journal::fileIn(folder)));
    EXPECT_FALSE(present(folder + "setup.kept"));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(raw(testKey, names[i]), before[i]) << i;
    EXPECT_EQ(raw(subkey.c_str(), L"x"), "missing key");
    RegistryKey(HKEY_CURRENT_USER, testKey).deleteTree();
}

// A journal taken over from disk may have been changed while its run was dead: the elevated
// run that takes it over undoes registry records only where an install makes changes, and
// names the others as not undone.
TEST(Journal, TakeOverTouchesTheRegistryOnlyWhereAnInstallChangesIt)
{
    const struct {
        const char* subkey;
        bool undone;
    } cases[] = {{"Software\\Pembrox\\Trelliq journal test", true},
                 {"Software\\Trelliq journal test", false},
                 {"Software\\Microsoft\\Windows\\CurrentVersion\\Run", false}};
    for (const auto& c : cases) {
        TempFolder temp("journal registry");
        const String folder = temp + "product\\";
        {
            Journal journal;
            beginInNewFolder(journal, folder);
            journal.changingValue(HKEY_CURRENT_USER, c.subkey, "journal test");
        } // killed: the journal stays
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, c.subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, "journal test", 0, REG_SZ, reinterpret_cast<const BYTE*>("set"), 4);
        RegCloseKey(key);

        const String notUndone = Journal::takeOver(folder, temp + "menu.lnk");
        // Undone: the value gone, or with it the key the change made.
        EXPECT_EQ(raw(c.subkey, L"journal test").rfind("missing", 0) == 0, c.undone) << c.subkey;
        EXPECT_EQ(notUndone.indexOf(c.subkey) >= 0, !c.undone) << c.subkey << ": " << notUndone.c_str();
        if (RegOpenKeyExA(HKEY_CURRENT_USER, c.subkey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueA(key, "journal test");
            RegCloseKey(key);
        }
    }
}
