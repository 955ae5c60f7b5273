// loadString: the texts of the program's string table.
#pragma once

#include "foundation/String.h"

#include <cstdint>

// The string id of the executable's string table. Throws Win::Exception
// "LoadString failure on <id>" when it is missing (or empty).
String loadString(uint32_t id);
