// Tests of the Tools-menu editor on Visual C++ 6.0's keys in the test prefix.
#include "host/ToolsMenu.h"

#include "host/DevStudioVersion.h"
#include "host/RegistryUpdate.h"
#include "host/UpdateRegistryView.h"
#include "MessageRecorder.h"
#include "RawRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

namespace {

const std::string tools = "Software\\Microsoft\\DevStudio\\6.0\\Tools";
const char* const browser = "C:\\Tools\\Trelliq\\bin\\coverageBrowser.exe";

std::string numbered(const char* property, int index)
{
    return std::string(property) + "#" + std::to_string(index);
}

std::string userValue(const char* property, int index)
{
    return raw::read(HKEY_CURRENT_USER, tools, numbered(property, index).c_str());
}

ToolEntry tool(const char* name, const char* arguments = "", const char* program = browser)
{
    return ToolEntry(name, program, arguments, "$(WkspDir)", true, false);
}

// A user command with a menu text and a property of a name setup never writes.
void putUserCommand(HKEY root, int index, const std::string& menuText)
{
    raw::putString(root, tools, numbered("MenuName", index).c_str(), menuText);
    raw::putString(root, tools, numbered("PathName", index).c_str(), "C:\\user\\" + std::to_string(index) + ".exe");
    raw::putNumber(root, tools, numbered("UserFlag", index).c_str(), 40 + index);
}

class ToolsMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        raw::removeTree(HKEY_CURRENT_USER, tools);
        raw::removeTree(HKEY_LOCAL_MACHINE, tools);
    }
    void TearDown() override
    {
        raw::removeTree(HKEY_CURRENT_USER, tools);
        raw::removeTree(HKEY_LOCAL_MACHINE, tools);
    }
    bool addTool(const ToolEntry& entry) { return menu.add(entry); }
    bool removeTool(const ToolEntry& entry) { return menu.remove(entry); }

    DevStudioVersion version{2};
    RunContext context;
    RegistryUpdate update{context};
    ToolsMenu menu{version, update};
};

// Cancels at the given poll (1 = the first).
class CancellingView : public UpdateRegistryView {
public:
    explicit CancellingView(int cancelAt) : cancelAt_(cancelAt) {}
    void show() override {}
    void hide() override {}
    void showText(const String&) override {}
    bool pollCancel() override
    {
        if (++polls < cancelAt_)
            return false;
        SetLastError(ERROR_CANCELLED);
        return true;
    }
    void beginWaitCursor() override {}
    void endWaitCursor() override {}
    int polls = 0;

private:
    int cancelAt_;
};

} // namespace

TEST_F(ToolsMenuTest, AddingToAnEmptyMenuWritesElevenPropertiesAtIndexZero)
{
    ASSERT_TRUE(addTool(tool("Enable Coverage Build", "-1")));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, tools, "NumTools"), "1");
    EXPECT_EQ(userValue("MenuName", 0), "&Enable Coverage Build");
    EXPECT_EQ(userValue("PathName", 0), browser);
    EXPECT_EQ(userValue("DefaultArguments", 0), "-1");
    EXPECT_EQ(userValue("InitialDirectory", 0), "$(WkspDir)");
    const char* const numbers[][2] = {{"AskArgument", "0"}, {"CloseWindow", "0"}, {"GUITool", "1"},
                                      {"OutputRedirect", "0"}, {"ReloadNoPrompt", "0"},
                                      {"UseSearchPath", "1"}, {"VisibleOnMenu", "1"}};
    for (const auto& number : numbers)
        EXPECT_EQ(userValue(number[0], 0), number[1]) << number[0];
    EXPECT_EQ(userValue("MenuName", 1), "<missing>");
}

TEST_F(ToolsMenuTest, RemovingTheProductsCommandsClosesUpBehindTheUsersOnes)
{
    putUserCommand(HKEY_CURRENT_USER, 0, "&Notepad");
    putUserCommand(HKEY_CURRENT_USER, 1, "Grep");
    raw::putNumber(HKEY_CURRENT_USER, tools, "NumTools", 2);
    ASSERT_TRUE(addTool(tool("Enable Coverage Build", "-1")));
    ASSERT_TRUE(addTool(tool("Disable Coverage Build", "-0")));
    ASSERT_TRUE(addTool(tool("Coverage Browser")));
    ASSERT_EQ(raw::read(HKEY_CURRENT_USER, tools, "NumTools"), "5");
    EXPECT_EQ(userValue("MenuName", 1), "&Grep");
    EXPECT_EQ(userValue("MenuName", 2), "&Enable Coverage Build");
    EXPECT_EQ(userValue("MenuName", 3), "&Disable Coverage Build");
    EXPECT_EQ(userValue("MenuName", 4), "Co&verage Browser");

    ASSERT_TRUE(removeTool(tool("Enable Coverage Build", "-1")));
    ASSERT_TRUE(removeTool(tool("Disable Coverage Build", "-0")));
    ASSERT_TRUE(removeTool(tool("Coverage Browser")));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, tools, "NumTools"), "2");
    for (int index = 2; index <= 4; ++index) {
        for (const char* property : {"MenuName", "PathName", "GUITool", "VisibleOnMenu", "DefaultArguments"})
            EXPECT_EQ(userValue(property, index), "<missing>") << numbered(property, index);
    }
    EXPECT_EQ(userValue("MenuName", 0), "&Notepad");
    EXPECT_EQ(userValue("PathName", 1), "C:\\user\\1.exe");
    EXPECT_EQ(userValue("UserFlag", 1), "41");
}

