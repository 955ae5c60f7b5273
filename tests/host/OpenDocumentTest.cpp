// Tests of openDocument with associations registered in the test prefix.
#include "host/OpenDocument.h"

#include "foundation/ErrorText.h"
#include "tests/host/MessageRecorder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// Associations of this test only, removed again afterwards.
const char* const testClasses[] = {".trqtest", "TrelliqTest.Document", ".trqtpl", "TrelliqTest.Template",
                                   ".trqedit", "TrelliqTest.EditOnly", "news"};

class OpenDocumentTest : public ::testing::Test {
protected:
    void SetUp() override { removeClasses(); }
    void TearDown() override { removeClasses(); }

    static void removeClasses()
    {
        for (const char* name : testClasses)
            RegDeleteTreeA(HKEY_CLASSES_ROOT, name);
    }

    static void put(const std::string& key, const std::string& text, DWORD type = REG_SZ)
    {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CLASSES_ROOT, key.c_str(), nullptr, type, text.c_str(), text.size() + 1),
                  ERROR_SUCCESS) << key;
    }

    static void createKey(const std::string& key)
    {
        HKEY handle;
        ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, key.c_str(), &handle), ERROR_SUCCESS);
        RegCloseKey(handle);
    }

    static std::string tempFile(const char* name)
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        const std::string path = std::string(temp) + name;
        DeleteFileA(path.c_str());
        return path;
    }

    // The first line of a file that a started program writes, waiting for it a while.
    static std::string waitForLine(const std::string& path)
    {
        for (int i = 0; i < 200; ++i) {
            std::ifstream in(path);
            std::string line;
            if (std::getline(in, line) && !line.empty()) {
                if (line.back() == '\r')
                    line.pop_back();
                return line;
            }
            Sleep(50);
        }
        return "<nothing written to " + path + ">";
    }
};

std::string text(const String& s)
{
    return std::string(s.c_str(), s.length());
}

} // namespace

TEST_F(OpenDocumentTest, TemplatesRegisteredForAnExtensionBecomeCommandLines)
{
    put(".trqtpl", "TrelliqTest.Template");
    const String target("C:\\docs\\a b.trqtpl");
    const struct {
        const char* commandTemplate;
        const char* commandLine;
    } cases[] = {
        {"hh.exe -h \"%1\"", "hh.exe C:\\docs\\a b.trqtpl"},
        {"viewer.exe \"%1\" /x", "viewer.exe \"C:\\docs\\a b.trqtpl\" /x"},
        {"viewer.exe %L", "viewer.exe C:\\docs\\a b.trqtpl"},
        {"viewer.exe %l /x", "viewer.exe C:\\docs\\a b.trqtpl /x"},
        {"viewer.exe %L \"%1\"", "viewer.exe %L \"C:\\docs\\a b.trqtpl\""},
        {"viewer.exe", "viewer.exe \"C:\\docs\\a b.trqtpl\""},
        {"%1 /x", "%1 /x \"C:\\docs\\a b.trqtpl\""},
    };
    for (const auto& c : cases) {
        put("TrelliqTest.Template\\shell\\open\\command", c.commandTemplate);
        String kind;
        String verb;
        String command;
        ASSERT_TRUE(resolveDocument(target, kind, verb, command)) << c.commandTemplate;
        EXPECT_STREQ(kind.c_str(), ".trqtpl");
        EXPECT_STREQ(verb.c_str(), "open");
        EXPECT_STREQ(command.c_str(), c.commandTemplate);
        EXPECT_EQ(text(buildCommandLine(command, target)), c.commandLine) << "template " << c.commandTemplate;
    }
}

