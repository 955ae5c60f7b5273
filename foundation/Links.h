// firstLinkBelow: symbolic links and junctions, which setup never writes or removes through.
#pragma once

#include "foundation/Path.h"

// The first of folder + each leading part of relative ('/' or '\\' between parts, the whole
// of relative last) that is a link, or an empty text when none is. folder itself is not
// looked at. Stops at the first part that does not exist.
String firstLinkBelow(const Path& folder, const String& relative);
