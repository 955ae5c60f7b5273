// checkSystemFileVersion: whether a system library is recent enough for the product.
#pragma once

#include "foundation/String.h"

// A system library the product needs, the lowest version that will do, and where to get
// a newer one.
struct SystemFileRequirement {
    const char* file;
    const char* minimum;
    const char* advice;
};

// The libraries the install checks, in the order it checks them.
extern const SystemFileRequirement systemFileRequirements[5];

// Whether the installed version is lower than the minimum, both "a.b.c.d": the four
// numbers are compared numerically, field by field, a missing field counting as 0. An
// empty installed version (no file, no version resource) is always lower.
bool isLowerVersion(const String& installed, const String& minimum);

// Checks the version of file in the system folder against minimum. When it is lower (or
// unknown), shows "This application requires <file> version <minimum> or later." with
// the installed version when known and advice, with the error icon, and returns false.
bool checkSystemFileVersion(const char* file, const char* minimum, const char* advice);
