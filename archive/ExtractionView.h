// ExtractionView: what an extraction tells whoever watches it. The archive knows no window:
// the install hands it an implementation (the "Copy Files" dialog; a test's recorder).
#pragma once

#include "foundation/String.h"

class ExtractionView {
public:
    virtual ~ExtractionView() = default;

    // The number of steps the extraction will make, before the first.
    virtual void setRange(int steps) = 0;
    // One step: the file or folder about to be written, named in full.
    virtual void nextFile(const String& path) = 0;
    // One step that writes nothing (a compiler wrapper not chosen).
    virtual void skipStep() = 0;
    // Between entries: keeps the user interface answering; true, with the last error
    // ERROR_CANCELLED, once the user has cancelled, or ERROR_SHUTDOWN_IN_PROGRESS, once the
    // session is ending.
    virtual bool pollCancel() = 0;
    // A failure the extraction goes on after: its whole text, and the icon of the message
    // (MB_ICONERROR for a system error, MB_ICONSTOP for an exception's message).
    virtual void showFailure(const String& text, unsigned icon) = 0;
};
