// errorText: a Windows error code as a readable text.
#pragma once

#include "foundation/String.h"

#include <cstdint>

// "Error <code>: <system message>", the code in decimal, or as 0x%lx when negative
// (HRESULT-style). Code 0 gives "Error 0: An error occurred."; a code the system cannot
// format gives "Error <code> (<formatting error>)". Never fails.
String errorText(int32_t code);

// "<context>: <errorText of the last error>" (the context and ": " only when a context is
// given). The last error is left as it was.
String lastErrorMessage(const char* context = nullptr);

// Shows lastErrorMessage(context) through messageBox with the error icon and an OK button.
// The last error is set back afterwards, so the caller can still inspect it.
void showLastError(const char* context = nullptr);
