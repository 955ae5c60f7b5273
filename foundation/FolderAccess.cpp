// createFolderWithAccess: the security descriptor built from well-known SIDs and the
// process's own user, the security functions looked up at run time.
#include "foundation/FolderAccess.h"

#include "foundation/WindowsVersion.h"

#include <windows.h>

namespace {

// Windows 95 has no security functions in advapi32.dll: importing them would keep the
// program from starting there.
struct Security {
    typedef BOOL(WINAPI* OpenProcessTokenFunction)(HANDLE, DWORD, PHANDLE);
    typedef BOOL(WINAPI* GetTokenInformationFunction)(HANDLE, TOKEN_INFORMATION_CLASS, LPVOID, DWORD, PDWORD);
    typedef BOOL(WINAPI* AllocateAndInitializeSidFunction)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD,
                                                           DWORD, DWORD, DWORD, DWORD, DWORD, PSID*);
    typedef PVOID(WINAPI* FreeSidFunction)(PSID);
    typedef DWORD(WINAPI* GetLengthSidFunction)(PSID);
    typedef BOOL(WINAPI* InitializeAclFunction)(PACL, DWORD, DWORD);
    typedef BOOL(WINAPI* AddAccessAllowedAceExFunction)(PACL, DWORD, DWORD, DWORD, PSID);
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
    AddAccessAllowedAceExFunction addAccessAllowedAceEx;
    InitializeSecurityDescriptorFunction initializeSecurityDescriptor;
    SetSecurityDescriptorDaclFunction setSecurityDescriptorDacl;
    SetSecurityDescriptorControlFunction setSecurityDescriptorControl;

    template <typename Function> static bool find(HMODULE module, const char* name, Function& function)
    {
        function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
        return function != nullptr;
    }

    // Whether every function is there (Windows 2000 and later).
    bool load()
    {
        const HMODULE module = GetModuleHandleA("advapi32.dll");
        return module && find(module, "OpenProcessToken", openProcessToken)
               && find(module, "GetTokenInformation", getTokenInformation)
               && find(module, "AllocateAndInitializeSid", allocateAndInitializeSid)
               && find(module, "FreeSid", freeSid) && find(module, "GetLengthSid", getLengthSid)
               && find(module, "InitializeAcl", initializeAcl)
               && find(module, "AddAccessAllowedAceEx", addAccessAllowedAceEx)
               && find(module, "InitializeSecurityDescriptor", initializeSecurityDescriptor)
               && find(module, "SetSecurityDescriptorDacl", setSecurityDescriptorDacl)
               && find(module, "SetSecurityDescriptorControl", setSecurityDescriptorControl);
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

const DWORD inherited = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;

} // namespace

bool createFolderWithAccess(const String& path, FolderAccess access)
{
    if (!isWindowsNT())
        return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
    Security security;
    if (!security.load()) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
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
            return false;
        DWORD length = 0;
        const bool got = security.getTokenInformation(token, TokenUser, &owner, sizeof owner, &length);
        const DWORD error = GetLastError();
        CloseHandle(token);
        if (!got) {
            SetLastError(error);
            return false;
        }
        user = owner.user.User.Sid;
    }
    const WellKnownSid administrators(security, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 2);
    const WellKnownSid system(security, SECURITY_LOCAL_SYSTEM_RID, 0, 1);
    const WellKnownSid users(security, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 2);
    if (!administrators.sid() || !system.sid() || !users.sid())
        return false;

    // Room for four entries with SIDs of up to 68 bytes each.
    union {
        ACL acl;
        BYTE bytes[sizeof(ACL) + 4 * (sizeof(ACCESS_ALLOWED_ACE) + 68)];
    } list;
    const bool listed =
        security.initializeAcl(&list.acl, sizeof list, ACL_REVISION)
        && security.addAccessAllowedAceEx(&list.acl, ACL_REVISION, inherited, FILE_ALL_ACCESS, administrators.sid())
        && security.addAccessAllowedAceEx(&list.acl, ACL_REVISION, inherited, FILE_ALL_ACCESS, system.sid())
        && (access == FolderAccess::ownerAndAdministrators
                ? security.addAccessAllowedAceEx(&list.acl, ACL_REVISION, inherited, FILE_ALL_ACCESS, user)
                : security.addAccessAllowedAceEx(&list.acl, ACL_REVISION, inherited,
                                                 FILE_GENERIC_READ | FILE_GENERIC_EXECUTE, users.sid()));
    SECURITY_DESCRIPTOR descriptor;
    // Protected: the parent's inheritable entries (the temporary folder's, a drive root's
    // "Authenticated Users: Modify") never reach the folder.
    if (!listed || !security.initializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)
        || !security.setSecurityDescriptorDacl(&descriptor, TRUE, &list.acl, FALSE)
        || !security.setSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED))
        return false;
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, &descriptor, FALSE};
    return CreateDirectoryA(path.c_str(), &attributes) != FALSE;
}
