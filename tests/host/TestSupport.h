// Helpers of the host and archive tests: whole files, copies of the test program that see
// Windows 98, and registry keys whose security the test narrows for a while.
#pragma once

#include <windows.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace testSupport {

inline std::string contents(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

inline void write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Runs this program again with --gtest_filter=filter and returns its exit code (1 when it
// could not start). With copyName the run is a copy of that name in the temporary folder,
// for which alone the prefix reports the Windows named by version (Wine's names: "win98",
// "nt40", ...), so that other programs keep seeing the prefix's own.
inline DWORD runAgain(const char* filter, const char* copyName = nullptr, const char* version = "win98")
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string program = self;
    const std::string appKey = std::string("Software\\Wine\\AppDefaults\\") + (copyName ? copyName : "");
    if (copyName) {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        program = std::string(temp) + copyName;
        if (!CopyFileA(self, program.c_str(), FALSE))
            return 1;
        RegSetKeyValueA(HKEY_CURRENT_USER, appKey.c_str(), "Version", REG_SZ, version,
                        static_cast<DWORD>(std::strlen(version) + 1));
    }
    std::string commandLine = "\"" + program + "\" --gtest_filter=" + filter;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    DWORD exitCode = 1;
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hProcess);
        CloseHandle(process.hThread);
    }
    if (copyName) {
        RegDeleteKeyA(HKEY_CURRENT_USER, appKey.c_str());
        DeleteFileA(program.c_str());
    }
    return exitCode;
}

// While it lives, the key grants everyone exactly access (plus WRITE_DAC and READ_CONTROL,
// so that its security can be put back); then the key's own security returns.
class NarrowedKey {
public:
    NarrowedKey(HKEY root, const char* key, REGSAM access) : saved_(4096)
    {
        ok_ = RegOpenKeyExA(root, key, 0, READ_CONTROL | WRITE_DAC, &handle_) == ERROR_SUCCESS;
        DWORD size = saved_.size();
        ok_ = ok_ && RegGetKeySecurity(handle_, DACL_SECURITY_INFORMATION, saved_.data(), &size) == ERROR_SUCCESS;
        SECURITY_DESCRIPTOR narrowed;
        InitializeSecurityDescriptor(&narrowed, SECURITY_DESCRIPTOR_REVISION);
        alignas(DWORD) char aclBuffer[256];
        PACL acl = reinterpret_cast<PACL>(aclBuffer);
        InitializeAcl(acl, sizeof aclBuffer, ACL_REVISION);
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        PSID everyone;
        AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
        AddAccessAllowedAce(acl, ACL_REVISION, access | WRITE_DAC | READ_CONTROL, everyone);
        SetSecurityDescriptorDacl(&narrowed, TRUE, acl, FALSE);
        ok_ = ok_ && RegSetKeySecurity(handle_, DACL_SECURITY_INFORMATION, &narrowed) == ERROR_SUCCESS;
        FreeSid(everyone);
    }
    ~NarrowedKey()
    {
        RegSetKeySecurity(handle_, DACL_SECURITY_INFORMATION, saved_.data());
        RegCloseKey(handle_);
    }
    NarrowedKey(const NarrowedKey&) = delete;
    NarrowedKey& operator=(const NarrowedKey&) = delete;
    bool ok() const { return ok_; }

private:
    HKEY handle_ = nullptr;
    std::vector<char> saved_;
    bool ok_;
};

} // namespace testSupport
