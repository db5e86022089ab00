// Writes BMP files byte by byte, of every kind the platform loader decodes and damaged ones too:
// the files of the tests, the fuzz seeds, the benchmarks and the checker's runs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tavik::bmp {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint32_t kRgb = 0;
inline constexpr std::uint32_t kRle8 = 1;
inline constexpr std::uint32_t kRle4 = 2;
inline constexpr std::uint32_t kBitfields = 3;

// Where the fields sit in a file with a 40-byte (or longer) header.
inline constexpr std::size_t kOffsetAt = 10;
inline constexpr std::size_t kHeaderSizeAt = 14;
inline constexpr std::size_t kWidthAt = 18;
inline constexpr std::size_t kHeightAt = 22;
inline constexpr std::size_t kPlanesAt = 26;
inline constexpr std::size_t kBitCountAt = 28;
inline constexpr std::size_t kCompressionAt = 30;
inline constexpr std::size_t kStreamSizeAt = 34;
inline constexpr std::size_t kResolutionAt = 38;
inline constexpr std::size_t kColorsUsedAt = 46;
inline constexpr std::size_t kCoreBitCountAt = 24;

// The loader maps the file, so it can only crash on a read that crosses a page end.
inline constexpr std::size_t kPageSize = 4096;

// A bitmap file to build; the defaults make a small bottom-up 24-bit one.
struct Bmp {
    std::uint32_t headerSize = 40;
    std::int32_t width = 13;
    std::int32_t height = 7;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = kRgb;
    std::uint32_t colorsUsed = 0;
    Bytes rle = {};                            // the stream of an RLE bitmap
    std::optional<std::uint32_t> offset = {};  // the stated pixel offset when not the real one
    std::size_t gap = 0;                       // unused bytes before the pixels
    // For 24 bits without RLE: each pixel's colour as 0x00BBGGRR (the platform's COLORREF), y
    // counted from the top. Without it the pixel bytes run 0, 7, 14, ...
    std::function<std::uint32_t(int x, int y)> colourAt = {};
};

inline void Patch(Bytes& file, std::size_t at, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

inline void Put(Bytes& out, std::uint32_t value, int bytes)
{
    out.resize(out.size() + bytes);
    Patch(out, out.size() - bytes, value, bytes);
}

// Returns a vector holding exactly the file, so that ASan catches any read past its end.
inline Bytes Build(const Bmp& bmp)
{
    const bool core = bmp.headerSize == 12;
    Bytes out;
    Put(out, 'B' | 'M' << 8, 2);
    out.resize(14);  // sizes and offset, patched below
    if (core) {
        Put(out, 12, 4);
        Put(out, bmp.width, 2);
        Put(out, bmp.height, 2);
        Put(out, 1, 2);
        Put(out, bmp.bitCount, 2);
    } else {
        Put(out, bmp.headerSize, 4);
        Put(out, bmp.width, 4);
        Put(out, bmp.height, 4);
        Put(out, 1, 2);
        Put(out, bmp.bitCount, 2);
        Put(out, bmp.compression, 4);
        Put(out, static_cast<std::uint32_t>(bmp.rle.size()), 4);
        Put(out, 2835, 4);  // 72 dpi
        Put(out, 2835, 4);
        Put(out, bmp.colorsUsed, 4);
        Put(out, 0, 4);
    }
    // Masks follow the first 40 header bytes: after a 40-byte header, inside the longer ones.
    if (bmp.compression == kBitfields || bmp.headerSize > 40) {
        const bool is565 = bmp.bitCount == 16;
        for (const std::uint32_t mask :
             {is565 ? 0xF800u : 0xFF0000u, is565 ? 0x07E0u : 0xFF00u, is565 ? 0x1Fu : 0xFFu}) {
            Put(out, mask, 4);
        }
        out.resize(std::max<std::size_t>(out.size(), 14 + bmp.headerSize));
    }
    const std::uint32_t colors = bmp.bitCount <= 8 && bmp.colorsUsed == 0 ? 1u << bmp.bitCount : bmp.colorsUsed;
    for (std::uint32_t i = 0; i < colors; ++i) {
        Put(out, i * 0x030507u, core ? 3 : 4);
    }
    out.resize(out.size() + bmp.gap);
    Patch(out, kOffsetAt, bmp.offset.value_or(static_cast<std::uint32_t>(out.size())), 4);
    const std::size_t stride = (std::size_t(bmp.width) * bmp.bitCount + 31) / 32 * 4;
    if (!bmp.rle.empty()) {
        out.insert(out.end(), bmp.rle.begin(), bmp.rle.end());
    } else if (bmp.colourAt) {
        const int rows = std::abs(bmp.height);
        for (int row = 0; row < rows; ++row) {
            const int y = bmp.height > 0 ? rows - 1 - row : row;
            for (int x = 0; x < bmp.width; ++x) {
                const std::uint32_t colour = bmp.colourAt(x, y);  // stored blue, green, red
                Put(out, (colour >> 16 & 0xFF) | (colour & 0xFF00) | (colour & 0xFF) << 16, 3);
            }
            out.resize(out.size() + stride - std::size_t(bmp.width) * 3);
        }
    } else {
        for (std::size_t i = 0; i < stride * std::abs(bmp.height); ++i) {
            out.push_back(static_cast<std::uint8_t>(i * 7));
        }
    }
    Patch(out, 2, static_cast<std::uint32_t>(out.size()), 4);
    return Bytes(out.begin(), out.end());
}

// The same file grown by unused bytes before the pixels until it ends on a page boundary, so
// that a loader reading past its end crashes rather than reading the next bytes in memory.
inline Bytes BuildPageAligned(Bmp bmp)
{
    bmp.gap += (kPageSize - Build(bmp).size() % kPageSize) % kPageSize;
    return Build(bmp);
}

// Writes the bytes as a file; false when that fails.
inline bool Save(const std::string& path, const Bytes& bytes)
{
    std::FILE* out = std::fopen(path.c_str(), "wb");
    const bool written = out && std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return out && std::fclose(out) == 0 && written;
}

}  // namespace tavik::bmp
