// Result codes of the reference overlay library, in the HRESULT style: failure bit set,
// facility ITF, and a small number per reason. 0 is success. Listed in the README.
#pragma once

#include <cstdint>

namespace dravel {

enum Code : std::uint32_t {
    kOk = 0,
    kNotOpen = 0x80040201,       // any call but Open before Open
    kAlreadyOpen = 0x80040202,   // Open while open
    kNothingSet = 0x80040203,    // Move & show or Clear setting with no surface set
    kBadSize = 0x80040204,       // width or height outside 1..8192
    kBadRect = 0x80040205,       // rectangle side outside 1..8192 or coordinate above 32767
    kBadPath = 0x80040206,       // file name empty or without NUL in its 260 bytes
    kBadBitmap = 0x80040207,     // file missing, not a bitmap, or unsafe to load
    kWrongThread = 0x80040208,   // called from a thread other than the one that opened
    kWindowFailed = 0x80040209,  // the overlay window could not be made or shown
    kPointer = 0x80004003,       // E_POINTER: a null record pointer
    kOutOfMemory = 0x8007000E,   // E_OUTOFMEMORY
};

}  // namespace dravel
