/* A registry value's type and bytes through the wide API, for the end-to-end scenarios to
   set and compare other programs' text unit for unit (reg.exe shows text through the
   console's code page, which loses what that cannot hold):
     wideValue set KEY NAME TYPE HEX   TYPE in decimal, HEX the data's bytes
     wideValue get KEY NAME            prints "TYPE HEX"; exit code 1 when there is none
     wideValue lock KEY                makes KEY (if missing) and lets everybody only read it
   KEY begins with HKLM\ or HKCU\; HKLM\Software is taken in the 32-bit view, where the
   product's machine keys live on 64-bit Windows, but for its Classes, which each program
   takes in its own view (Windows shares file types between the views; Wine does not). */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static HKEY openKey(const char* key, REGSAM access)
{
    HKEY root = NULL;
    HKEY handle = NULL;
    const char* subkey = key + 5;
    if (_strnicmp(key, "HKLM\\", 5) == 0) {
        root = HKEY_LOCAL_MACHINE;
        if (_strnicmp(subkey, "software", 8) == 0 && (subkey[8] == '\\' || subkey[8] == '\0')
            && _strnicmp(subkey, "software\\classes", 16) != 0)
            access |= KEY_WOW64_32KEY;
    } else if (_strnicmp(key, "HKCU\\", 5) == 0) {
        root = HKEY_CURRENT_USER;
    } else {
        return NULL;
    }
    if (RegCreateKeyExA(root, subkey, 0, NULL, 0, access, NULL, &handle, NULL) != ERROR_SUCCESS)
        return NULL;
    return handle;
}

int main(int argc, char** argv)
{
    WCHAR name[256];
    HKEY key;
    if (argc == 3 && strcmp(argv[1], "lock") == 0) {
        SID_IDENTIFIER_AUTHORITY world = {SECURITY_WORLD_SID_AUTHORITY};
        PSID everyone = NULL;
        BYTE aclBuffer[256];
        PACL acl = (PACL)aclBuffer;
        SECURITY_DESCRIPTOR descriptor;
        LONG status;
        key = openKey(argv[2], KEY_READ | WRITE_DAC);
        if (!key || !AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)
            || !InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION)
            || !AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ, everyone)
            || !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION)
            || !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE))
            return 2;
        status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
        RegCloseKey(key);
        FreeSid(everyone);
        return status == ERROR_SUCCESS ? 0 : 2;
    }
    if (argc < 4 || !MultiByteToWideChar(CP_ACP, 0, argv[3], -1, name, 256))
        return 2;
    if (strcmp(argv[1], "set") == 0 && argc == 6) {
        const char* hex = argv[5];
        size_t size = strlen(hex) / 2;
        BYTE* data = malloc(size + 1);
        size_t i;
        LONG status;
        for (i = 0; i < size; ++i) {
            char pair[3] = {hex[2 * i], hex[2 * i + 1], 0};
            data[i] = (BYTE)strtoul(pair, NULL, 16);
        }
        key = openKey(argv[2], KEY_WRITE);
        if (!key)
            return 2;
        status = RegSetValueExW(key, name, 0, strtoul(argv[4], NULL, 10), data, (DWORD)size);
        RegCloseKey(key);
        free(data);
        return status == ERROR_SUCCESS ? 0 : 2;
    }
    if (strcmp(argv[1], "get") == 0 && argc == 4) {
        DWORD type = 0;
        DWORD size = 0;
        DWORD i;
        BYTE* data;
        key = openKey(argv[2], KEY_READ);
        if (!key || RegQueryValueExW(key, name, NULL, &type, NULL, &size) != ERROR_SUCCESS)
            return 1;
        data = malloc(size + 1);
        if (RegQueryValueExW(key, name, NULL, &type, data, &size) != ERROR_SUCCESS)
            return 1;
        printf("%lu ", (unsigned long)type);
        for (i = 0; i < size; ++i)
            printf("%02x", data[i]);
        printf("\n");
        RegCloseKey(key);
        free(data);
        return 0;
    }
    return 2;
}
