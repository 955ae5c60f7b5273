// withoutDirectory and withDirectoryFirst: whole entries in any position, every other unit kept.
#include "host/DirectoryList.h"

#include "foundation/WindowsVersion.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(DirectoryList, EveryEntryOfTheFolderGoesAndNothingElse)
{
    const WideText ours = L"C:/Tools/Trelliq/bin";
    const struct {
        const wchar_t* list;
        const wchar_t* without;
    } cases[] = {
        {L"", L""},
        {L"C:\\Tools\\Trelliq\\bin", L""},
        {L"C:\\Tools\\Trelliq\\bin;", L""},
        {L"C:\\Tools\\Trelliq\\bin;C:\\VC\\bin", L"C:\\VC\\bin"},
        // Last, without a ';' of its own: the one before it goes with it.
        {L"C:\\VC\\bin;C:\\Tools\\Trelliq\\bin", L"C:\\VC\\bin"},
        {L"C:\\VC\\bin;C:\\Tools\\Trelliq\\bin;", L"C:\\VC\\bin;"},
        {L"C:\\VC\\bin;C:\\Tools\\Trelliq\\bin;D:\\x", L"C:\\VC\\bin;D:\\x"},
        {L"C:\\TOOLS\\trelliq\\BIN;a;c:/tools/trelliq/bin;b;C:\\Tools\\Trelliq\\bin", L"a;b"},
        {L"a;;C:\\Tools\\Trelliq\\bin", L"a;"},
        {L";;C:\\Tools\\Trelliq\\bin;;", L";;;"},
        // Entries that only begin, end or contain the folder's name stay.
        {L"C:\\Tools\\Trelliq\\binary;C:\\Tools\\Trelliq\\bin\\;D:\\C:\\Tools\\Trelliq\\bin;\"C:\\Tools\\Trelliq\\bin\"",
         L"C:\\Tools\\Trelliq\\binary;C:\\Tools\\Trelliq\\bin\\;D:\\C:\\Tools\\Trelliq\\bin;\"C:\\Tools\\Trelliq\\bin\""},
        {L" C:\\Tools\\Trelliq\\bin ;%SystemRoot%", L" C:\\Tools\\Trelliq\\bin ;%SystemRoot%"},
        // Polish, Chinese and Greek entries, and a lone surrogate: every unit stays.
        {L"C:\\\x0141\x00f3\x0064\x017a\\bin;C:\\Tools\\Trelliq\\bin;C:\\\x5de5\x5177;C:\\\x0395\x03bb\xd800",
         L"C:\\\x0141\x00f3\x0064\x017a\\bin;C:\\\x5de5\x5177;C:\\\x0395\x03bb\xd800"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(withoutDirectory(c.list, ours).c_str()), c.without) << "list \"" << c.list << "\"";
        EXPECT_EQ(std::wstring(withDirectoryFirst(c.list, ours).c_str()), std::wstring(L"C:\\Tools\\Trelliq\\bin;") + c.without)
            << "list \"" << c.list << "\"";
    }
}

TEST(DirectoryList, LettersOfAnyScriptMatchInEitherCase)
{
    // The product's own folder may be named in any script; the user's list may name it in
    // another case.
    const WideText ours = L"C:\\\x00c9t\x00e9\\\x0394\x03b9\x03ba\x03cc\\bin";
    EXPECT_EQ(std::wstring(withoutDirectory(L"a;C:\\\x00e9T\x00c9\\\x03b4\x0399\x039a\x03cc\\BIN;b", ours).c_str()), L"a;b");
    // A look-alike in another script is another folder.
    EXPECT_EQ(std::wstring(withoutDirectory(L"C:\\Et\x00e9\\\x0394\x03b9\x03ba\x03cc\\bin", ours).c_str()),
              L"C:\\Et\x00e9\\\x0394\x03b9\x03ba\x03cc\\bin");
}

// Runs in the copy of the next test, for which the prefix reports Windows 98.
TEST(DirectoryListOnWindows98, TheCodePagesLettersMatchInEitherCase)
{
    if (!std::getenv("TRELLIQ_WINDOWS98_LISTS"))
        GTEST_SKIP() << "runs in the Windows 98 copy only";
    ASSERT_FALSE(isWindowsNT());
    // Windows-1252 holds É and é: they fold through it. Δ is no letter of it and stays as
    // it is; Ā would fold to "a" through a best-fit look-alike, which must not happen.
    const WideText ours = L"C:\\\x00c9t\x00e9\\\x0394\\\x0100\\bin";
    const struct {
        const wchar_t* list;
        const wchar_t* without;
    } cases[] = {
        {L"a;C:\\\x00e9T\x00c9\\\x0394\\\x0100\\BIN;b", L"a;b"},
        {L"a;C:\\\x00c9T\x00c9\\\x03b4\\\x0100\\bin", L"a;C:\\\x00c9T\x00c9\\\x03b4\\\x0100\\bin"},
        {L"C:\\\x00c9t\x00e9\\\x0394\\a\\bin", L"C:\\\x00c9t\x00e9\\\x0394\\a\\bin"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::wstring(withoutDirectory(c.list, ours).c_str()), c.without) << std::wstring(c.list).size();
}

TEST(DirectoryList, OnWindows98TheCodePageFoldsTheLetters)
{
    SetEnvironmentVariableA("TRELLIQ_WINDOWS98_LISTS", "1");
    const DWORD exitCode = testSupport::runAgain("DirectoryListOnWindows98.*", "test_host_win98_lists.exe");
    SetEnvironmentVariableA("TRELLIQ_WINDOWS98_LISTS", nullptr);
    EXPECT_EQ(exitCode, 0u) << "the Windows 98 copy's test failed";
}
