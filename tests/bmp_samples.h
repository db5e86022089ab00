// BMP files of every kind the platform loader decodes: the cases of the check's tests, the seeds
// of its fuzzing and of the differential run against the loader.
#pragma once

#include <vector>

#include "bitmap/bmp_writer.h"

namespace tavik::test {

using namespace tavik::bmp;

// Two rows, each a run of 13 pixels ended by an end of line, the last by the end of the bitmap.
inline const Bmp kRunsRle8 = {.height = 2, .bitCount = 8, .compression = kRle8, .rle = {13, 1, 0, 0, 13, 2, 0, 1}};
inline const Bmp kRunsRle4 = {.height = 2, .bitCount = 4, .compression = kRle4, .rle = {13, 0x12, 0, 0, 13, 0x34, 0, 1}};

struct Sample {
    const char* name;
    Bmp bmp;
};

// Every kind of file the loader decodes properly.
inline std::vector<Sample> AcceptedSamples()
{
    // Literal pixels (padded to an even count), a delta, a run, the end.
    const Bytes rle8Literal = {0, 5, 1, 2, 3, 4, 5, 0, 0, 2, 3, 1, 5, 9, 0, 1};
    return {
        {"1 bit", {.bitCount = 1}},
        {"4 bits", {.bitCount = 4}},
        {"8 bits", {.bitCount = 8}},
        {"4 bits, 3 colours", {.bitCount = 4, .colorsUsed = 3}},
        {"8 bits, 5 colours", {.bitCount = 8, .colorsUsed = 5}},
        {"16 bits", {.bitCount = 16}},
        {"24 bits", {}},
        {"32 bits", {.bitCount = 32}},
        {"24 bits top-down", {.height = -7}},
        {"8 bits top-down", {.height = -7, .bitCount = 8}},
        {"16-bit masks", {.bitCount = 16, .compression = kBitfields}},
        {"32-bit masks", {.bitCount = 32, .compression = kBitfields}},
        {"108-byte header, 32-bit masks", {.headerSize = 108, .bitCount = 32, .compression = kBitfields}},
        {"124-byte header, 16-bit masks", {.headerSize = 124, .bitCount = 16, .compression = kBitfields}},
        {"124-byte header, 24 bits", {.headerSize = 124}},
        {"108-byte header, 8 bits", {.headerSize = 108, .bitCount = 8}},
        {"12-byte header, 1 bit", {.headerSize = 12, .bitCount = 1}},
        {"12-byte header, 4 bits", {.headerSize = 12, .bitCount = 4}},
        {"12-byte header, 8 bits", {.headerSize = 12, .bitCount = 8}},
        {"12-byte header, 24 bits", {.headerSize = 12}},
        {"RLE8", kRunsRle8},
        {"RLE4", kRunsRle4},
        {"RLE8 literal and delta", {.bitCount = 8, .compression = kRle8, .rle = rle8Literal}},
        {"RLE8 without an end", {.height = 2, .bitCount = 8, .compression = kRle8, .rle = {13, 1, 0, 0, 13, 2}}},
        {"24 bits with a colour table", {.colorsUsed = 4}},
        {"unused bytes before the pixels", {.gap = 100}},
        {"pixel offset left 0", {.bitCount = 8, .colorsUsed = 5, .offset = 0}},
        {"longest side", {.width = 65535, .height = 1, .bitCount = 1}},
    };
}

}  // namespace tavik::test
