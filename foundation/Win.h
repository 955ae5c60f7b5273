// Win::Exception: the failure of a Windows call that has no class of its own.
#pragma once

#include "foundation/Exception.h"

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
