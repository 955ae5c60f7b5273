// Persistent environment variables: the registry on Windows NT, the batch file and
// c:/autoexec.bat in a copy of this program that sees Windows 98.
#include "host/Environment.h"

#include "foundation/WindowsVersion.h"
#include "foundation/Path.h"
#include "host/BatchFile.h"
#include "host/RegistryUpdate.h"
#include "tests/host/RawRegistry.h"
#include "tests/host/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

using namespace testSupport;

const char* const machineKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
const char* const userKey = "Environment";

struct Stored {
    bool found = false;
    DWORD type = REG_NONE;
    std::string text;
};

// The value as stored, unexpanded.
Stored stored(HKEY root, const char* key, const char* name)
{
    Stored value;
    HKEY handle;
    if (RegOpenKeyExA(root, key, 0, KEY_READ | raw::view(root), &handle) != ERROR_SUCCESS)
        return value;
    DWORD size = 0;
    if (RegQueryValueExA(handle, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
        std::string data(size, '\0');
        RegQueryValueExA(handle, name, nullptr, &value.type, reinterpret_cast<BYTE*>(&data[0]), &size);
        value.found = true;
        value.text = data.c_str();
    }
    RegCloseKey(handle);
    return value;
}

void store(HKEY root, const char* key, const char* name, DWORD type, const std::string& text)
{
    HKEY handle;
    ASSERT_EQ(RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_WRITE | raw::view(root), nullptr, &handle, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()), text.size() + 1),
              ERROR_SUCCESS);
    RegCloseKey(handle);
}

// Puts a value back as it was when the test began.
class Keep {
public:
    Keep(HKEY root, const char* key, const char* name) : root_(root), key_(key), name_(name), saved_(stored(root, key, name)) {}
    ~Keep()
    {
        if (saved_.found)
            store(root_, key_, name_, saved_.type, saved_.text);
        else
            RegDeleteKeyValueA(root_, key_, name_);
    }
    const Stored& saved() const { return saved_; }

private:
    HKEY root_;
    const char* key_;
    const char* name_;
    Stored saved_;
};

// editDirectoryList in a registry update that installs or uninstalls; shown, when given,
// receives the setting the edit showed.
bool editAs(bool install, const char* keyPath, const char* name, const char* directory, String* shown = nullptr)
{
    RunContext context;
    context.installMode = install;
    RegistryUpdate update(context);
    const bool ok = editDirectoryList(update, keyPath, name, directory);
    if (shown)
        *shown = update.shown();
    return ok;
}

// Runs in a copy (see the next test): a program that uses no variable of machine scope.
TEST(EnvironmentUntouched, OnlyPerUserVariablesAreRead)
{
    if (!std::getenv("TRELLIQ_UNTOUCHED"))
        GTEST_SKIP() << "runs in the copy only";
    String text;
    getEnvironment("TRELLIQ_TEST", text, true);
}

// Nothing is written to the machine environment before a variable of machine scope is
// used: a value of the probe's name that another program keeps there is not touched.
TEST(Environment, TheMachineKeyIsNotProbedAtStart)
{
    Keep scratch(HKEY_LOCAL_MACHINE, machineKey, "_Win.tmp.$$$");
    store(HKEY_LOCAL_MACHINE, machineKey, "_Win.tmp.$$$", REG_SZ, "another program's");
    SetEnvironmentVariableA("TRELLIQ_UNTOUCHED", "1");
    EXPECT_EQ(runAgain("EnvironmentUntouched.*"), 0u);
    SetEnvironmentVariableA("TRELLIQ_UNTOUCHED", nullptr);
    const Stored seen = stored(HKEY_LOCAL_MACHINE, machineKey, "_Win.tmp.$$$");
    EXPECT_TRUE(seen.found) << "the copy removed it at its start";
    EXPECT_EQ(seen.text, "another program's");
}

TEST(Environment, TheProbeLeavesNoTrace)
{
    ASSERT_TRUE(isWindowsNT());
    EXPECT_TRUE(machineEnvironmentWritable()) << "the test prefix's machine key is writable";
    EXPECT_FALSE(stored(HKEY_LOCAL_MACHINE, machineKey, "_Win.tmp.$$$").found);
    EXPECT_FALSE(stored(HKEY_CURRENT_USER, userKey, "_Win.tmp.$$$").found);
}

