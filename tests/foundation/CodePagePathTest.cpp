// codePagePath: paths with characters outside the code page, in a form the ANSI calls open.
#include "foundation/CodePagePath.h"

#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring wide(const String& text)
{
    wchar_t buffer[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, buffer, MAX_PATH);
    return buffer;
}

} // namespace

// Under a Western code page (Wine's default, Windows-1252): Chinese has no character there,
// and Polish letters only Latin look-alikes ("Lodz"), the names of other folders.
TEST(CodePagePath, APartOutsideTheCodePageTakesItsShortFormAndNoOtherDoes)
{
    TempFolder temp("code page");
    const std::wstring base = wide(temp.path());
    const struct {
        const wchar_t* folder;
        bool longForm;
    } cases[] = {
        {L"plain name", true},
        {L"\u5de5\u5177", false},
        {L"\u0141\u00f3d\u017a", false},
    };
    for (const auto& c : cases) {
        const std::wstring folder = base + c.folder;
        const std::wstring file = folder + L"\\uninstall.exe";
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));

        const String path = codePagePath(file.c_str());
        EXPECT_EQ(path.indexOf('?'), -1) << path.c_str();
        // The parts that fit keep their long names: the program reads its mode from its own.
        EXPECT_EQ(path.indexOf(temp.path()), 0) << path.c_str();
        EXPECT_EQ(path.indexOf("\\uninstall.exe"), path.length() - 14) << path.c_str();
        EXPECT_EQ(path.indexOf('~') < 0, c.longForm) << path.c_str();
        // The same file, not a look-alike's.
        EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path.c_str();

        // What does not exist has no short form: no text at all.
        const std::wstring missing = folder + L"\\\u5de5.exe";
        SetLastError(0);
        EXPECT_STREQ("", codePagePath(missing.c_str()).c_str());
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));

        DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }
}
