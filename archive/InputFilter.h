// InputFilter: a stream layer that reads from another stream below it.
#pragma once

#include "archive/InputStream.h"

class InputFilter : public InputStream {
protected:
    // The source is not owned: its owner builds the layers bottom-up and destroys them
    // top-down.
    explicit InputFilter(InputStream* source) : source(source) {}

    InputStream* source;
};
