// Tests of showLastError through the message-box entry point.
#include "foundation/ErrorText.h"
#include "foundation/MessageBox.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

String shownText;
unsigned shownStyle = 0;

// Records the box and, like a real box may, changes the last error.
int recordBox(const char* text, unsigned style)
{
    shownText = text;
    shownStyle = style;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return IDOK;
}

} // namespace

TEST(ErrorText, ShowLastErrorShowsContextAndTextAndKeepsTheLastError)
{
    const MessageBoxHandler previous = setMessageBoxHandler(recordBox);
    SetLastError(ERROR_ACCESS_DENIED);
    showLastError("Error copying a to b");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_STREQ(shownText.c_str(), (String("Error copying a to b: ") + errorText(ERROR_ACCESS_DENIED)).c_str());
    EXPECT_EQ(shownStyle, static_cast<unsigned>(MB_ICONERROR | MB_OK));

    SetLastError(ERROR_FILE_NOT_FOUND);
    showLastError();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_STREQ(shownText.c_str(), errorText(ERROR_FILE_NOT_FOUND).c_str());
    setMessageBoxHandler(previous);
}
