#pragma once

#include "CommandHost.h"

// The edge between Windows and the program's code. A window procedure is a C
// frame: an exception must not unwind through it. Every window procedure of
// the program runs its work through here, and an error that escapes the work
// is reported by the host instead; the message then counts as handled.
template <class Work> LRESULT GuardWindowProc(CommandHost &host, Work &&work) noexcept
{
    try {
        return work();
    } catch (...) {
        host.HandleException();
        return 0;
    }
}
