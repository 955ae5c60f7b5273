// The process-wide settings every program of ours makes before its own code runs.
#include "foundation/LongPathName.h"
#include "foundation/Path.h"
#include "foundation/SystemLibrary.h"

#include <windows.h>

#include <clocale>
#include <cstdlib>
#include <new>

namespace {

// std::bad_alloc whose text reads "bad allocation", the text the user sees.
class BadAllocation : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "bad allocation"; }
};

void allocationFailure()
{
    throw BadAllocation();
}

struct StartupSettings {
    StartupSettings()
    {
        // First of all, before any library is loaded by name: DLLs only from the system
        // folder.
        restrictLibrarySearch();
        // The order matters: the folding table must not see the user's locale.
        Path::buildFoldingTable();
        expandShortPathEntries("PATH");
        const UINT mode = SetErrorMode(0);
        SetErrorMode(mode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
        std::setlocale(LC_ALL, "");
        // Without TZ the C library's time conversions use the system's time zone.
        _putenv("TZ=");
        // The C++ library's operator new calls this handler, so it is the one to set
        // (_set_new_handler would only reach msvcrt's own operator new, which is not used).
        std::set_new_handler(allocationFailure);
    }
};

// Made before every other static object of the program (application objects included),
// so that they already see the settings.
StartupSettings settings __attribute__((init_priority(101)));

} // namespace

// This object sits in a static library, where the linker would skip it because nothing
// calls into it. The foundation target asks the linker for this symbol (--undefined, see
// CMakeLists.txt), which pulls the object, and with it the settings, into every program
// that links the foundation, without each program having to mention it.
extern "C" {
extern const int trelliqStartupSettings;
const int trelliqStartupSettings = 1;
}