TEST_F(ToolsMenuTest, TheUsersPropertiesOfAnyTypeAreWrittenBackByteForByte)
{
    putUserCommand(HKEY_CURRENT_USER, 0, "&Notepad");
    const std::string blob("\x01\x00\x02\x00\xff", 5);
    const std::string list("one\0two\0\0", 9);
    raw::put(HKEY_CURRENT_USER, tools, "Blob#0", REG_BINARY, blob.data(), blob.size());
    raw::put(HKEY_CURRENT_USER, tools, "List#0", REG_MULTI_SZ, list.data(), list.size());
    raw::putNumber(HKEY_CURRENT_USER, tools, "NumTools", 1);
    ASSERT_TRUE(addTool(tool("Coverage Browser")));
    for (const auto& value : {std::make_pair("Blob#0", REG_BINARY), std::make_pair("List#0", REG_MULTI_SZ)}) {
        char data[64];
        DWORD size = sizeof data;
        DWORD type = 0;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, tools.c_str(), value.first, RRF_RT_ANY, &type, data, &size),
                  ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<DWORD>(value.second)) << value.first;
        EXPECT_EQ(std::string(data, size), value.second == REG_BINARY ? blob : list) << value.first;
    }
}

TEST_F(ToolsMenuTest, AddingAnExistingNameReplacesItsPropertiesAndKeepsItsAccelerator)
{
    ASSERT_TRUE(addTool(tool("Coverage Browser", "", "C:\\Old\\bin\\coverageBrowser.exe")));
    ASSERT_TRUE(addTool(tool("Coverage Browser")));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, tools, "NumTools"), "1");
    EXPECT_EQ(userValue("PathName", 0), browser);
    EXPECT_EQ(userValue("MenuName", 0), "Co&verage Browser");
    EXPECT_EQ(userValue("MenuName", 1), "<missing>");
}

TEST_F(ToolsMenuTest, SixteenUserCommandsLeaveNoRoomAndTheMessageComesOnce)
{
    for (int index = 0; index < 16; ++index)
        putUserCommand(HKEY_CURRENT_USER, index, "User " + std::to_string(index));
    raw::putNumber(HKEY_CURRENT_USER, tools, "NumTools", 16);
    MessageRecorder recorder;
    EXPECT_TRUE(addTool(tool("Enable Coverage Build", "-1")));
    EXPECT_TRUE(addTool(tool("Disable Coverage Build", "-0")));
    ASSERT_EQ(MessageRecorder::messages().size(), 1u);
    EXPECT_EQ(MessageRecorder::messages()[0].text,
              "The Visual Studio Tools menu is limited to 16 custom tools.\r\n"
              "Setup could not add some tools due to this limit.");
    EXPECT_EQ(MessageRecorder::messages()[0].style, static_cast<unsigned>(MB_OK));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, tools, "NumTools"), "16");
    EXPECT_EQ(userValue("PathName", 15), "C:\\user\\15.exe");
    EXPECT_EQ(userValue("MenuName", 16), "<missing>");
    EXPECT_EQ(userValue("PathName", 16), "<missing>");
}

TEST_F(ToolsMenuTest, ReservedLettersMoveAUsersAccelerator)
{
    putUserCommand(HKEY_CURRENT_USER, 0, "&Custom");
    putUserCommand(HKEY_CURRENT_USER, 1, "&Build");
    raw::putNumber(HKEY_CURRENT_USER, tools, "NumTools", 2);
    ASSERT_TRUE(addTool(tool("Enable Coverage Build", "-1")));
    // 6.0's own items use c, o, m, r and l.
    EXPECT_EQ(userValue("MenuName", 0), "C&ustom");
    EXPECT_EQ(userValue("MenuName", 1), "&Build");
    EXPECT_EQ(userValue("MenuName", 2), "&Enable Coverage Build");
}

