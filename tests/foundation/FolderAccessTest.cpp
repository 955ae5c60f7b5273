// FolderSecurity, createFolderWithAccess: the rights a new folder is made with, read with the
// system's own calls, on the Windows 2000 path and on the NT 4.0 one (no
// SetSecurityDescriptorControl).
#include "foundation/FolderAccess.h"
#include "foundation/SystemLibrary.h"
#include "tests/foundation/TempFolder.h"

#include <gtest/gtest.h>

#include <sddl.h>

#include <string>
#include <vector>

namespace {

struct Entry {
    std::string sid; // "S-1-5-32-544" and the like
    DWORD mask;
    BYTE flags;
};

std::string sidText(PSID sid)
{
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text))
        return "<no text>";
    const std::string result = text;
    LocalFree(text);
    return result;
}

// The descriptor's access list as entries, and whether it is protected from the parent's.
std::vector<Entry> entriesOf(PSECURITY_DESCRIPTOR descriptor, bool& isProtected)
{
    std::vector<Entry> entries;
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    if (!descriptor || !GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted) || !present)
        return entries;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    isProtected = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD i = 0; list && i < list->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (GetAce(list, i, reinterpret_cast<void**>(&ace)) && ace->Header.AceType == ACCESS_ALLOWED_ACE_TYPE)
            entries.push_back({sidText(&ace->SidStart), ace->Mask, ace->Header.AceFlags});
    }
    return entries;
}

std::string currentUser()
{
    HANDLE token;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    union {
        TOKEN_USER user;
        BYTE bytes[256];
    } owner;
    DWORD length = 0;
    GetTokenInformation(token, TokenUser, &owner, sizeof owner, &length);
    CloseHandle(token);
    return sidText(owner.user.User.Sid);
}

TEST(FolderAccess, EveryEntryGrantsItsRightsToEverythingBelowOnWindows2000AndOnNT4)
{
    const char* const nt4[] = {"SetSecurityDescriptorControl", nullptr};
    const std::string user = currentUser();
    const DWORD readExecute = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
    // Inherited by the files and folders made below.
    const BYTE inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    const struct {
        const char* system;
        const char* const* hidden;
        FolderAccess access;
        std::vector<Entry> expected;
    } cases[] = {
        {"2000", nullptr, FolderAccess::ownerAndAdministrators,
         {{"S-1-5-32-544", FILE_ALL_ACCESS, inherited}, {"S-1-5-18", FILE_ALL_ACCESS, inherited}, {user, FILE_ALL_ACCESS, inherited}}},
        {"2000", nullptr, FolderAccess::likeProgramFiles,
         {{"S-1-5-32-544", FILE_ALL_ACCESS, inherited}, {"S-1-5-18", FILE_ALL_ACCESS, inherited}, {"S-1-5-32-545", readExecute, inherited}}},
        {"NT 4.0", nt4, FolderAccess::ownerAndAdministrators,
         {{"S-1-5-32-544", FILE_ALL_ACCESS, inherited}, {"S-1-5-18", FILE_ALL_ACCESS, inherited}, {user, FILE_ALL_ACCESS, inherited}}},
        {"NT 4.0", nt4, FolderAccess::likeProgramFiles,
         {{"S-1-5-32-544", FILE_ALL_ACCESS, inherited}, {"S-1-5-18", FILE_ALL_ACCESS, inherited}, {"S-1-5-32-545", readExecute, inherited}}},
    };
    for (const auto& c : cases) {
        hideSystemFunctions(c.hidden);
        FolderSecurity security(c.access);
        hideSystemFunctions(nullptr);
        ASSERT_NE(security.descriptor(), nullptr) << "Windows " << c.system << ": error " << GetLastError();
        // Wine keeps no rights on files (it shows ones made from the Unix mode bits): the
        // descriptor the folder is made with is read instead of the folder's.
        bool isProtected = false;
        const std::vector<Entry> entries = entriesOf(security.descriptor(), isProtected);
        // NT 4.0 never merges the parent's entries into a list given at creation; Windows
        // 2000 and later would without the protection.
        EXPECT_EQ(isProtected, c.hidden == nullptr) << "Windows " << c.system;
        std::string seen;
        for (const Entry& entry : entries)
            seen += " " + entry.sid + "/" + std::to_string(entry.mask) + "/" + std::to_string(entry.flags);
        ASSERT_EQ(entries.size(), c.expected.size()) << "Windows " << c.system << ":" << seen;
        for (size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].sid, c.expected[i].sid) << "Windows " << c.system << ", entry " << i;
            EXPECT_EQ(entries[i].mask, c.expected[i].mask) << "Windows " << c.system << ", entry " << i;
            EXPECT_EQ(entries[i].flags, c.expected[i].flags) << "Windows " << c.system << ", entry " << i;
        }
    }
}

TEST(FolderAccess, AnExistingFolderIsNeverTakenOver)
{
    const TempFolder temp("folder access");
    const String folder = temp + "made";
    ASSERT_TRUE(createFolderWithAccess(folder, FolderAccess::ownerAndAdministrators)) << GetLastError();
    EXPECT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
    SetLastError(0);
    EXPECT_FALSE(createFolderWithAccess(folder, FolderAccess::ownerAndAdministrators));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

} // namespace
