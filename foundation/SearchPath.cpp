// SearchPath: the list taken from PATH.
#include "foundation/SearchPath.h"

#include <cstdlib>

SearchPath::SearchPath() : list_(String(";") + std::getenv("PATH")) {}