TEST(Environment, PathKeepsItsTypeOneEntryAtTheFrontAndLosesItWhateverItsCase)
{
    Keep path(HKEY_LOCAL_MACHINE, machineKey, "PATH");
    ASSERT_TRUE(path.saved().found);
    // The prefix's own list stays behind ours, so programs started meanwhile still run.
    const std::string rest = "%SystemRoot%\\system32;" + path.saved().text;
    store(HKEY_LOCAL_MACHINE, machineKey, "PATH", REG_EXPAND_SZ, rest);

    String shown;
    EXPECT_TRUE(editAs(true, nullptr, "PATH", "C:/Tools/Trelliq/bin", &shown));
    EXPECT_EQ(shown.compareTo("PATH"), 0);
    Stored now = stored(HKEY_LOCAL_MACHINE, machineKey, "PATH");
    EXPECT_EQ(now.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(now.text, "C:\\Tools\\Trelliq\\bin;" + rest);

    editAs(true, nullptr, "PATH", "C:/Tools/Trelliq/bin");
    EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, machineKey, "PATH").text, "C:\\Tools\\Trelliq\\bin;" + rest)
        << "a second install leaves one entry";

    store(HKEY_LOCAL_MACHINE, machineKey, "PATH", REG_EXPAND_SZ, "C:\\TOOLS\\TRELLIQ\\BIN;" + rest);
    EXPECT_TRUE(editAs(false, nullptr, "PATH", "C:/Tools/Trelliq/bin"));
    now = stored(HKEY_LOCAL_MACHINE, machineKey, "PATH");
    EXPECT_EQ(now.text, rest);
    EXPECT_EQ(now.type, static_cast<DWORD>(REG_EXPAND_SZ));
}

TEST(Environment, ALongPathSurvivesInstallAndUninstallByteForByte)
{
    Keep path(HKEY_LOCAL_MACHINE, machineKey, "PATH");
    std::string list = "%SystemRoot%\\system32;" + path.saved().text;
    for (int i = 0; list.size() < 5000; ++i)
        list += ";C:\\Some Long Folder Name\\Of Another Product " + std::to_string(i);
    list.resize(5000);
    store(HKEY_LOCAL_MACHINE, machineKey, "PATH", REG_EXPAND_SZ, list);

    EXPECT_TRUE(editAs(true, nullptr, "PATH", "C:/Tools/Trelliq/bin"));
    Stored now = stored(HKEY_LOCAL_MACHINE, machineKey, "PATH");
    EXPECT_EQ(now.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(now.text.size(), 5000u + 21);
    EXPECT_TRUE(now.text == "C:\\Tools\\Trelliq\\bin;" + list) << "the product's entry first, then every byte";

    EXPECT_TRUE(editAs(false, nullptr, "PATH", "C:/Tools/Trelliq/bin"));
    now = stored(HKEY_LOCAL_MACHINE, machineKey, "PATH");
    EXPECT_TRUE(now.text == list) << "uninstall gives back the 5000 characters";
    EXPECT_EQ(now.type, static_cast<DWORD>(REG_EXPAND_SZ));
}

TEST(Environment, AListThatCannotBeReadIsKeptAndFailsTheStep)
{
    // A registry-form list whose key denies reading its values.
    const char* const key = "Software\\TrelliqTest\\Denied";
    store(HKEY_CURRENT_USER, key, "Path Dirs", REG_SZ, "C:\\Other\\bin");
    {
        NarrowedKey denied(HKEY_CURRENT_USER, key, KEY_SET_VALUE | DELETE);
        ASSERT_TRUE(denied.ok());
        SetLastError(0);
        EXPECT_FALSE(editAs(true, key, "Path Dirs", "C:/Tools/Trelliq/bin"));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    }
    EXPECT_EQ(stored(HKEY_CURRENT_USER, key, "Path Dirs").text, "C:\\Other\\bin") << "nothing written";
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TrelliqTest");
}

TEST(Environment, LibAndRegistryListsAreEditedPerUser)
{
    Keep lib(HKEY_CURRENT_USER, userKey, "LIB");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, userKey, "LIB");
    EXPECT_TRUE(editAs(true, nullptr, "LIB", "C:/Tools/Trelliq/lib"));
    Stored now = stored(HKEY_CURRENT_USER, userKey, "LIB");
    EXPECT_EQ(now.text, "C:\\Tools\\Trelliq\\lib;");
    EXPECT_EQ(now.type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(stored(HKEY_LOCAL_MACHINE, machineKey, "LIB").found) << "LIB is a per-user variable";
    EXPECT_TRUE(editAs(false, nullptr, "LIB", "C:/Tools/Trelliq/lib"));
    EXPECT_FALSE(stored(HKEY_CURRENT_USER, userKey, "LIB").found) << "deleted rather than left empty";

    // A list found only under HKEY_LOCAL_MACHINE is written, with its type, per user.
    const char* const key = "Software\\TrelliqTest\\Directories";
    store(HKEY_LOCAL_MACHINE, key, "Library Dirs", REG_EXPAND_SZ, "%VC%\\lib");
    String shown;
    EXPECT_TRUE(editAs(true, key, "Library Dirs", "C:/Tools/Trelliq/lib", &shown));
    EXPECT_EQ(shown.compareTo("Software\\TrelliqTest\\Directories\\Library Dirs"), 0);
    now = stored(HKEY_CURRENT_USER, key, "Library Dirs");
    EXPECT_EQ(now.text, "C:\\Tools\\Trelliq\\lib;%VC%\\lib");
    EXPECT_EQ(now.type, static_cast<DWORD>(REG_EXPAND_SZ));
    EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, key, "Library Dirs").text, "%VC%\\lib");
    raw::removeTree(HKEY_CURRENT_USER, "Software\\TrelliqTest");
    raw::removeTree(HKEY_LOCAL_MACHINE, "Software\\TrelliqTest");
}

