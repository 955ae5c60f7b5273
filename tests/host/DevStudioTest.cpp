// Tests of updateDevStudio: the directory lists and the Tools menu of each generation.
#include "host/DevStudio.h"

#include "host/RegistryUpdate.h"
#include "MessageRecorder.h"
#include "RawRegistry.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string vc6 = "Software\\Microsoft\\DevStudio\\6.0";
const std::string ds5 = "Software\\Microsoft\\DevStudio\\5.0";
const std::string ds4 = "Software\\Microsoft\\Developer";
const std::string vc6Directories = vc6 + "\\Build System\\Components\\Platforms\\Win32 (x86)\\Directories";
const std::string vc6Tools = vc6 + "\\Tools";
const char* const browser = "C:\\Tools\\Trelliq\\bin\\coverageBrowser.exe";

std::string tool(const char* property, int index)
{
    return raw::read(HKEY_CURRENT_USER, vc6Tools, (std::string(property) + "#" + std::to_string(index)).c_str());
}

void putTool(int index, const char* menuText)
{
    raw::putString(HKEY_CURRENT_USER, vc6Tools, ("MenuName#" + std::to_string(index)).c_str(), menuText);
    raw::putString(HKEY_CURRENT_USER, vc6Tools, ("PathName#" + std::to_string(index)).c_str(), "C:\\x.exe");
}

class DevStudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        clean();
        context.destination = "C:\\Tools\\Trelliq\\";
    }
    void TearDown() override { clean(); }
    bool runUpdate(int index)
    {
        RegistryUpdate update(context);
        return updateDevStudio(update, index);
    }
    static void clean()
    {
        for (const std::string& key : {vc6, ds5, ds4}) {
            raw::removeTree(HKEY_CURRENT_USER, key);
            raw::removeTree(HKEY_LOCAL_MACHINE, key);
        }
    }

    RunContext context;
};

} // namespace

TEST_F(DevStudioTest, OnlyVisualCpp6GetsTheFoldersFirstAndTheThreeTools)
{
    raw::createKey(HKEY_CURRENT_USER, vc6 + "\\General");
    raw::putString(HKEY_LOCAL_MACHINE, vc6Directories, "Path Dirs", "C:\\VC\\bin;C:\\Other");
    raw::putString(HKEY_LOCAL_MACHINE, vc6Directories, "Library Dirs", "C:\\VC\\lib");
    MessageRecorder recorder;
    for (int index = 2; index >= 0; --index)
        EXPECT_TRUE(runUpdate(index)) << index;
    EXPECT_TRUE(MessageRecorder::messages().empty());
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, ds5));
    EXPECT_FALSE(raw::exists(HKEY_CURRENT_USER, ds4));

    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, vc6Directories, "Path Dirs"), "C:\\Tools\\Trelliq\\bin;C:\\VC\\bin;C:\\Other");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, vc6Directories, "Library Dirs"), "C:\\Tools\\Trelliq\\lib;C:\\VC\\lib");
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, vc6Directories, "Path Dirs"), "C:\\VC\\bin;C:\\Other");

    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, vc6Tools, "NumTools"), "3");
    EXPECT_EQ(tool("MenuName", 0), "&Enable Coverage Build");
    EXPECT_EQ(tool("MenuName", 1), "&Disable Coverage Build");
    EXPECT_EQ(tool("MenuName", 2), "Co&verage Browser");
    EXPECT_EQ(tool("DefaultArguments", 0), "-1");
    EXPECT_EQ(tool("DefaultArguments", 1), "-0");
    EXPECT_EQ(tool("DefaultArguments", 2), "");
    for (int index = 0; index < 3; ++index) {
        EXPECT_EQ(tool("PathName", index), browser);
        EXPECT_EQ(tool("InitialDirectory", index), "$(WkspDir)");
        EXPECT_EQ(tool("GUITool", index), "1");
        EXPECT_EQ(tool("OutputRedirect", index), "0");
    }
}

TEST_F(DevStudioTest, AReinstallReplacesTheToolsOfEarlierReleases)
{
    putTool(0, "Enable Trelliq Build");
    putTool(1, "&Notepad");
    putTool(2, "Disable Trelliq Build");
    putTool(3, "Coverage Viewer");
    raw::putNumber(HKEY_CURRENT_USER, vc6Tools, "NumTools", 4);
    raw::putString(HKEY_CURRENT_USER, vc6Directories, "Path Dirs", "C:\\VC\\bin");
    ASSERT_TRUE(runUpdate(2));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, vc6Tools, "NumTools"), "4");
    EXPECT_EQ(tool("MenuName", 0), "&Notepad");
    EXPECT_EQ(tool("MenuName", 1), "&Enable Coverage Build");
    EXPECT_EQ(tool("MenuName", 2), "&Disable Coverage Build");
    EXPECT_EQ(tool("MenuName", 3), "Co&verage Browser");
    EXPECT_EQ(tool("MenuName", 4), "<missing>");
}

TEST_F(DevStudioTest, UninstallFindsMovedEntriesInAnyCaseAndLeavesTheUsersTools)
{
    raw::putString(HKEY_CURRENT_USER, vc6Directories, "Path Dirs", "C:\\VC\\bin;c:\\tools\\trelliq\\BIN;");
    raw::putString(HKEY_CURRENT_USER, vc6Directories, "Library Dirs", "C:\\TOOLS\\Trelliq\\lib;C:\\VC\\lib");
    putTool(0, "&Enable Coverage Build");
    putTool(1, "&Notepad");
    putTool(2, "Co&verage Browser");
    putTool(3, "&Disable Coverage Build");
    raw::putNumber(HKEY_CURRENT_USER, vc6Tools, "NumTools", 4);
    context.installMode = false;
    ASSERT_TRUE(runUpdate(2));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, vc6Directories, "Path Dirs"), "C:\\VC\\bin;");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, vc6Directories, "Library Dirs"), "C:\\VC\\lib");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, vc6Tools, "NumTools"), "1");
    EXPECT_EQ(tool("MenuName", 0), "&Notepad");
    EXPECT_EQ(tool("PathName", 1), "<missing>");
}
