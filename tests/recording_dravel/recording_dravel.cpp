// A DRAVEL.dll for the tests. Each ordinal enters through a stub that notes the stack pointer and
// replaces the return address with a trampoline; the trampoline runs after the return, notes the
// stack pointer the caller is left with, and goes on to the caller. A callee that pops its own
// arguments (__stdcall) would leave it more than one return address above the entry value.
#include <cstring>
#include <iterator>

#include "overlay/overlay_ordinals.h"
#include "recorded_calls.h"

namespace {

RecordedCalls g_log;

}  // namespace

// Shared with the stubs below, hence unmangled.
extern "C" {
std::uintptr_t recording_entrySp;
std::uintptr_t recording_returnTo;
std::uintptr_t* recording_returnSpSlot;
}

#if defined(__i386__)
asm(R"(
    .macro recorded_entry name
    .globl _Overlay\name
_Overlay\name:
    movl %esp, _recording_entrySp
    popl _recording_returnTo
    pushl $recording_trampoline
    jmp _Record\name
    .endm

    .text
recording_trampoline:
    movl _recording_returnSpSlot, %ecx
    movl %esp, (%ecx)
    jmp *_recording_returnTo
)");
#elif defined(__x86_64__)
asm(R"(
    .macro recorded_entry name
    .globl Overlay\name
Overlay\name:
    movq %rsp, recording_entrySp(%rip)
    popq recording_returnTo(%rip)
    leaq recording_trampoline(%rip), %rax
    pushq %rax
    jmp Record\name
    .endm

    .text
recording_trampoline:
    movq recording_returnSpSlot(%rip), %rcx
    movq %rsp, (%rcx)
    jmp *recording_returnTo(%rip)
)");
#endif
// rax/eax, the result, passes the trampoline untouched; ecx/rcx is free for the caller after a call.
asm(R"(
    .text
    recorded_entry Open
    recorded_entry Close
    recorded_entry SetAndShow
    recorded_entry MoveAndShow
    recorded_entry ClearSetting
)");

namespace {

OverlayResult Record(int ordinal, const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    RecordedCall& call = g_log.calls[g_log.count++ % std::size(g_log.calls)];
    std::memset(&call, 0, sizeof call);
    call.ordinal = ordinal;
    call.entrySp = recording_entrySp;
    recording_returnSpSlot = &call.returnSp;
    if (params) std::memcpy(call.params, params, sizeof call.params);
    if (rect) std::memcpy(call.rect, rect, sizeof call.rect);
    return RecordedResult(ordinal);
}

}  // namespace

extern "C" {

// Reached from the stubs with the caller's arguments in place, so declared as the caller sees them.
OverlayResult OVERLAY_CALL RecordOpen()
{
    return Record(overlay::kOpen, nullptr, nullptr);
}
OverlayResult OVERLAY_CALL RecordClose()
{
    return Record(overlay::kClose, nullptr, nullptr);
}
OverlayResult OVERLAY_CALL RecordSetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    return Record(overlay::kSetAndShow, params, rect);
}
OverlayResult OVERLAY_CALL RecordMoveAndShow(const OverlayRect* rect)
{
    return Record(overlay::kMoveAndShow, nullptr, rect);
}
OverlayResult OVERLAY_CALL RecordClearSetting()
{
    return Record(overlay::kClearSetting, nullptr, nullptr);
}

__declspec(dllexport) RecordedCalls* __cdecl RecordedCallLog()
{
    return &g_log;
}
}
