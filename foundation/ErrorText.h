// errorText: a Windows error code as a readable text.
#pragma once

#include "foundation/String.h"

#include <cstdint>

// "Error <code>: <system message>", the code in decimal, or as 0x%08lx when negative
// (HRESULT-style). Code 0 gives "Error 0: An error occurred."; a code the system cannot
// format gives "Error <code> (<formatting error>)". Never fails.
String errorText(int32_t code);