// Counts the "Environment" announcements that reach a top-level window of its own thread.
class Listener {
public:
    Listener()
    {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, run, this, 0, &threadId_);
        WaitForSingleObject(ready_, INFINITE);
    }
    ~Listener()
    {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(ready_);
    }
    static volatile LONG changes;

private:
    static LRESULT CALLBACK count(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_WININICHANGE && lParam && std::string(reinterpret_cast<const char*>(lParam)) == "Environment")
            InterlockedIncrement(&changes);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static DWORD WINAPI run(void* self)
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = count;
        windowClass.lpszClassName = "TrelliqEnvironmentListener";
        windowClass.hInstance = GetModuleHandleA(nullptr);
        RegisterClassA(&windowClass);
        HWND window = CreateWindowA(windowClass.lpszClassName, "listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                    nullptr, windowClass.hInstance, nullptr);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        SetEvent(static_cast<Listener*>(self)->ready_);
        while (GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
        DestroyWindow(window);
        return 0;
    }
    HANDLE ready_;
    HANDLE thread_;
    DWORD threadId_;
};

volatile LONG Listener::changes = 0;

TEST(Environment, ChangesAreAnnouncedOnceWhateverTheirNumber)
{
    Listener listener;
    announceEnvironmentChange();
    Listener::changes = 0;

    Keep variable(HKEY_CURRENT_USER, userKey, "TRELLIQ_TEST");
    EXPECT_FALSE(environmentChanged());
    EXPECT_TRUE(setEnvironment("TRELLIQ_TEST", String("one"), true));
    EXPECT_TRUE(setEnvironment("TRELLIQ_TEST", RegistryValue(String("%TEMP%\\two"), REG_EXPAND_SZ), true));
    RegistryValue value;
    EXPECT_TRUE(getEnvironment("TRELLIQ_TEST", value, true));
    EXPECT_EQ(value.type, static_cast<uint32_t>(REG_EXPAND_SZ));
    EXPECT_EQ(value.text.compareTo("%TEMP%\\two"), 0) << "read as stored";
    EXPECT_TRUE(removeEnvironment("TRELLIQ_TEST", true));
    EXPECT_TRUE(environmentChanged());
    SetLastError(0);
    EXPECT_FALSE(removeEnvironment("TRELLIQ_TEST", true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    EXPECT_TRUE(announceEnvironmentChange());
    EXPECT_FALSE(announceEnvironmentChange());
    EXPECT_EQ(Listener::changes, 1);

    // At program end: once after two changes; not at all after the start-up probe alone.
    SetEnvironmentVariableA("TRELLIQ_CHANGE_AT_EXIT", "1");
    EXPECT_EQ(runAgain("EnvironmentAtExit.*"), 0u);
    SetEnvironmentVariableA("TRELLIQ_CHANGE_AT_EXIT", nullptr);
    EXPECT_EQ(Listener::changes, 2);
    EXPECT_EQ(runAgain("EnvironmentAtExit.*"), 0u);
    EXPECT_EQ(Listener::changes, 2) << "the probe is no change";
}

// Runs in a copy (see above), which announces its changes as it ends.
TEST(EnvironmentAtExit, TwoChanges)
{
    if (!std::getenv("TRELLIQ_CHANGE_AT_EXIT"))
        GTEST_SKIP() << "runs in the copy only";
    EXPECT_FALSE(environmentChanged()) << "the start-up probe is no change";
    EXPECT_TRUE(setEnvironment("TRELLIQ_TEST", String("one"), true));
    EXPECT_TRUE(removeEnvironment("TRELLIQ_TEST", true));
}

// Runs in a copy started while the machine key denies writing (see the next test).
TEST(EnvironmentWithoutMachineRights, MachineVariablesGoPerUser)
{
    if (!std::getenv("TRELLIQ_NO_MACHINE_RIGHTS"))
        GTEST_SKIP() << "runs in the copy without rights only";
    EXPECT_FALSE(machineEnvironmentWritable());
    EXPECT_FALSE(stored(HKEY_LOCAL_MACHINE, machineKey, "_Win.tmp.$$$").found);
    EXPECT_FALSE(stored(HKEY_CURRENT_USER, userKey, "_Win.tmp.$$$").found);
    EXPECT_TRUE(setEnvironment("TRQFILE", String("c:\\work\\test.trq"), false));
    EXPECT_TRUE(editAs(true, nullptr, "PATH", "C:/Tools/Trelliq/bin"));
}

TEST(Environment, WithoutRightsToTheMachineKeyTrqfileAndPathGoPerUser)
{
    Keep userPath(HKEY_CURRENT_USER, userKey, "PATH");
    Keep userTrqfile(HKEY_CURRENT_USER, userKey, "TRQFILE");
    RegDeleteKeyValueA(HKEY_CURRENT_USER, userKey, "PATH");
    const Stored machinePath = stored(HKEY_LOCAL_MACHINE, machineKey, "PATH");

    DWORD exitCode;
    {
        NarrowedKey readOnly(HKEY_LOCAL_MACHINE, machineKey, KEY_READ);
        ASSERT_TRUE(readOnly.ok());
        SetEnvironmentVariableA("TRELLIQ_NO_MACHINE_RIGHTS", "1");
        exitCode = runAgain("EnvironmentWithoutMachineRights.*");
        SetEnvironmentVariableA("TRELLIQ_NO_MACHINE_RIGHTS", nullptr);
    }
    EXPECT_EQ(exitCode, 0u) << "the copy without rights failed";
    EXPECT_EQ(stored(HKEY_CURRENT_USER, userKey, "TRQFILE").text, "c:\\work\\test.trq");
    EXPECT_EQ(stored(HKEY_CURRENT_USER, userKey, "PATH").text, "C:\\Tools\\Trelliq\\bin;");
    EXPECT_FALSE(stored(HKEY_LOCAL_MACHINE, machineKey, "TRQFILE").found);
    EXPECT_EQ(stored(HKEY_LOCAL_MACHINE, machineKey, "PATH").text, machinePath.text);
}

// --- Windows 95: the batch file and c:/autoexec.bat ---

std::string shortPath(const std::string& path)
{
    char buffer[MAX_PATH];
    return GetShortPathNameA(path.c_str(), buffer, sizeof buffer) ? buffer : path;
}

const char* const autoexec = "c:\\autoexec.bat";

// Runs in the Windows 98 copy only; TRELLIQ_BATCH names the batch file.
TEST(EnvironmentOnWindows95, BatchLinesAndTheCallLine)
{
    const char* batch = std::getenv("TRELLIQ_BATCH");
    if (!batch)
        GTEST_SKIP() << "runs in the Windows 98 copy only";
    ASSERT_FALSE(isWindowsNT());
    setBatchFilePath(batch);
    write(batch, "");
    const std::string call = "call " + shortPath(batch) + "\r\n";
    ASSERT_NE(call, std::string("call ") + batch + "\r\n") << "the call line names the short path";
    // A call line from before in other letters, and a last line without its line break.
    write(autoexec, "@ECHO OFF\r\nCALL " + shortPath(batch) + "\r\nrem keep");

    EXPECT_TRUE(setEnvironment("TRQFILE", String("c:\\work\\test.trq"), true));
    EXPECT_EQ(contents(batch), "set TRQFILE=c:\\work\\test.trq\r\n");
    EXPECT_EQ(contents(autoexec), "@ECHO OFF\r\nrem keep\r\n" + call) << "exactly once, as the last line";

    // The batch file's own folder has blanks: COMMAND.COM would keep quotes around it, so
    // PATH names its 8.3 form.
    const std::string bin = std::string(batch).substr(0, std::string(batch).rfind('\\'));
    const std::string shortBin = shortPath(bin);
    ASSERT_EQ(shortBin.find(' '), std::string::npos) << shortBin;
    EXPECT_TRUE(editAs(true, nullptr, "PATH", bin.c_str()));
    EXPECT_TRUE(editAs(true, nullptr, "LIB", "C:/Tools/Trelliq/lib"));
    EXPECT_TRUE(setEnvironment("TRQFILE", String("d:\\other.trq"), true));
    EXPECT_EQ(contents(batch), "set TRQFILE=d:\\other.trq\r\n"
                               "set PATH=" + shortBin + ";%PATH%\r\n"
                               "set LIB=C:\\Tools\\Trelliq\\lib;%LIB%\r\n");
    String text;
    EXPECT_TRUE(getEnvironment("PATH", text, false));
    EXPECT_TRUE(text.isEmpty()) << "the line extends %PATH% instead";
    EXPECT_FALSE(getEnvironment("TRELLIQ_NOT_SET", text, true));

    const std::string before = contents(batch);
    SetLastError(0);
    EXPECT_FALSE(removeEnvironment("NMCL", true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(contents(batch), before);

    EXPECT_TRUE(editAs(false, nullptr, "PATH", bin.c_str()));
    EXPECT_TRUE(removeEnvironment("trqfile", true)) << "the line is found whatever its case";
    EXPECT_EQ(contents(autoexec), "@ECHO OFF\r\nrem keep\r\n" + call) << "the batch file still has content";
    EXPECT_TRUE(removeEnvironment("LIB", true));
    EXPECT_EQ(contents(batch), "");
    EXPECT_EQ(contents(autoexec), "@ECHO OFF\r\nrem keep\r\n");

    // A batch file or autoexec.bat that would not fit the edit buffers: a clean failure.
    const std::string fullBatch = "rem " + std::string(batchFileLimit - 10, 'x') + "\r\n";
    write(batch, fullBatch);
    SetLastError(0);
    EXPECT_FALSE(setEnvironment("TRQFILE", String("c:\\t.trq"), true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_EQ(contents(batch), fullBatch);
    write(batch, "set TRQFILE=x\r\n" + std::string(batchFileLimit, 'y'));
    EXPECT_FALSE(removeEnvironment("TRQFILE", true)) << "too long to be read whole";
    EXPECT_EQ(contents(batch), "set TRQFILE=x\r\n" + std::string(batchFileLimit, 'y'));

    write(batch, "");
    const std::string fullAutoexec = std::string(autoexecLimit - 10, 'z') + "\r\n";
    write(autoexec, fullAutoexec);
    SetLastError(0);
    EXPECT_FALSE(setEnvironment("TRQFILE", String("c:\\t.trq"), true));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    EXPECT_EQ(contents(batch), "");
    EXPECT_EQ(contents(autoexec), fullAutoexec);
    write(autoexec, "@ECHO OFF\r\nrem keep\r\n");
}

TEST(Environment, OnWindows95TheSettingsGoToTheBatchFileAndAutoexec)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "Trelliq Windows95 Environment\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "bin").c_str(), nullptr);
    const std::string batch = folder + "bin\\trqset.bat";
    DeleteFileA(batch.c_str());
    const bool hadAutoexec = GetFileAttributesA(autoexec) != INVALID_FILE_ATTRIBUTES;
    const std::string savedAutoexec = contents(autoexec);

    SetEnvironmentVariableA("TRELLIQ_BATCH", batch.c_str());
    const DWORD exitCode = runAgain("EnvironmentOnWindows95.*", "test_host_win98_environment.exe");
    SetEnvironmentVariableA("TRELLIQ_BATCH", nullptr);

    // Seen from outside: the last state the copy left.
    const std::string batchAfter = contents(batch);
    const std::string autoexecAfter = contents(autoexec);
    if (hadAutoexec)
        write(autoexec, savedAutoexec);
    else
        DeleteFileA(autoexec);
    Path(folder.c_str()).remove();

    EXPECT_EQ(exitCode, 0u) << "the Windows 98 copy's test failed";
    EXPECT_EQ(batchAfter, "");
    EXPECT_EQ(autoexecAfter, "@ECHO OFF\r\nrem keep\r\n");
}

} // namespace
