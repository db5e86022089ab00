#include "check/scenario/throw_watch.h"

#include <windows.h>

#include <csignal>

#include "check/scenario/send.h"

namespace check {

namespace {

volatile LONG g_lastThrow = 0;

LONG CALLBACK NoteThrow(EXCEPTION_POINTERS* exception)
{
    const DWORD code = exception->ExceptionRecord->ExceptionCode;
    if (code == kGccThrow || code == kMsvcThrow) g_lastThrow = static_cast<LONG>(code);
    return EXCEPTION_CONTINUE_SEARCH;
}

// The C runtime (msvcrt, shared with a MinGW-built library) raises SIGABRT in abort(), which is
// where std::terminate ends.
void SayAborted(int)
{
    SendDying(g_lastThrow ? Dying::kThrow : Dying::kAbort);
}

}  // namespace

void WatchThrows()
{
    AddVectoredExceptionHandler(1, NoteThrow);
    std::signal(SIGABRT, SayAborted);
}

void ForgetThrows()
{
    g_lastThrow = 0;
}

}  // namespace check
