// Tests of RegistryKey on the real registry of the test prefix, checked with the raw API.
#include "host/RegistryKey.h"

#include "foundation/SystemLibrary.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

namespace {

const char* const testRoot = "Software\\TrelliqTest\\Registry";

// Every test starts from an empty test root and leaves nothing behind.
class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, testRoot); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, testRoot); }

    static String path(const char* below) { return String(testRoot) + "\\" + below; }

    static void putRaw(const char* below, const char* name, DWORD type, const std::string& text)
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path(below).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                  &key, nullptr), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                 text.size() + 1), ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static bool existsRaw(const char* below)
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path(below).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // The value's bytes as the registry holds them, or "<missing>".
    static std::string readRaw(const char* below, const char* name, DWORD* type = nullptr)
    {
        char data[16384];
        DWORD size = sizeof data;
        if (RegGetValueA(HKEY_CURRENT_USER, path(below).c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, type, data,
                         &size) != ERROR_SUCCESS)
            return "<missing>";
        return std::string(data, size);
    }
};

std::string text(const String& s)
{
    return std::string(s.c_str(), s.length());
}

} // namespace

TEST_F(RegistryKeyTest, MissingValuesAndKeysFailWithFileNotFoundAndLeaveTheOutput)
{
    putRaw("Values", "present", REG_SZ, "x");
    RegistryKey key(HKEY_CURRENT_USER, path("Values"));
    String out("untouched");
    uint32_t number = 77;
    RegistryValue value(String("kept"), REG_EXPAND_SZ);
    SetLastError(0);
    EXPECT_FALSE(key.getString("absent", out));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.status(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.getNumber("absent", number));
    EXPECT_FALSE(key.queryValue("absent", value));
    EXPECT_STREQ(out.c_str(), "untouched");
    EXPECT_EQ(number, 77u);
    EXPECT_STREQ(value.text.c_str(), "kept");
    EXPECT_EQ(value.type, static_cast<uint32_t>(REG_EXPAND_SZ));

    RegistryKey missing(HKEY_CURRENT_USER, path("NoSuchKey"));
    SetLastError(0);
    EXPECT_FALSE(missing.getString("present", out));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing.mode(), RegistryKey::Closed) << "a failed open leaves the key closed";
    EXPECT_STREQ(out.c_str(), "untouched");
}

TEST_F(RegistryKeyTest, ExpandSzIsExpandedAndSzIsNot)
{
    putRaw("Values", "expand", REG_EXPAND_SZ, "%SystemRoot%\\x");
    putRaw("Values", "plain", REG_SZ, "%SystemRoot%\\x");
    char root[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("SystemRoot", root, sizeof root), 0u);

    RegistryKey key(HKEY_CURRENT_USER, path("Values"));
    String expanded, plain;
    ASSERT_TRUE(key.getString("expand", expanded));
    EXPECT_EQ(text(expanded), std::string(root) + "\\x");
    ASSERT_TRUE(key.getString("plain", plain));
    EXPECT_STREQ(plain.c_str(), "%SystemRoot%\\x");
    RegistryValue raw;
    ASSERT_TRUE(key.queryValue("expand", raw));
    EXPECT_EQ(raw.type, static_cast<uint32_t>(REG_EXPAND_SZ));
    EXPECT_STREQ(raw.text.c_str(), "%SystemRoot%\\x") << "queryValue gives the text as stored";
}

