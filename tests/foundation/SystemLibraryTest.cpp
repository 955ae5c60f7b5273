// systemFunction and its hidden functions: each lookup that fails takes the older path, as
// Windows 95 or NT 4.0 would, and still gives what the caller needs.
#include "foundation/CodePagePath.h"
#include "foundation/LongPathName.h"
#include "foundation/SystemLibrary.h"
#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// The functions named hidden while it lives.
class Hidden {
public:
    explicit Hidden(const char* const* names) { hideSystemFunctions(names); }
    ~Hidden() { hideSystemFunctions(nullptr); }
    Hidden(const Hidden&) = delete;
    Hidden& operator=(const Hidden&) = delete;
};

String shortName(const String& path)
{
    char buffer[MAX_PATH];
    return String(buffer, static_cast<int>(GetShortPathNameA(path.c_str(), buffer, sizeof buffer)));
}

} // namespace

TEST(SystemLibrary, AHiddenFunctionIsMissingUntilShownAgain)
{
    ASSERT_NE(systemFunction("kernel32.dll", "GetLongPathNameA"), nullptr);
    EXPECT_EQ(systemFunction("kernel32.dll", "TrelliqNoSuchFunction"), nullptr);
    EXPECT_EQ(systemFunction("trelliq-no-such.dll", "GetLongPathNameA"), nullptr);
    {
        const char* const names[] = {"SetDllDirectoryA", "GetLongPathNameA", nullptr};
        const Hidden hidden(names);
        EXPECT_EQ(systemFunction("kernel32.dll", "GetLongPathNameA"), nullptr);
        EXPECT_NE(systemFunction("kernel32.dll", "GetShortPathNameA"), nullptr) << "only the names given";
    }
    EXPECT_NE(systemFunction("kernel32.dll", "GetLongPathNameA"), nullptr);
}

TEST(SystemLibrary, EachMissingFunctionsOlderPathGivesTheSameResult)
{
    const TempFolder temp("older paths");
    const String longFile = temp + "Trelliq Long Folder Name";
    CreateDirectoryA(longFile.c_str(), nullptr);
    const String shortForm = shortName(longFile);
    ASSERT_GE(shortForm.indexOf('~'), 0) << shortForm.c_str();
    char ansiTemp[MAX_PATH];
    ansiTemp[GetTempPathA(sizeof ansiTemp, ansiTemp)] = '\0';

    const struct {
        const char* function;
        String (*result)(const String& shortForm);
        String expected;
    } cases[] = {
        // Windows 95: the long name component by component.
        {"GetLongPathNameA",
         [](const String& path) {
             char buffer[MAX_PATH];
             return getLongPathName(path.c_str(), buffer, sizeof buffer) > 0 ? String(buffer) : String("<failed>");
         },
         longFile},
        // An NT without the wide call: the ANSI one.
        {"GetTempPathW", [](const String&) { return tempFolderPath(); }, String(ansiTemp)},
        // Windows 95 and NT 4.0 (no activation contexts): comctl32 by its full path.
        {"FindActCtxSectionStringA",
         [](const String&) { return String(initCommonControls() ? "initialised" : "<failed>"); }, "initialised"},
    };
    for (const auto& c : cases) {
        const String withFunction = c.result(shortForm);
        const char* const names[] = {c.function, nullptr};
        String without;
        {
            const Hidden hidden(names);
            without = c.result(shortForm);
        }
        EXPECT_STREQ(withFunction.c_str(), c.expected.c_str()) << c.function << " there";
        EXPECT_STREQ(without.c_str(), c.expected.c_str()) << c.function << " missing";
    }
}

TEST(SystemLibrary, WithoutEitherSearchCallTheSystemsLibrariesAreLoadedFirst)
{
    // Windows 95 and XP before SP1: neither call; the libraries the system loads by name
    // later are loaded from the system folder now, so that a later load finds them.
    const char* const names[] = {"SetDefaultDllDirectories", "SetDllDirectoryA", nullptr};
    bool restricted;
    {
        const Hidden hidden(names);
        restricted = restrictLibrarySearch();
    }
    EXPECT_FALSE(restricted);
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    for (const char* library : {"version.dll", "uxtheme.dll", "winmm.dll"}) {
        const HMODULE module = GetModuleHandleA(library);
        ASSERT_NE(module, nullptr) << library << " loaded";
        char path[MAX_PATH];
        GetModuleFileNameA(module, path, sizeof path);
        EXPECT_EQ(_strnicmp(path, system, length), 0) << library << " from " << path;
    }
}
