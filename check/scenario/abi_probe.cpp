#include "check/scenario/abi_probe.h"

#include "check/numbers.h"

namespace check {

namespace {

constexpr const char* kRegisterNames64[] = {"rbx", "rbp", "rdi", "rsi", "r12", "r13", "r14", "r15"};
constexpr const char* kRegisterNames32[] = {"ebx", "ebp", "edi", "esi"};
constexpr std::uintptr_t kDirectionFlag = 0x400;
// MXCSR's low six bits are sticky exception flags that any inexact operation sets; only the
// modes above them (masks, rounding, flush-to-zero) belong to the caller.
constexpr std::uint32_t kMxcsrModes = ~std::uint32_t{0x3F};
// How far below the caller's stack pointer the callee's frames can lie: a stack's whole reserve.
constexpr std::uintptr_t kStackReach = 64 << 20;

}  // namespace

AbiState MarkedState()
{
    AbiState state{};
    // Distinct values no callee computes by chance; xmm markers differ in both halves.
    for (std::size_t i = 0; i < kSavedRegisters; ++i)
        state.marker[i] = static_cast<std::uintptr_t>(0x5A17C0DE0000ULL * (i + 3) + 0x1D00 + i);
    for (std::size_t i = 0; i < kSavedXmm; ++i)
        state.markerXmm[i] = {0xC0FFEE0000000000ULL + i, 0x0BADF00D00000000ULL + i};
    return state;
}

std::vector<std::string> AbiBreaches(const AbiState& state)
{
    std::vector<std::string> breaches;
    if (state.spAfter != state.spBefore) {
        const long long moved = static_cast<long long>(state.spAfter) - static_cast<long long>(state.spBefore);
        breaches.push_back(moved > 0 ? "popped " + std::to_string(moved) + " bytes of its arguments (__stdcall?)"
                                     : "moved the stack pointer by " + std::to_string(moved) + " bytes");
    }
    for (std::size_t i = 0; i < kSavedRegisters; ++i)
        if (state.after[i] != state.marker[i])
            breaches.push_back(std::string("changed callee-saved ") +
                               (kIs64Bit ? kRegisterNames64 : kRegisterNames32)[i]);
    if (kIs64Bit)
        for (std::size_t i = 0; i < kSavedXmm; ++i)
            if (state.afterXmm[i].low != state.markerXmm[i].low || state.afterXmm[i].high != state.markerXmm[i].high)
                breaches.push_back("changed callee-saved xmm" + std::to_string(i + 6));
    if (state.flagsAfter & kDirectionFlag) breaches.push_back("left the direction flag set");
    if (state.fpuControlAfter != state.fpuControlBefore)
        breaches.push_back("changed the x87 control word " + Hex(state.fpuControlBefore) + " -> " +
                           Hex(state.fpuControlAfter));
    if (!kIs64Bit && state.sehHeadAfter != state.sehHeadBefore)
        breaches.push_back(
            // The stack grows down: below the stack pointer at the call lie only the callee's frames.
            state.sehHeadAfter < state.spBefore && state.spBefore - state.sehHeadAfter < kStackReach
                ? "left the thread's exception-handler chain pointing into its own stack (fs:[0] " +
                      Hex(state.sehHeadBefore) + " -> " + Hex(state.sehHeadAfter) + ", a frame that has returned)"
                : "changed the head of the thread's exception-handler chain (fs:[0] " + Hex(state.sehHeadBefore) +
                      " -> " + Hex(state.sehHeadAfter) + ") and did not put it back");
    if ((state.mxcsrAfter & kMxcsrModes) != (state.mxcsrBefore & kMxcsrModes))
        breaches.push_back("changed MXCSR " + Hex(state.mxcsrBefore) + " -> " + Hex(state.mxcsrAfter));
    return breaches;
}

}  // namespace check
