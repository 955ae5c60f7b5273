// checkRunningPrograms: the title patterns and the walk over the top-level windows.
#include "setup/RunningPrograms.h"

#include "foundation/MessageBox.h"
#include "host/DevStudioVersion.h"
#include "ui/WaitCursor.h"

#include <windows.h>

#include <cstring>
#include <exception>

namespace {

// A title shorter than the literal never matches.
bool beginsWith(const String& title, const char* literal)
{
    const int n = static_cast<int>(std::strlen(literal));
    return title.length() >= n && std::memcmp(title.c_str(), literal, n) == 0;
}

bool endsWith(const String& title, const char* literal)
{
    const int n = static_cast<int>(std::strlen(literal));
    return title.length() >= n && std::memcmp(title.c_str() + title.length() - n, literal, n) == 0;
}

bool equals(const String& title, const char* literal)
{
    return std::strcmp(title.c_str(), literal) == 0;
}

bool between(const String& title, const char* first, const char* last)
{
    return beginsWith(title, first) && endsWith(title, last);
}

// The failure of a message box is kept here: no exception may leave EnumWindows' callback.
struct Walk {
    std::exception_ptr failure;
};

BOOL CALLBACK askToClose(HWND window, LPARAM parameter)
{
    auto* walk = reinterpret_cast<Walk*>(parameter);
    try {
        char buffer[1024] = "";
        if (GetWindowTextA(window, buffer, sizeof buffer) <= 0)
            buffer[0] = '\0';
        const String title(buffer);
        if (!isRunningProgramTitle(title))
            return TRUE;
        const String text = String("Please close the program \"") + title + "\"";
        return messageBox(text.c_str(), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
    } catch (...) {
        walk->failure = std::current_exception();
        return FALSE;
    }
}

} // namespace

bool isRunningProgramTitle(const String& title)
{
    if (equals(title, "Coverage Browser") || equals(title, "Coverage Viewer")
        || between(title, "Coverage Browser - ", ".trq") || between(title, "Coverage Viewer - ", ".trq")
        || endsWith(title, "- Coverage Browser"))
        return true;
    // Every generation is tested, whether installed or not.
    for (int index = 0; index < DevStudioVersion::Count; ++index) {
        const DevStudioVersion version(index);
        const char* name = version.productName();
        if (equals(title, name) || std::strstr(title.c_str(), (String(" - ") + name).c_str()))
            return true;
    }
    return between(title, "Trelliq - ", ".trq") || equals(title, "Trelliq - Untitled");
}

bool checkRunningPrograms()
{
    Walk walk;
    bool result;
    {
        WaitCursor waiting;
        result = EnumWindows(askToClose, reinterpret_cast<LPARAM>(&walk)) != FALSE;
    }
    if (walk.failure)
        std::rethrow_exception(walk.failure);
    return result;
}
