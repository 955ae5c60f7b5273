// WindowFailure: carries a C++ exception out of a window procedure to the code that ran the
// message loop, since no exception may cross the system's code.
#pragma once

// Called inside catch (...) at a window-procedure boundary: keeps the first failure.
void keepWindowFailure();
// Rethrows the kept failure, if any, and forgets it.
void rethrowWindowFailure();
