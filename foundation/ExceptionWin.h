// ExceptionWin, Win::Exception: failures of Windows calls, with the system's text.
#pragma once

#include "foundation/Exception.h"

// Base of failures of Windows calls: the text gets ": " and errorText(GetLastError())
// appended when the last error is not 0.
class ExceptionWin : public Exception {
public:
    explicit ExceptionWin(const String& text);
    explicit ExceptionWin(const char* text) : ExceptionWin(String(text)) {}
};

namespace Win {

// Text: the failed operation (e.g. "LoadString failure on 57344"), then ": " and the
// system's text for the last error when that is not 0.
class Exception : public ExceptionWin {
public:
    explicit Exception(const String& text) : ExceptionWin(text) {}
    explicit Exception(const char* text) : ExceptionWin(text) {}
    const char* title() const override { return "Win error"; }
};

} // namespace Win
