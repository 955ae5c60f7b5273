// registry-cancel: a cancel at each point where the registry update polls the "Update
// Registry" dialog. The install reports ERROR_CANCELLED, touches nothing but the product's
// own entries, and the uninstall that follows leaves the registry exactly as it was before.
// It compares whole registry trees, so tests/e2e/faults.sh runs it in a Wine world of its
// own, where no other program writes the registry meanwhile.
#include "host/ProductRegistry.h"

#include "host/RegistryUpdate.h"
#include "host/UpdateRegistryView.h"
#include "tests/host/MessageRecorder.h"
#include "tests/host/RecordingView.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>

namespace {

// Every key and value below root\path, one line each: "path\\name=type:hex bytes".
void dump(HKEY root, const std::string& path, std::set<std::string>& lines)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    lines.insert(path + "\\");
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameLength = sizeof name;
        static BYTE data[65536];
        DWORD dataLength = sizeof data;
        DWORD type;
        if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS)
            break;
        std::string line = path + "\\" + name + "=" + std::to_string(type) + ":";
        for (DWORD b = 0; b < dataLength; ++b) {
            char hex[3];
            std::snprintf(hex, sizeof hex, "%02x", data[b]);
            line += hex;
        }
        lines.insert(line);
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        dump(root, path + "\\" + name, lines);
    }
    RegCloseKey(key);
}

bool startsWithFolded(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && _strnicmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

std::set<std::string> registry()
{
    std::set<std::string> lines;
    for (const char* path : {"Software", "Environment"}) {
        std::set<std::string> part;
        dump(HKEY_CURRENT_USER, path, part);
        // Wine keeps settings of its own there that it writes at any time.
        for (const std::string& line : part) {
            if (!startsWithFolded(line, "Software\\Wine\\"))
                lines.insert("HKCU\\" + line);
        }
    }
    for (const char* path : {"Software", "System\\CurrentControlSet\\Control\\Session Manager\\Environment"}) {
        std::set<std::string> part;
        dump(HKEY_LOCAL_MACHINE, path, part);
        for (const std::string& line : part)
            lines.insert("HKLM\\" + line);
    }
    return lines;
}

// The product's own entries: its uninstall entry, company key, file type, and its folders
// in the environment lists. A 64-bit program sees the registry's 32-bit view, where the
// machine entry belongs, below Wow6432Node; anywhere else it would be a foreign change.
bool isProducts(const std::string& line)
{
    const char* const own[] = {
        sizeof(void*) == 8 ? "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelliq\\"
                           : "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelliq\\",
        "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelliq\\",
        "HKCU\\Software\\Pembrox\\",
        "HKLM\\Software\\Classes\\.trq\\",
        "HKLM\\Software\\Classes\\Coverage.File\\",
        "HKCU\\Software\\Classes\\.trq\\",
        "HKCU\\Software\\Classes\\Coverage.File\\",
        "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment\\PATH=",
        "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment\\LIB=",
        "HKLM\\System\\CurrentControlSet\\Control\\Session Manager\\Environment\\TRQFILE=",
        "HKCU\\Environment\\PATH=",
        "HKCU\\Environment\\LIB=",
        "HKCU\\Environment\\TRQFILE=",
    };
    for (const char* prefix : own) {
        if (startsWithFolded(line, prefix))
            return true;
    }
    return false;
}

std::string differences(const std::set<std::string>& before, const std::set<std::string>& after, bool onlyForeign)
{
    std::string text;
    for (const std::string& line : before) {
        if (!after.count(line) && !(onlyForeign && isProducts(line)))
            text += "- " + line.substr(0, 200) + "\n";
    }
    for (const std::string& line : after) {
        if (!before.count(line) && !(onlyForeign && isProducts(line)))
            text += "+ " + line.substr(0, 200) + "\n";
    }
    return text;
}

bool runUpdate(bool install, UpdateRegistryView* view)
{
    RunContext context;
    context.installMode = install;
    context.destination = "C:\\Tools\\Trelliq\\";
    RegistryUpdate update(context, view);
    return updateRegistry(update, "C:\\work\\test.trq");
}

} // namespace

TEST(UpdateRegistryCancel, AtEveryPollTheProductAloneIsTouchedAndTheUninstallRestoresAll)
{
    MessageRecorder recorder;
    const std::set<std::string> before = registry();
    RecordingView counting(0);
    ASSERT_TRUE(runUpdate(true, &counting));
    const int polls = counting.polls;
    ASSERT_GE(polls, 3) << "the entry, the environment lists and TRQFILE are each followed by a poll";
    runUpdate(false, nullptr);
    ASSERT_EQ(differences(before, registry(), false), "") << "a whole install and uninstall";

    for (int at = 1; at <= polls; ++at) {
        recorder.messages().clear();
        RecordingView cancelling(at);
        SetLastError(0);
        EXPECT_FALSE(runUpdate(true, &cancelling)) << "cancel at poll " << at;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANCELLED)) << "cancel at poll " << at;
        ASSERT_EQ(recorder.messages().size(), 1u) << "cancel at poll " << at;
        EXPECT_NE(recorder.messages()[0].text.find("Error 1223: "), std::string::npos)
            << recorder.messages()[0].text;
        EXPECT_EQ(differences(before, registry(), true), "") << "cancel at poll " << at;

        recorder.messages().clear();
        runUpdate(false, nullptr);
        EXPECT_EQ(differences(before, registry(), false), "") << "uninstall after a cancel at poll " << at;
    }
}
