// modulePath: where the running program's file is.
#pragma once

#include "foundation/String.h"

// The full path of the running executable; fetched once (again while still empty) and
// cached. At most 255 characters.
String modulePath();
