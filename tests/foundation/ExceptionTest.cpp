// Tests of the exception texts.
#include "foundation/ErrorText.h"
#include "foundation/Exception.h"
#include "foundation/ExceptionWin.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cerrno>
#include <cstring>

namespace {

class NamedWinException : public ExceptionWin {
public:
    using ExceptionWin::ExceptionWin;
    const char* title() const override { return "Win error"; }
};

class NamedTextException : public ExceptionText {
public:
    using ExceptionText::ExceptionText;
    const char* title() const override { return "File system error"; }
};

class NoText : public Exception {
public:
    const char* title() const override { return "Dialog error"; }
};

} // namespace

TEST(Exception, MessageIsTitleAndText)
{
    EXPECT_STREQ(EmptyStackException("peek").message().c_str(), "EmptyStackException: peek");
    EXPECT_STREQ(NoText().message().c_str(), "Dialog error");
    IndexOutOfBoundsException copy = IndexOutOfBoundsException("elementAt");
    EXPECT_STREQ(copy.message().c_str(), "IndexOutOfBoundsException: elementAt");
}

TEST(Exception, ExceptionTextAppendsTheCLibraryText)
{
    errno = ENOENT;
    NamedTextException e("c:/x: remove file failure");
    const String expected = String("File system error: c:/x: remove file failure: ") + std::strerror(ENOENT);
    EXPECT_STREQ(e.message().c_str(), expected.c_str());
    errno = 0;
    EXPECT_STREQ(NamedTextException("x").text().c_str(), (String("x: ") + std::strerror(0)).c_str());
}

TEST(Exception, ExceptionWinAppendsTheSystemTextOnlyForAnError)
{
    SetLastError(0);
    EXPECT_STREQ(NamedWinException("LoadString failure on 7").text().c_str(), "LoadString failure on 7");
    SetLastError(ERROR_ACCESS_DENIED);
    const String text = NamedWinException("SystemParametersInfo failure").text();
    EXPECT_EQ(text.indexOf(String("SystemParametersInfo failure: Error 5: ")), 0) << text.c_str();
}

TEST(Exception, HandlersForExceptionLetScriptAbortPass)
{
    bool sawAbort = false;
    try {
        try {
            throw Script::Abort();
        } catch (const Exception&) {
            FAIL() << "Script::Abort was caught as an Exception";
        }
    } catch (const Script::Abort&) {
        sawAbort = true;
    }
    EXPECT_TRUE(sawAbort);
}

TEST(ErrorText, CodesAndTheirForms)
{
    EXPECT_STREQ(errorText(0).c_str(), "Error 0: An error occurred.");
    const String denied = errorText(5);
    EXPECT_EQ(denied.indexOf(String("Error 5: ")), 0) << denied.c_str();
    EXPECT_GT(denied.length(), 9);
    EXPECT_NE(denied.charAt(denied.length() - 1), '\n');
    const String hresult = errorText(static_cast<int32_t>(0x80070005));
    EXPECT_EQ(hresult.indexOf(String("Error 0x80070005")), 0) << hresult.c_str();
    const String unknown = errorText(0x3fffff00);
    EXPECT_EQ(unknown.indexOf(String("Error 1073741568 (")), 0) << unknown.c_str();
    EXPECT_EQ(unknown.charAt(unknown.length() - 1), ')');
}
