// testPause: the waits of the tests' build.
#include "setup/TestPause.h"

#ifdef TRELLIQ_TEST_PAUSES

#include "foundation/String.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

void testPause(const char* kind)
{
    // Only the kind asked for is counted: one run waits at one point.
    static int calls = 0;
    char wanted[16] = "";
    int number = 0;
    char file[MAX_PATH] = "";
    const char* setting = std::getenv("TRELLIQ_PAUSE_AT");
    if (!setting || std::sscanf(setting, "%15s %d %259[^\n]", wanted, &number, file) != 3
        || std::strcmp(wanted, kind) != 0 || ++calls != number)
        return;
    CloseHandle(CreateFileA((String(file) + ".reached").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    while (GetFileAttributesA(file) != INVALID_FILE_ATTRIBUTES)
        Sleep(50);
}

void PausingRegistryView::show()
{
    if (shown_)
        shown_->show();
}

void PausingRegistryView::hide()
{
    if (shown_)
        shown_->hide();
}

void PausingRegistryView::showText(const String& text)
{
    testPause("setting");
    if (shown_)
        shown_->showText(text);
}

bool PausingRegistryView::pollCancel()
{
    return shown_ && shown_->pollCancel();
}

void PausingRegistryView::beginWaitCursor()
{
    if (shown_)
        shown_->beginWaitCursor();
}

void PausingRegistryView::endWaitCursor()
{
    if (shown_)
        shown_->endWaitCursor();
}

#endif