TEST_F(OpenDocumentTest, TheHttpSchemeUsesItsRegisteredBrowserCommand)
{
    char registered[1024];
    DWORD size = sizeof registered;
    ASSERT_EQ(RegGetValueA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", nullptr, RRF_RT_REG_SZ, nullptr,
                           registered, &size), ERROR_SUCCESS) << "the prefix registers a browser for http";
    String kind;
    String verb;
    String command;
    ASSERT_TRUE(resolveDocument("http://www.pembrox.com/trelliq", kind, verb, command));
    EXPECT_STREQ(kind.c_str(), "http");
    EXPECT_STREQ(verb.c_str(), "open");
    EXPECT_STREQ(command.c_str(), registered);
    const std::string line = text(buildCommandLine(command, "http://www.pembrox.com/trelliq"));
    EXPECT_NE(line.find("http://www.pembrox.com/trelliq"), std::string::npos) << line;
    EXPECT_EQ(line.find("%1"), std::string::npos) << line;
}

TEST_F(OpenDocumentTest, AnAddressRunsTheSchemeCommandWithTheAddressInPlaceOfItsPlaceholder)
{
    const std::string out = tempFile("trelliq-news.txt");
    put("news\\shell\\open\\command", "%SystemRoot%\\system32\\cmd.exe /c echo %1>" + out, REG_EXPAND_SZ);
    MessageRecorder recorder;
    openDocument("news://news.pembrox.com/trelliq");
    EXPECT_EQ(waitForLine(out), "news://news.pembrox.com/trelliq");
    EXPECT_TRUE(MessageRecorder::messages().empty());
    DeleteFileA(out.c_str());
}

TEST_F(OpenDocumentTest, AFileOpensThroughTheShellWithTheFirstVerbNamedOpenThatHasACommand)
{
    const std::string out = tempFile("trelliq-document.txt");
    const std::string document = tempFile("report.trqtest");
    std::ofstream(document) << "report";
    std::string slashed = document;
    for (char& c : slashed)
        c = c == '\\' ? '/' : c;
    put(".trqtest", "TrelliqTest.Document");
    put("TrelliqTest.Document\\shell\\edit\\command", "%SystemRoot%\\system32\\cmd.exe /c echo edit>" + out,
        REG_EXPAND_SZ);
    createKey("TrelliqTest.Document\\shell\\Open2");
    put("TrelliqTest.Document\\shell\\OpenHere\\command",
        "%SystemRoot%\\system32\\cmd.exe /c echo opened %1>" + out, REG_EXPAND_SZ);

    String kind;
    String verb;
    String command;
    ASSERT_TRUE(resolveDocument(slashed.c_str(), kind, verb, command));
    EXPECT_STREQ(verb.c_str(), "OpenHere") << "edit has no \"open\", Open2 has no command";
    char expanded[MAX_PATH];
    ExpandEnvironmentStringsA("%SystemRoot%\\system32\\cmd.exe", expanded, sizeof expanded);
    EXPECT_EQ(text(command).find(expanded), 0u) << "the template is expanded: " << command.c_str();

    MessageRecorder recorder;
    openDocument(slashed.c_str());
    EXPECT_EQ(waitForLine(out), "opened " + document) << "'/' are given to the shell as '\\'";
    for (const RecordedMessage& message : MessageRecorder::messages())
        ADD_FAILURE() << "message: " << message.text;
    DeleteFileA(out.c_str());
    DeleteFileA(document.c_str());
}

TEST_F(OpenDocumentTest, WithoutAnAssociationTheTargetAndNoAssociationAreShown)
{
    put(".trqedit", "TrelliqTest.EditOnly");
    put("TrelliqTest.EditOnly\\shell\\edit\\command", "notepad.exe %1");
    String kind;
    String verb("untouched");
    String command;
    for (const char* target : {"C:/docs/readme.trqnone", "C:/docs/readme.trqedit", "trqnone://x"}) {
        SetLastError(0);
        EXPECT_FALSE(resolveDocument(target, kind, verb, command)) << target;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_ASSOCIATION)) << target;
    }
    EXPECT_STREQ(verb.c_str(), "untouched");

    MessageRecorder recorder;
    openDocument("C:/docs/readme.trqnone");
    ASSERT_EQ(MessageRecorder::messages().size(), 1u);
    const std::string expected = "C:/docs/readme.trqnone: " + text(errorText(ERROR_NO_ASSOCIATION));
    EXPECT_EQ(MessageRecorder::messages()[0].text, expected);
    EXPECT_EQ(MessageRecorder::messages()[0].style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
}