TEST_F(ToolsMenuTest, ALiteralAmpersandSurvivesEverySave)
{
    const struct {
        const char* stored;
        const char* saved;
    } cases[] = {
        {"Build && &Test", "Build && &Test"},
        // No accelerator of its own: the first free letter after the literal one (c and o
        // are reserved).
        {"&&Copy", "&&Co&py"},
        {"Tom && &Jerry &&", "Tom && &Jerry &&"},
        {"&&&Xref", "&&&Xref"},
    };
    int index = 0;
    for (const auto& c : cases)
        putUserCommand(HKEY_CURRENT_USER, index++, c.stored);
    raw::putNumber(HKEY_CURRENT_USER, tools, "NumTools", index);
    // Two saves: the second reads what the first wrote.
    for (int save = 1; save <= 2; ++save) {
        ASSERT_TRUE(addTool(tool("Coverage Browser")));
        index = 0;
        for (const auto& c : cases)
            EXPECT_EQ(userValue("MenuName", index++), c.saved) << c.stored << ", save " << save;
    }
}

TEST(AssignAccelerator, TakesTheFirstFreeLetterAndSharesOneWhenNoneIsLeft)
{
    AcceleratorTable table("comrl");
    EXPECT_STREQ(assignAccelerator(table, L"&Custom").c_str(), L"C&ustom");
    EXPECT_FALSE(table.free['u']);
    EXPECT_STREQ(assignAccelerator(table, L"Cu&t").c_str(), L"Cu&t");
    // u and t are taken now and c is reserved: a private fresh table gives u again, and
    // the caller's table is left as it was.
    const AcceleratorTable before = table;
    EXPECT_STREQ(assignAccelerator(table, L"cut").c_str(), L"c&ut");
    EXPECT_EQ(std::memcmp(before.free, table.free, sizeof table.free), 0);
    // Only reserved letters: no accelerator at all.
    AcceleratorTable full("comrl");
    EXPECT_STREQ(assignAccelerator(full, L"ml").c_str(), L"ml");
}

TEST_F(ToolsMenuTest, CommandsOnlyUnderTheMachineKeyAreCopiedToTheUser)
{
    putUserCommand(HKEY_LOCAL_MACHINE, 0, "&Spy");
    putUserCommand(HKEY_LOCAL_MACHINE, 1, "&Tracer");
    raw::putNumber(HKEY_LOCAL_MACHINE, tools, "NumTools", 2);
    ASSERT_TRUE(addTool(tool("Coverage Browser")));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, tools, "NumTools"), "3");
    EXPECT_EQ(userValue("MenuName", 0), "&Spy");
    EXPECT_EQ(userValue("UserFlag", 1), "41");
    EXPECT_EQ(userValue("MenuName", 2), "Co&verage Browser");
    EXPECT_EQ(raw::read(HKEY_LOCAL_MACHINE, tools, "NumTools"), "2");
}

TEST_F(ToolsMenuTest, UnnumberedAndOutOfRangeValuesAreIgnoredOnLoad)
{
    putUserCommand(HKEY_CURRENT_USER, 0, "&Alpha");
    raw::putString(HKEY_CURRENT_USER, tools, "MenuName#x", "Junk");
    raw::putString(HKEY_CURRENT_USER, tools, "MenuName#", "Empty");
    raw::putString(HKEY_CURRENT_USER, tools, "MenuName#1", "Beyond");
    raw::putString(HKEY_CURRENT_USER, tools, "PathName#7", "C:\\beyond.exe");
    raw::putNumber(HKEY_CURRENT_USER, tools, "NumTools", 1);
    ASSERT_TRUE(addTool(tool("Coverage Browser")));
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, tools, "NumTools"), "2");
    EXPECT_EQ(userValue("MenuName", 0), "&Alpha");
    EXPECT_EQ(userValue("MenuName", 1), "Co&verage Browser");
    // Beyond the count: dropped on save. Unnumbered: neither loaded nor deleted.
    EXPECT_EQ(userValue("PathName", 7), "<missing>");
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, tools, "MenuName#x"), "Junk");
}

TEST_F(ToolsMenuTest, ACancelBetweenCommandsFailsTheSaveAndLeavesTheCount)
{
    putUserCommand(HKEY_CURRENT_USER, 0, "&Notepad");
    raw::putNumber(HKEY_CURRENT_USER, tools, "NumTools", 1);
    CancellingView view(2);
    RegistryUpdate cancellable(context, &view);
    SetLastError(0);
    EXPECT_FALSE(ToolsMenu(version, cancellable).add(tool("Coverage Browser")));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANCELLED));
    EXPECT_EQ(view.polls, 2);
    EXPECT_EQ(raw::read(HKEY_CURRENT_USER, tools, "NumTools"), "1");
    EXPECT_EQ(userValue("MenuName", 1), "<missing>");
}
