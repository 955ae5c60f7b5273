// Tests of updateRegistry and the ".trq" association on the test prefix's registry.
#include "host/ProductRegistry.h"

#include "host/RegistryKey.h"
#include "host/RegistryUpdate.h"
#include "host/UpdateRegistryView.h"
#include "MessageRecorder.h"
#include "RawRegistry.h"
#include "RecordingView.h"

#include <gtest/gtest.h>

#include <winternl.h>
#include <shellapi.h>
#include <windows.h>

#include <string>

extern "C" NTSTATUS NTAPI NtDeleteKey(HANDLE key);

namespace {

const std::string entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelliq";
const std::string company = "Software\\Pembrox";
const std::string product = company + "\\Trelliq";
const std::string machineEnvironment = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const std::string recorder = "Software\\TrelliqTest\\Recorder";

// Makes key unwritable: a registry link to a key whose parent does not exist, so that
// creating or writing it fails. Wine ignores a key's access list (the tests run as root), so
// a denying list cannot stand in for a user without rights.
void createDenied(HKEY root, const std::string& key)
{
    HKEY link;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, REG_OPTION_CREATE_LINK, KEY_ALL_ACCESS | raw::view(root), nullptr, &link,
                              nullptr),
              ERROR_SUCCESS);
    const wchar_t target[] = L"\\Registry\\Machine\\Software\\TrelliqTest\\Nowhere\\Denied";
    EXPECT_EQ(RegSetValueExW(link, L"SymbolicLinkValue", 0, REG_LINK, reinterpret_cast<const BYTE*>(target),
                             sizeof target - sizeof(wchar_t)),
              ERROR_SUCCESS);
    RegCloseKey(link);
}

void releaseDenied(HKEY root, const std::string& key)
{
    HKEY link;
    if (RegOpenKeyExA(root, key.c_str(), REG_OPTION_OPEN_LINK, DELETE | raw::view(root), &link) == ERROR_SUCCESS) {
        NtDeleteKey(link);
        RegCloseKey(link);
    }
}

// Starts a command line as Windows would (from the uninstall list, say), waits for its end
// and returns what it wrote to its standard output.
std::string outputOf(const std::string& commandLine)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return "<no pipe>";
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    PROCESS_INFORMATION process;
    std::string command = commandLine;
    const bool started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(writeEnd);
    std::string output;
    char buffer[4096];
    DWORD got;
    while (started && ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        output.append(buffer, got);
    CloseHandle(readEnd);
    if (!started)
        return "<not started>";
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return output;
}

class ProductRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clean();
        context.destination = "C:\\Tools\\Trelliq\\";
    }
    void TearDown() override { clean(); }
    static void clean()
    {
        raw::removeTree(HKEY_LOCAL_MACHINE, entry);
        raw::removeTree(HKEY_CURRENT_USER, entry);
        raw::removeTree(HKEY_CURRENT_USER, company);
        for (const char* key : {".trq", "Coverage.File", "Trelliq.File"})
            raw::removeTree(HKEY_CLASSES_ROOT, key);
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, machineEnvironment.c_str(), "TRQFILE");
    }
    bool install(const char* coverageFile = "C:\\work\\test.trq") { return install(coverageFile, view); }
    bool install(const char* coverageFile, UpdateRegistryView& shownIn)
    {
        context.installMode = true;
        RegistryUpdate update(context, &shownIn);
        return updateRegistry(update, coverageFile);
    }
    bool uninstall()
    {
        context.installMode = false;
        RegistryUpdate update(context, &view);
        return updateRegistry(update, String());
    }

    RunContext context;
    RecordingView view;
};

} // namespace

