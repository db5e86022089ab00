// A call into the library through a small assembly thunk that notes what the callee left behind:
// the stack pointer, the callee-saved registers (loaded with marker values before the call), the
// direction flag, the x87 control word and MXCSR, and on i686 the head of the thread's
// exception-handler chain. The thunk puts everything back afterwards, so a
// callee that breaks the calling convention cannot take this process down with it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace check {

inline constexpr bool kIs64Bit = sizeof(void*) == 8;
// rbx rbp rdi rsi r12-r15 on x86_64; ebx ebp edi esi on i686.
inline constexpr std::size_t kSavedRegisters = kIs64Bit ? 8 : 4;
// xmm6-xmm15 are callee-saved on x86_64 only; i686 keeps one unused slot for a common layout.
inline constexpr std::size_t kSavedXmm = kIs64Bit ? 10 : 1;

struct alignas(16) Xmm {
    std::uint64_t low;
    std::uint64_t high;
};

// Shared with the thunks, which address its fields by offset (asserted below).
struct AbiState {
    std::uintptr_t marker[kSavedRegisters];  // loaded into the registers before the call
    std::uintptr_t after[kSavedRegisters];   // their values when the callee returned
    std::uintptr_t caller[kSavedRegisters];  // the thunk's caller's, restored afterwards
    std::uintptr_t spBefore;
    std::uintptr_t spAfter;
    std::uintptr_t flagsAfter;
    std::uint16_t fpuControlBefore;
    std::uint16_t fpuControlAfter;
    std::uint32_t mxcsrBefore;
    std::uint32_t mxcsrAfter;
    // i686: the head of the thread's exception-handler chain (fs:[0]), put back after the call.
    std::uint32_t sehHeadBefore;
    std::uint32_t sehHeadAfter;
    Xmm markerXmm[kSavedXmm];
    Xmm afterXmm[kSavedXmm];
    Xmm callerXmm[kSavedXmm];
};
// The thunks' .equ constants, one per field they address, for x86_64 and i686.
constexpr std::size_t ThunkOffset(std::size_t x86_64, std::size_t i686)
{
    return kIs64Bit ? x86_64 : i686;
}
static_assert(offsetof(AbiState, marker) == 0);
static_assert(offsetof(AbiState, after) == ThunkOffset(64, 16));
static_assert(offsetof(AbiState, caller) == ThunkOffset(128, 32));
static_assert(offsetof(AbiState, spBefore) == ThunkOffset(192, 48));
static_assert(offsetof(AbiState, spAfter) == ThunkOffset(200, 52));
static_assert(offsetof(AbiState, flagsAfter) == ThunkOffset(208, 56));
static_assert(offsetof(AbiState, fpuControlBefore) == ThunkOffset(216, 60));
static_assert(offsetof(AbiState, fpuControlAfter) == ThunkOffset(218, 62));
static_assert(offsetof(AbiState, mxcsrBefore) == ThunkOffset(220, 64));
static_assert(offsetof(AbiState, mxcsrAfter) == ThunkOffset(224, 68));
static_assert(offsetof(AbiState, sehHeadBefore) == ThunkOffset(228, 72));
static_assert(offsetof(AbiState, sehHeadAfter) == ThunkOffset(232, 76));
static_assert(!kIs64Bit || offsetof(AbiState, markerXmm) == 240);
static_assert(!kIs64Bit || offsetof(AbiState, afterXmm) == 400);
static_assert(!kIs64Bit || offsetof(AbiState, callerXmm) == 560);

// Calls `function(first, second)` as a plain C function. Arguments a callee does not take are
// ignored by a conforming callee; both are always passed.
extern "C" std::uint32_t CheckedCall(const void* function, std::uintptr_t first, std::uintptr_t second,
                                     AbiState* state);

// A state with fresh marker values, ready for CheckedCall.
AbiState MarkedState();

// What the callee broke, one text per fault; empty when it kept the convention.
std::vector<std::string> AbiBreaches(const AbiState& state);

}  // namespace check
