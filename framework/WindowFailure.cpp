// WindowFailure: one kept exception per (single) GUI thread.
#include "framework/WindowFailure.h"

#include <exception>

namespace {
std::exception_ptr kept;
}

void keepWindowFailure()
{
    if (!kept)
        kept = std::current_exception();
}

void rethrowWindowFailure()
{
    if (kept) {
        std::exception_ptr failure = kept;
        kept = nullptr;
        std::rethrow_exception(failure);
    }
}