TEST_F(ProductRegistryTest, InstallWritesTheExactValuesAndUninstallRemovesThem)
{
    raw::createKey(HKEY_CLASSES_ROOT, "Trelliq.File\\shell");
    MessageRecorder recorder;
    ASSERT_TRUE(install());
    EXPECT_TRUE(MessageRecorder::messages().empty());
    EXPECT_EQ(view.shown, 1);
    EXPECT_EQ(view.hidden, 1);

    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, entry, "DisplayName"), "Trelliq 5.2.9");
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, entry, "UninstallString"), "\"C:\\Tools\\Trelliq\\uninstall.exe\"");
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, entry));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, product, "version"), "5.2.9");
    EXPECT_EQ(raw::read(HKEY_CLASSES_ROOT, ".trq", nullptr), "Coverage.File");
    EXPECT_EQ(raw::read(HKEY_CLASSES_ROOT, "Coverage.File\\DefaultIcon", nullptr),
              "C:\\Tools\\Trelliq\\bin\\coverageBrowser.exe,1");
    EXPECT_EQ(raw::read(HKEY_CLASSES_ROOT, "Coverage.File\\shell\\open\\command", nullptr),
              "\"C:\\Tools\\Trelliq\\bin\\coverageBrowser.exe\" \"%1\"");
    EXPECT_FALSE(raw::exists(HKEY_CLASSES_ROOT, "Trelliq.File"));
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, machineEnvironment, "TRQFILE"), "C:\\work\\test.trq");
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, machineEnvironment, "PATH").find("C:\\Tools\\Trelliq\\bin;"), 0u);

    // What "Apps & Features" shows, read back by Wine's reg.exe and its uninstaller.
    const std::string query = outputOf("reg.exe query \"HKLM\\" + entry + "\" /reg:32");
    for (const char* line : {"DisplayVersion    REG_SZ    5.2.9", "Publisher    REG_SZ    Pembrox",
                             "DisplayIcon    REG_SZ    C:\\Tools\\Trelliq\\bin\\coverageBrowser.exe",
                             "InstallLocation    REG_SZ    C:\\Tools\\Trelliq\\", "NoModify    REG_DWORD    0x1",
                             "NoRepair    REG_DWORD    0x1"})
        EXPECT_NE(query.find(line), std::string::npos) << line << " not in:\n" << query;
    const std::string list = outputOf("uninstaller.exe --list");
    EXPECT_NE(list.find("Trelliq 5.2.9"), std::string::npos) << list;

    ASSERT_TRUE(uninstall());
    EXPECT_EQ(view.shown, 1);
    EXPECT_FALSE(raw::exists(HKEY_LOCAL_MACHINE, entry));
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, company));
    EXPECT_FALSE(raw::exists(HKEY_CLASSES_ROOT, ".trq"));
    EXPECT_FALSE(raw::exists(HKEY_CLASSES_ROOT, "Coverage.File"));
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, machineEnvironment, "TRQFILE"), "<missing>");
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, machineEnvironment, "PATH").find("C:\\Tools\\Trelliq\\bin"),
              std::string::npos);
}

TEST_F(ProductRegistryTest, WithoutRightsOnTheMachineKeyTheEntryGoesToTheUser)
{
    createDenied(HKEY_LOCAL_MACHINE, entry);
    EXPECT_TRUE(install());
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, entry, "DisplayName"), "<missing>");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, entry, "DisplayName"), "Trelliq 5.2.9");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, entry, "UninstallString"), "\"C:\\Tools\\Trelliq\\uninstall.exe\"");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, entry, "NoRepair"), "1");
    releaseDenied(HKEY_LOCAL_MACHINE, entry);

    // Uninstall: the machine removal fails, the user one succeeds, and that counts.
    MessageRecorder recorder;
    EXPECT_TRUE(uninstall());
    EXPECT_TRUE(MessageRecorder::messages().empty());
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, entry));
}

TEST_F(ProductRegistryTest, UninstallRemovesTheEntriesOfBothHives)
{
    // One install with machine rights and one without: an entry under each root.
    ASSERT_TRUE(install());
    raw::putString(HKEY_CURRENT_USER, entry, "DisplayName", "Trelliq 5.2.9");
    raw::putString(HKEY_CURRENT_USER, entry, "UninstallString", "\"C:\\Tools\\Trelliq\\uninstall.exe\"");
    MessageRecorder recorder;
    EXPECT_TRUE(uninstall());
    EXPECT_TRUE(MessageRecorder::messages().empty());
    EXPECT_FALSE(raw::exists(HKEY_LOCAL_MACHINE, entry));
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, entry));
}

TEST_F(ProductRegistryTest, AnEmptyCoverageFileRemovesTrqfile)
{
    raw::putString(HKEY_LOCAL_MACHINE, machineEnvironment, "TRQFILE", "C:\\old.trq");
    ASSERT_TRUE(install(""));
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, machineEnvironment, "TRQFILE"), "<missing>");
    uninstall();
}

TEST_F(ProductRegistryTest, AnUnwritableTrqIsReportedWithoutIconOrCommand)
{
    createDenied(HKEY_CLASSES_ROOT, ".trq");
    raw::createKey(HKEY_CLASSES_ROOT, "Trelliq.File");
    MessageRecorder recorder;
    EXPECT_FALSE(install());
    releaseDenied(HKEY_CLASSES_ROOT, ".trq");
    EXPECT_FALSE(raw::exists(HKEY_CLASSES_ROOT, "Coverage.File"));
    EXPECT_FALSE(raw::exists(HKEY_CLASSES_ROOT, "Trelliq.File"));
    ASSERT_EQ(MessageRecorder::messages().size(), 1u);
    EXPECT_EQ(MessageRecorder::messages()[0].text.rfind("Error updating registry HKEY_LOCAL_MACHINE\\Software\\Classes\\.trq\\: Error ", 0),
              0u)
        << MessageRecorder::messages()[0].text;
    EXPECT_EQ(MessageRecorder::messages()[0].style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    uninstall();
}

TEST_F(ProductRegistryTest, UninstallKeepsACompanyKeyThatHoldsAnotherProduct)
{
    ASSERT_TRUE(install());
    raw::putString(HKEY_CURRENT_USER, company + "\\Other Product", "version", "1.0");
    raw::putString(HKEY_CURRENT_USER, company + "\\Coverage Browser", "window", "0 0 640 480");
    EXPECT_TRUE(uninstall());
    EXPECT_TRUE(raw::exists(HKEY_CURRENT_USER, company + "\\Other Product"));
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, product));
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, company + "\\Coverage Browser"));
}

