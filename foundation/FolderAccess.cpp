// createFolderWithAccess: the security descriptor built from well-known SIDs and the
// process's own user, the security functions looked up at run time.
#include "foundation/FolderAccess.h"

#include "foundation/SystemLibrary.h"
#include "foundation/WindowsVersion.h"

#include <windows.h>

namespace {

// Windows 95 has no security functions in advapi32.dll: importing them would keep the
// program from starting there. What NT 4.0 has builds the whole list.
struct Security {
    typedef BOOL(WINAPI* OpenProcessTokenFunction)(HANDLE, DWORD, PHANDLE);
    typedef BOOL(WINAPI* GetTokenInformationFunction)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    typedef BOOL(WINAPI* AllocateAndInitializeSidFunction)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD,
                                                           DWORD, DWORD, DWORD, DWORD, DWORD, PSID*);
    typedef PVOID(WINAPI* FreeSidFunction)(PSID);
    typedef DWORD(WINAPI* GetLengthSidFunction)(PSID);
    typedef BOOL(WINAPI* InitializeAclFunction)(PACL, DWORD, DWORD);
    typedef BOOL(WINAPI* AddAccessAllowedAceFunction)(PACL, DWORD, DWORD, PSID);
    typedef BOOL(WINAPI* GetAceFunction)(PACL, DWORD, LPVOID*);
    typedef BOOL(WINAPI* InitializeSecurityDescriptorFunction)(PSECURITY_DESCRIPTOR, DWORD);
    typedef BOOL(WINAPI* SetSecurityDescriptorDaclFunction)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
    typedef BOOL(WINAPI* SetSecurityDescriptorControlFunction)(PSECURITY_DESCRIPTOR, SECURITY_DESCRIPTOR_CONTROL,
                                                               SECURITY_DESCRIPTOR_CONTROL);

    OpenProcessTokenFunction openProcessToken;
    GetTokenInformationFunction getTokenInformation;
    AllocateAndInitializeSidFunction allocateAndInitializeSid;
    FreeSidFunction freeSid;
    GetLengthSidFunction getLengthSid;
    InitializeAclFunction initializeAcl;
    AddAccessAllowedAceFunction addAccessAllowedAce;
    GetAceFunction getAce;
    InitializeSecurityDescriptorFunction initializeSecurityDescriptor;
    SetSecurityDescriptorDaclFunction setSecurityDescriptorDacl;
    // Windows 2000 and later only; null on NT 4.0.
    SetSecurityDescriptorControlFunction setSecurityDescriptorControl;

    template <typename Function> static bool find(const char* name, Function& function)
    {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(systemFunction("advapi32.dll", name)));
        return function != nullptr;
    }

    // Whether every function that Windows NT 4.0 has is there.
    bool load()
    {
        find("SetSecurityDescriptorControl", setSecurityDescriptorControl);
        return find("OpenProcessToken", openProcessToken) && find("GetTokenInformation", getTokenInformation)
               && find("AllocateAndInitializeSid", allocateAndInitializeSid) && find("FreeSid", freeSid)
               && find("GetLengthSid", getLengthSid) && find("InitializeAcl", initializeAcl)
               && find("AddAccessAllowedAce", addAccessAllowedAce) && find("GetAce", getAce)
               && find("InitializeSecurityDescriptor", initializeSecurityDescriptor)
               && find("SetSecurityDescriptorDacl", setSecurityDescriptorDacl);
    }

    // Adds an entry granting sid mask, inherited by files and folders made below. NT 4.0
    // has no AddAccessAllowedAceEx: the entry is added plain and its header given the flags.
    bool allow(PACL list, DWORD mask, PSID sid) const
    {
        ACE_HEADER* entry = nullptr;
        if (!addAccessAllowedAce(list, ACL_REVISION, mask, sid)
            || !getAce(list, list->AceCount - 1, reinterpret_cast<void**>(&entry)))
            return false;
        entry->AceFlags |= OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
        return true;
    }
};

// A well-known SID of the NT authority: one or two sub-authorities.
class WellKnownSid {
public:
    WellKnownSid(const Security& security, DWORD first, DWORD second, BYTE count) : security_(security)
    {
        SID_IDENTIFIER_AUTHORITY authority = {SECURITY_NT_AUTHORITY};
        if (!security.allocateAndInitializeSid(&authority, count, first, second, 0, 0, 0, 0, 0, 0, &sid_))
            sid_ = nullptr;
    }
    ~WellKnownSid()
    {
        if (sid_)
            security_.freeSid(sid_);
    }
    WellKnownSid(const WellKnownSid&) = delete;
    WellKnownSid& operator=(const WellKnownSid&) = delete;
    PSID sid() const { return sid_; }

private:
    const Security& security_;
    PSID sid_ = nullptr;
};

} // namespace

FolderSecurity::FolderSecurity(FolderAccess access)
{
    Security security;
    if (!security.load()) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return;
    }

    // The process's own user, for the folder of our own.
    union {
        TOKEN_USER user;
        BYTE bytes[256];
    } owner;
    PSID user = nullptr;
    if (access == FolderAccess::ownerAndAdministrators) {
        HANDLE token;
        if (!security.openProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
            return;
        DWORD length = 0;
        const bool got = security.getTokenInformation(token, TokenUser, &owner, sizeof owner, &length);
        const DWORD error = GetLastError();
        CloseHandle(token);
        if (!got) {
            SetLastError(error);
            return;
        }
        user = owner.user.User.Sid;
    }
    // The entries keep copies of the SIDs.
    const WellKnownSid administrators(security, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 2);
    const WellKnownSid system(security, SECURITY_LOCAL_SYSTEM_RID, 0, 1);
    const WellKnownSid users(security, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 2);
    if (!administrators.sid() || !system.sid() || !users.sid())
        return;

    const bool listed = security.initializeAcl(&list_.acl, sizeof list_, ACL_REVISION)
                        && security.allow(&list_.acl, FILE_ALL_ACCESS, administrators.sid())
                        && security.allow(&list_.acl, FILE_ALL_ACCESS, system.sid())
                        && (access == FolderAccess::ownerAndAdministrators
                                ? security.allow(&list_.acl, FILE_ALL_ACCESS, user)
                                : security.allow(&list_.acl, FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, users.sid()));
    if (!listed || !security.initializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION)
        || !security.setSecurityDescriptorDacl(&descriptor_, TRUE, &list_.acl, FALSE))
        return;
    // Protected: from Windows 2000 on, the parent's inheritable entries (the temporary
    // folder's, a drive root's "Authenticated Users: Modify") would be merged into the list
    // given. NT 4.0 never merges them into a list given at creation, and has no such flag.
    if (security.setSecurityDescriptorControl
        && !security.setSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
        return;
    built_ = true;
}

bool createFolderWithAccess(const String& path, FolderAccess access)
{
    if (!isWindowsNT())
        return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    FolderSecurity security(access);
    if (!security.descriptor())
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, security.descriptor(), FALSE};
    return CreateDirectoryA(path.c_str(), &attributes) != FALSE;
}