TEST_F(RegistryKeyTest, ValuesLongerThan2048BytesAreReadAndExpandedWhole)
{
    std::string tail(5000, 'p');
    for (size_t i = 0; i < tail.size(); i += 100)
        tail[i] = ';';
    putRaw("Long", "plain", REG_SZ, tail);
    putRaw("Long", "expand", REG_EXPAND_SZ, "%SystemRoot%" + tail);
    char root[MAX_PATH];
    ASSERT_GT(GetEnvironmentVariableA("SystemRoot", root, sizeof root), 0u);

    RegistryKey key(HKEY_CURRENT_USER, path("Long"));
    String plain, expanded;
    ASSERT_TRUE(key.getString("plain", plain)) << "status " << key.status();
    EXPECT_EQ(text(plain), tail);
    ASSERT_TRUE(key.getString("expand", expanded)) << "status " << key.status();
    EXPECT_EQ(text(expanded), std::string(root) + tail);
    RegistryValue raw;
    ASSERT_TRUE(key.queryValue("expand", raw));
    EXPECT_EQ(text(raw.text), "%SystemRoot%" + tail);

    // Enumeration reads long data whole too.
    String name;
    RegistryValue value;
    int seen = 0;
    while (key.nextValue(name, value)) {
        ++seen;
        EXPECT_EQ(value.text.length(), static_cast<int>(name.equals(String("plain")) ? tail.size()
                                                                                        : tail.size() + 12))
            << name.c_str();
    }
    EXPECT_EQ(seen, 2);

    // And a long value written through the key arrives whole.
    RegistryKey writer(HKEY_CURRENT_USER, path("Long"));
    ASSERT_TRUE(writer.setString("written", String(tail.c_str())));
    DWORD type = 0;
    EXPECT_EQ(readRaw("Long", "written", &type), tail + '\0');
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(RegistryKeyTest, EnumeratingSubkeysEndsWithIndexZeroAndTheLastErrorUntouched)
{
    putRaw("Parent\\A", "v", REG_SZ, "1");
    putRaw("Parent\\B", "v", REG_SZ, "2");
    RegistryKey key(HKEY_CURRENT_USER, path("Parent"));
    String name;
    ASSERT_TRUE(key.nextSubkey(name));
    EXPECT_STREQ(name.c_str(), "A");
    EXPECT_EQ(key.index(), 1);
    ASSERT_TRUE(key.nextSubkey(name));
    EXPECT_STREQ(name.c_str(), "B");
    SetLastError(1234);
    EXPECT_FALSE(key.nextSubkey(name));
    EXPECT_EQ(key.status(), static_cast<uint32_t>(ERROR_NO_MORE_ITEMS));
    EXPECT_EQ(GetLastError(), 1234u) << "the end of the list is not an error";
    EXPECT_EQ(key.index(), 0);
    EXPECT_STREQ(name.c_str(), "B");
    ASSERT_TRUE(key.nextSubkey(name)) << "the enumeration starts again";
    EXPECT_STREQ(name.c_str(), "A");
}

TEST_F(RegistryKeyTest, NextValueSkipsTheDefaultValueAndIsEmptyIgnoresIt)
{
    putRaw("OnlyDefault", nullptr, REG_SZ, "default");
    putRaw("Mixed", nullptr, REG_SZ, "default");
    putRaw("Mixed", "one", REG_SZ, "1");
    HKEY raw;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path("Mixed").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                              nullptr), ERROR_SUCCESS);
    const DWORD seven = 7;
    RegSetValueExA(raw, "seven", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), sizeof seven);
    RegCloseKey(raw);
    putRaw("WithSubkey\\Child", nullptr, REG_SZ, "x");

    RegistryKey onlyDefault(HKEY_CURRENT_USER, path("OnlyDefault"));
    String name("none");
    RegistryValue value;
    SetLastError(1234);
    EXPECT_FALSE(onlyDefault.nextValue(name, value));
    EXPECT_EQ(GetLastError(), 1234u);
    EXPECT_STREQ(name.c_str(), "none");
    EXPECT_TRUE(onlyDefault.isEmpty());

    RegistryKey mixed(HKEY_CURRENT_USER, path("Mixed"));
    String names;
    while (mixed.nextValue(name, value)) {
        names += name + "=" + (value.type == REG_DWORD ? String::valueOf(value.number) : value.text) + ";";
    }
    EXPECT_STREQ(names.c_str(), "one=1;seven=7;");
    EXPECT_FALSE(mixed.isEmpty());
    EXPECT_FALSE(RegistryKey(HKEY_CURRENT_USER, path("WithSubkey")).isEmpty());
    EXPECT_FALSE(RegistryKey(HKEY_CURRENT_USER, path("Missing")).isEmpty()) << "a missing key does not open";
}