TEST_F(ProductRegistryTest, UninstallWithoutTrqLeavesTheTypeAndFails)
{
    ASSERT_TRUE(install());
    raw::removeTree(HKEY_CLASSES_ROOT, ".trq");
    MessageRecorder recorder;
    EXPECT_FALSE(uninstall());
    EXPECT_TRUE(raw::exists(HKEY_CLASSES_ROOT, "Coverage.File"));
    EXPECT_FALSE(raw::exists(HKEY_LOCAL_MACHINE, entry));
    ASSERT_EQ(MessageRecorder::messages().size(), 1u);
    EXPECT_EQ(MessageRecorder::messages()[0].text.rfind("Error updating registry HKEY_LOCAL_MACHINE\\Software\\Classes\\.trq\\: Error 2: ", 0),
              0u)
        << MessageRecorder::messages()[0].text;
}

TEST_F(ProductRegistryTest, ACancelInTheDialogIsReportedAsCancelled)
{
    RecordingView cancelling(1);
    MessageRecorder recorder;
    SetLastError(0);
    EXPECT_FALSE(install("C:\\work\\test.trq", cancelling));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANCELLED));
    EXPECT_EQ(cancelling.hidden, 1);
    ASSERT_EQ(MessageRecorder::messages().size(), 1u);
    // The report names the setting shown last: TRQFILE comes before the next check.
    const std::string expected = "Error updating registry TRQFILE: Error 1223: ";
    EXPECT_EQ(MessageRecorder::messages()[0].text.rfind(expected, 0), 0u) << MessageRecorder::messages()[0].text;
    // The first failure stops the later writes.
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, machineEnvironment, "PATH").find("C:\\Tools\\Trelliq"), std::string::npos);
    EXPECT_FALSE(raw::exists(HKEY_CLASSES_ROOT, ".trq"));
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, machineEnvironment, "TRQFILE"), "<missing>");
    uninstall();
}

TEST_F(ProductRegistryTest, QuotedCommandLinesStartTheirProgramsDespiteProgramExe)
{
    const std::string folder = "C:\\Program Files\\Trelliq Test\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "bin").c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(RECORDER_PROGRAM, "C:\\Program.exe", FALSE));
    ASSERT_TRUE(CopyFileA(RECORDER_PROGRAM, (folder + "uninstall.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(RECORDER_PROGRAM, (folder + "bin\\coverageBrowser.exe").c_str(), FALSE));
    const std::string document = folder + "sample.trq";
    CloseHandle(CreateFileA(document.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    context.destination = folder.c_str();
    ASSERT_TRUE(install());

    // The control: such a line without quotes starts C:\Program.exe.
    raw::removeTree(HKEY_CURRENT_USER, recorder);
    ASSERT_NE(outputOf(folder + "uninstall.exe"), "<not started>");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, recorder, "Module"), "C:\\Program.exe");

    raw::removeTree(HKEY_CURRENT_USER, recorder);
    ASSERT_NE(outputOf(raw::read(HKEY_LOCAL_MACHINE, entry, "UninstallString")), "<not started>");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, recorder, "Module"), folder + "uninstall.exe");

    raw::removeTree(HKEY_CURRENT_USER, recorder);
    SHELLEXECUTEINFOA open = {};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOCLOSEPROCESS;
    open.lpVerb = "open";
    open.lpFile = document.c_str();
    open.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&open));
    ASSERT_NE(open.hProcess, nullptr);
    WaitForSingleObject(open.hProcess, INFINITE);
    CloseHandle(open.hProcess);
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, recorder, "Module"), folder + "bin\\coverageBrowser.exe");
    EXPECT_NE(raw::read(HKEY_CURRENT_USER, recorder, "CommandLine").find("\"" + document + "\""), std::string::npos);

    uninstall();
    raw::removeTree(HKEY_CURRENT_USER, recorder);
    for (const std::string& file : {std::string("C:\\Program.exe"), folder + "uninstall.exe",
                                    folder + "bin\\coverageBrowser.exe", document})
        DeleteFileA(file.c_str());
    RemoveDirectoryA((folder + "bin").c_str());
    RemoveDirectoryA(folder.c_str());
}
