// Exception: message composition and the text of the C-library kind.
#include "foundation/Exception.h"

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