TEST_F(RegistryKeyTest, DeleteTreeRemovesNestedKeysAndFailsOnAMissingKey)
{
    putRaw("Tree\\A\\B\\C", "v", REG_SZ, "1");
    putRaw("Tree\\A\\D", nullptr, REG_SZ, "2");
    putRaw("Tree\\E", "w", REG_SZ, "3");
    putRaw("Tree", "top", REG_SZ, "4");
    putRaw("Sibling", "s", REG_SZ, "5");

    RegistryKey tree(HKEY_CURRENT_USER, path("Tree"));
    EXPECT_TRUE(tree.deleteTree()) << "status " << tree.status();
    EXPECT_FALSE(existsRaw("Tree"));
    EXPECT_TRUE(existsRaw("Sibling"));
    EXPECT_EQ(tree.mode(), RegistryKey::Closed);

    SetLastError(0);
    EXPECT_FALSE(tree.deleteTree()) << "deleted already";
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    RegistryKey root(HKEY_CURRENT_USER, "");
    EXPECT_FALSE(root.deleteTree()) << "a root is never deleted";
    EXPECT_TRUE(existsRaw("Sibling"));
}

TEST_F(RegistryKeyTest, SettingCreatesMissingParentsSeenFromOutside)
{
    RegistryKey key(HKEY_CURRENT_USER, path("P1\\P2\\P3"));
    ASSERT_FALSE(existsRaw("P1"));
    ASSERT_TRUE(key.setString("name", "text value"));
    ASSERT_TRUE(key.setNumber("count", 0x80000001u));
    ASSERT_TRUE(key.setValue(nullptr, RegistryValue(String("%TEMP%"), REG_EXPAND_SZ)));
    key.close();

    DWORD type = 0;
    EXPECT_EQ(readRaw("P1\\P2\\P3", "name", &type), std::string("text value", 11));
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(readRaw("P1\\P2\\P3", "count", &type), std::string("\x01\x00\x00\x80", 4));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(readRaw("P1\\P2\\P3", nullptr, &type), std::string("%TEMP%", 7));
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));

    uint32_t number = 0;
    EXPECT_TRUE(key.getNumber("count", number));
    EXPECT_EQ(number, 0x80000001u);

    EXPECT_TRUE(key.deleteValue("name"));
    EXPECT_EQ(readRaw("P1\\P2\\P3", "name"), "<missing>");
    SetLastError(0);
    EXPECT_FALSE(key.deleteValue("name"));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeyTest, AChangeOfModeReopensOnceAndARunOfOneModeReusesTheHandle)
{
    RegistryKey key(HKEY_CURRENT_USER, path("Modes"));
    EXPECT_EQ(key.openCount(), 0) << "construction makes no registry call";
    ASSERT_TRUE(key.setString("a", "1"));
    EXPECT_EQ(key.mode(), RegistryKey::Create);
    ASSERT_TRUE(key.setString("b", "2"));
    EXPECT_EQ(key.openCount(), 1) << "two sets share one handle";
    String out;
    ASSERT_TRUE(key.getString("a", out));
    EXPECT_EQ(key.mode(), RegistryKey::Read);
    ASSERT_TRUE(key.getString("b", out));
    EXPECT_EQ(key.openCount(), 2) << "the get reopens once for reading";
    ASSERT_TRUE(key.setString("a", "3"));
    EXPECT_EQ(key.openCount(), 3);
    EXPECT_EQ(key.mode(), RegistryKey::Create);

    // Enumeration keeps its place only while nothing reopens the key.
    putRaw("Modes\\X", "v", REG_SZ, "x");
    putRaw("Modes\\Y", "v", REG_SZ, "y");
    ASSERT_TRUE(key.nextSubkey(out));
    EXPECT_EQ(key.index(), 1);
    ASSERT_TRUE(key.getString("a", out));
    EXPECT_EQ(key.index(), 1) << "a read in read mode keeps the place";
    ASSERT_TRUE(key.setString("c", "4"));
    EXPECT_EQ(key.index(), 0) << "reopening resets it";
}

TEST_F(RegistryKeyTest, FullNameAndParent)
{
    RegistryKey product(HKEY_LOCAL_MACHINE, "Software\\Pembrox\\Trelliq");
    EXPECT_STREQ(product.fullName().c_str(), "HKEY_LOCAL_MACHINE\\Software\\Pembrox\\Trelliq\\");
    EXPECT_STREQ(RegistryKey(HKEY_CLASSES_ROOT, ".trq").fullName().c_str(), "HKEY_CLASSES_ROOT\\.trq\\");
    EXPECT_STREQ(RegistryKey(HKEY_DYN_DATA, "x").fullName().c_str(), "HKEY_DYN_DATA\\x\\");
    EXPECT_STREQ(RegistryKey(reinterpret_cast<HKEY>(0x80000007), "A\\B").fullName().c_str(), "unknown\\A\\B\\");

    RegistryKey parent = product.parent();
    EXPECT_EQ(parent.root(), HKEY_LOCAL_MACHINE);
    EXPECT_STREQ(parent.subkey().c_str(), "Software\\Pembrox");
    EXPECT_EQ(parent.mode(), RegistryKey::Closed);
    EXPECT_STREQ(parent.parent().subkey().c_str(), "Software");
    EXPECT_STREQ(parent.parent().parent().subkey().c_str(), "");
}

