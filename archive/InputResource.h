// InputResource: the bytes of an RT_RCDATA resource of the running module, read in place.
#pragma once

#include "archive/InputStream.h"
#include "foundation/ExceptionWin.h"

class InputResource : public InputStream {
public:
    // Text: the failed step ("FindResource", "LoadResource", "LockResource",
    // "SizeofResource"), then the system's error text when the last error is not 0.
    class Exception : public ExceptionWin {
    public:
        explicit Exception(const String& text) : ExceptionWin(text) {}
        explicit Exception(const char* text) : ExceptionWin(text) {}
        const char* title() const override { return "InputResource error"; }
    };

    // Finds, loads and locks the resource; throws Exception when it is missing or empty.
    explicit InputResource(int resourceId);

    // Never returns 0 for a positive length; -1 at the end, also for a length of 0.
    int32_t read(unsigned char* buffer, int32_t length) override;
    int32_t read() override;

    uint32_t size() const { return size_; }

private:
    const unsigned char* data_; // owned by the system, valid while the module is loaded
    uint32_t size_;
    uint32_t position_ = 0;
};
