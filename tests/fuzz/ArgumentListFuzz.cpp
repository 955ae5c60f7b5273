// Fuzz target: command-line splitting. Every argument must be non-null, free of quotes and
// (outside quotation) of blanks; indexes past the end give the empty String.
#include "foundation/ArgumentList.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    ArgumentList arguments(text.c_str());
    size_t total = 0;
    for (int i = 0; i < arguments.size(); ++i) {
        const String& argument = arguments.argument(i);
        if (argument.indexOf('"') >= 0)
            std::abort();
        total += argument.length();
    }
    if (total > text.size() || !arguments.argument(arguments.size()).isEmpty() || !arguments.argument(-1).isEmpty())
        std::abort();
    arguments.parse(text.c_str());
    arguments.parse(nullptr);
    if (arguments.size() != 0)
        std::abort();
    return 0;
}
