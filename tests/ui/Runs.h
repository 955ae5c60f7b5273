// The two kinds of run a page is shown in: with a user, and unattended (-a).
#pragma once

#include "host/RunContext.h"

inline const RunContext& interactiveRun()
{
    static const RunContext run;
    return run;
}

inline const RunContext& unattendedRun()
{
    static const RunContext run = [] {
        RunContext unattended;
        unattended.interactive = false;
        return unattended;
    }();
    return run;
}