TEST_F(RegistryKeyTest, ValuesOfEveryTypeKeepTheirTypeAndBytesThroughAReadAndAWrite)
{
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"binary", REG_BINARY, std::string("\x01\x00\x02\x00\xff", 5)},
        {"binary ending in zeros", REG_BINARY, std::string("\x07\x00\x00", 3)},
        {"multi", REG_MULTI_SZ, std::string("first\0second\0\0", 14)},
        {"qword", REG_QWORD, std::string("\x01\x02\x03\x04\x00\x00\x00\x80", 8)},
        {"none", REG_NONE, std::string()},
        {"text", REG_SZ, std::string("text\0", 5)},
        {"number", REG_DWORD, std::string("\x2a\x00\x00\x00", 4)},
    };
    HKEY raw;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path("types").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                              nullptr), ERROR_SUCCESS);
    for (const auto& c : cases)
        RegSetValueExA(raw, c.name, 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()), c.bytes.size());
    RegCloseKey(raw);

    RegistryKey key(HKEY_CURRENT_USER, path("types"));
    RegistryKey copies(HKEY_CURRENT_USER, path("copies"));
    for (const auto& c : cases) {
        RegistryValue value;
        ASSERT_TRUE(key.queryValue(c.name, value)) << c.name;
        EXPECT_EQ(value.type, c.type) << c.name;
        ASSERT_TRUE(copies.setValue(c.name, value)) << c.name;
        DWORD type = 0;
        EXPECT_EQ(readRaw("copies", c.name, &type), c.bytes) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
    }
    // The enumeration reads them the same way.
    RegistryKey enumerated(HKEY_CURRENT_USER, path("enumerated"));
    String name;
    RegistryValue value;
    int count = 0;
    while (key.nextValue(name, value)) {
        ASSERT_TRUE(enumerated.setValue(name.c_str(), value)) << name.c_str();
        ++count;
    }
    EXPECT_EQ(count, 7);
    for (const auto& c : cases)
        EXPECT_EQ(readRaw("enumerated", c.name), c.bytes) << c.name;
    // Read as text, a list gives its first string and nothing behind it.
    String first;
    ASSERT_TRUE(key.getString("multi", first));
    EXPECT_EQ(std::string(first.c_str(), first.length()), "first");
}

