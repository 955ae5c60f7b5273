// Exception: message composition and the texts of the C-library and Windows kinds.
#include "foundation/Exception.h"

#include "foundation/ErrorText.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

String Exception::message() const
{
    String title(this->title());
    if (text_.isEmpty())
        return title;
    return title + ": " + text_;
}

ExceptionText::ExceptionText(const String& text)
{
    const int error = errno;
    setText(text + ": " + std::strerror(error));
}

ExceptionWin::ExceptionWin(const String& text)
{
    const DWORD error = GetLastError();
    if (error == 0)
        setText(text);
    else
        setText(text + ": " + errorText(static_cast<int32_t>(error)));
}