TEST_F(RegistryKeyTest, InTheWideFormEveryUnitOfEveryTypeSurvivesAReadAndAWrite)
{
    // Bytes as the wide API gives them: texts outside any ANSI code page (Polish, Chinese,
    // Greek, a lone surrogate) and a list of two.
    const auto units = [](const std::wstring& text) {
        return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    };
    const struct {
        const char* name;
        DWORD type;
        std::string bytes;
    } cases[] = {
        {"text", REG_SZ, units(std::wstring(L"C:\\\x0141\x00f3\x0064\x017a\\bin;C:\\\x5de5\x5177\xd800") + L'\0')},
        {"expandable", REG_EXPAND_SZ, units(std::wstring(L"%SystemRoot%\\\x0395\x03bb\x03bb\x03ac\x03b4\x03b1") + L'\0')},
        {"multi", REG_MULTI_SZ, units(std::wstring(L"\x5de5\x5177\0\x0141\0\0", 6))},
        {"binary", REG_BINARY, std::string("\x01\x00\xff", 3)},
        {"number", REG_DWORD, std::string("\x2a\x00\x00\x00", 4)},
    };
    HKEY raw;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path("wide").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                              nullptr), ERROR_SUCCESS);
    for (const auto& c : cases) {
        const std::wstring name(c.name, c.name + std::strlen(c.name));
        RegSetValueExW(raw, name.c_str(), 0, c.type, reinterpret_cast<const BYTE*>(c.bytes.data()), c.bytes.size());
    }
    RegCloseKey(raw);
    const auto wideBytes = [](const char* below, const char* name, DWORD* type) {
        wchar_t data[4096];
        DWORD size = sizeof data;
        const String key = path(below);
        const std::wstring keyName(key.c_str(), key.c_str() + key.length());
        const std::wstring valueName(name, name + std::strlen(name));
        if (RegGetValueW(HKEY_CURRENT_USER, keyName.c_str(), valueName.c_str(), RRF_RT_ANY | RRF_NOEXPAND, type,
                         data, &size) != ERROR_SUCCESS)
            return std::string("<missing>");
        return std::string(reinterpret_cast<const char*>(data), size);
    };

    RegistryKey key(HKEY_CURRENT_USER, path("wide"));
    RegistryKey copies(HKEY_CURRENT_USER, path("copies"));
    RegistryKey enumerated(HKEY_CURRENT_USER, path("enumerated"));
    String name;
    RegistryValue value;
    while (key.nextValue(name, value, TextForm::Wide))
        ASSERT_TRUE(enumerated.setValue(name.c_str(), value)) << name.c_str();
    for (const auto& c : cases) {
        ASSERT_TRUE(key.queryValue(c.name, value, TextForm::Wide)) << c.name;
        ASSERT_TRUE(copies.setValue(c.name, value)) << c.name;
        for (const char* below : {"copies", "enumerated"}) {
            DWORD type = 0;
            EXPECT_EQ(wideBytes(below, c.name, &type), c.bytes) << below << " " << c.name;
            EXPECT_EQ(type, c.type) << below << " " << c.name;
        }
    }
}

TEST_F(RegistryKeyTest, WithoutAWideCallItsAnsiCallCarriesTheCodePagesText)
{
    // Windows 95 has the wide calls as stubs only. The code page (Windows-1252 here) holds
    // "Über"; it has no "工", which the ANSI calls turn into '?', the sign that they ran.
    const std::wstring held = L"C:\\\x00dc" L"ber\\bin";
    const std::wstring foreign = L"C:\\\x5de5";
    HKEY raw;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path("wide").c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                              nullptr), ERROR_SUCCESS);
    RegSetValueExW(raw, L"held", 0, REG_SZ, reinterpret_cast<const BYTE*>(held.c_str()), (held.size() + 1) * 2);
    RegSetValueExW(raw, L"foreign", 0, REG_SZ, reinterpret_cast<const BYTE*>(foreign.c_str()),
                   (foreign.size() + 1) * 2);
    RegCloseKey(raw);
    const auto wideText = [](const RegistryValue& value) { return std::wstring(value.wide.c_str(), value.wide.length()); };

    for (const char* call : {"RegQueryValueExW", "RegEnumValueW", "RegSetValueExW"}) {
        const char* const hidden[] = {call, nullptr};
        hideSystemFunctions(hidden);
        RegistryKey key(HKEY_CURRENT_USER, path("wide"));
        std::wstring readHeld, readForeign;
        RegistryValue value;
        String name;
        if (std::strcmp(call, "RegEnumValueW") == 0) {
            while (key.nextValue(name, value, TextForm::Wide))
                (name.compareTo("held") == 0 ? readHeld : readForeign) = wideText(value);
        } else {
            if (key.queryValue("held", value, TextForm::Wide))
                readHeld = wideText(value);
            if (key.queryValue("foreign", value, TextForm::Wide))
                readForeign = wideText(value);
        }
        const RegistryValue written(WideText(held.c_str()), REG_SZ);
        const bool set = RegistryKey(HKEY_CURRENT_USER, path("written")).setValue("copy", written);
        hideSystemFunctions(nullptr);

        EXPECT_EQ(readHeld, held) << call << " missing";
        if (std::strcmp(call, "RegSetValueExW") != 0) {
            EXPECT_EQ(readForeign, L"C:\\?") << call << " missing: the ANSI call read it";
        }
        EXPECT_TRUE(set) << call << " missing";
        RegistryValue copy;
        ASSERT_TRUE(RegistryKey(HKEY_CURRENT_USER, path("written")).queryValue("copy", copy, TextForm::Wide));
        EXPECT_EQ(wideText(copy), held) << call << " missing";
        EXPECT_EQ(copy.type, static_cast<DWORD>(REG_SZ));
    }
}
