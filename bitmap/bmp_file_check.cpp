#include "bitmap/bmp_file_check.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdio>
#include <memory>
#include <optional>

namespace tavik {
namespace {

// Sizes are 64-bit throughout so that nothing computed from a header can overflow,
// on 32-bit builds included.
constexpr std::int64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kV4HeaderSize = 108;
constexpr std::uint32_t kV5HeaderSize = 124;
// Every field the check reads lies within the file header and the first 40 bytes after it.
constexpr std::size_t kFieldsSize = kFileHeaderSize + kInfoHeaderSize;

constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kRle8 = 1;
constexpr std::uint32_t kRle4 = 2;
constexpr std::uint32_t kBitfields = 3;
constexpr std::int64_t kMasksSize = 12;  // red, green and blue

// The loader itself gives up on a longer side.
constexpr std::int64_t kMaxSide = 65535;
// A few bytes of RLE could ask for gigabytes; this is a 16384 x 16384 image at 32 bits.
constexpr std::int64_t kMaxPixelBytes = std::int64_t{1} << 30;

struct BmpLayout {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative when the rows are stored top-down
    std::uint32_t planes = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t compression = kRgb;
    std::int64_t streamSize = 0;  // of an RLE stream; meaningless for other bitmaps
    std::int64_t tablesSize = 0;  // masks and colour table, between the header and the pixels
};

std::uint32_t Le16(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8;
}

std::uint32_t Le32(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return Le16(bytes, at) | Le16(bytes, at + 2) << 16;
}

// Up to 8 bits per pixel the colour table is required and a count of 0 means a full one.
// Deeper bitmaps may carry an optional table; it still comes before the pixels.
std::optional<std::int64_t> ColorCount(std::uint32_t bitCount, std::uint32_t colorsUsed)
{
    if (bitCount > 8) return colorsUsed;
    const std::uint32_t full = 1u << bitCount;
    // More colours than the pixels can index make a broken header.
    if (colorsUsed > full) return std::nullopt;
    return colorsUsed != 0 ? colorsUsed : full;
}

// The old 12-byte header: 16-bit sizes, no compression, a full table of 3-byte colours.
std::optional<BmpLayout> ReadCoreHeader(std::span<const std::uint8_t> header)
{
    BmpLayout layout;
    layout.width = Le16(header, 4);
    layout.height = Le16(header, 6);
    layout.planes = Le16(header, 8);
    layout.bitCount = Le16(header, 10);
    // This header predates 16- and 32-bit pixels.
    if (layout.bitCount > 8 && layout.bitCount != 24) return std::nullopt;
    layout.tablesSize = layout.bitCount <= 8 ? 3 * (std::int64_t{1} << layout.bitCount) : 0;
    return layout;
}

// The 40-byte header, or its 108- and 124-byte extensions which hold the masks themselves.
std::optional<BmpLayout> ReadInfoHeader(std::span<const std::uint8_t> header, std::uint32_t headerSize)
{
    BmpLayout layout;
    layout.width = static_cast<std::int32_t>(Le32(header, 4));
    layout.height = static_cast<std::int32_t>(Le32(header, 8));
    layout.planes = Le16(header, 12);
    layout.bitCount = Le16(header, 14);
    layout.compression = Le32(header, 16);
    layout.streamSize = Le32(header, 20);
    const std::optional<std::int64_t> colors = ColorCount(layout.bitCount, Le32(header, 32));
    if (!colors) return std::nullopt;
    const bool masksFollow = layout.compression == kBitfields && headerSize == kInfoHeaderSize;
    layout.tablesSize = (masksFollow ? kMasksSize : 0) + 4 * *colors;
    return layout;
}

// `start` begins right at the file header. The loader refuses other header sizes as well.
std::optional<BmpLayout> ReadHeaders(std::span<const std::uint8_t> start, std::uint32_t headerSize)
{
    const auto header = start.subspan(kFileHeaderSize);
    switch (headerSize) {
        case kCoreHeaderSize:
            return ReadCoreHeader(header);
        case kInfoHeaderSize:
        case kV4HeaderSize:
        case kV5HeaderSize:
            return ReadInfoHeader(header, headerSize);
        default:
            return std::nullopt;
    }
}

bool IsRle(const BmpLayout& layout)
{
    return layout.compression == kRle8 || layout.compression == kRle4;
}

// The loader takes some other combinations without complaint but then draws garbage or
// nothing. RLE bitmaps exist only bottom-up.
bool IsKnownFormat(const BmpLayout& layout)
{
    switch (layout.compression) {
        case kRgb:
            for (const std::uint32_t bits : {1u, 4u, 8u, 16u, 24u, 32u}) {
                if (layout.bitCount == bits) return true;
            }
            return false;
        case kRle8:
            return layout.bitCount == 8 && layout.height > 0;
        case kRle4:
            return layout.bitCount == 4 && layout.height > 0;
        case kBitfields:
            return layout.bitCount == 16 || layout.bitCount == 32;
        default:
            return false;
    }
}

// Rows are padded to whole 32-bit words.
std::int64_t DecodedSize(const BmpLayout& layout)
{
    const std::int64_t stride = (layout.width * layout.bitCount + 31) / 32 * 4;
    return stride * std::abs(layout.height);
}

bool HasSaneGeometry(const BmpLayout& layout)
{
    const std::int64_t rows = std::abs(layout.height);
    return layout.planes == 1 && layout.width >= 1 && layout.width <= kMaxSide && rows >= 1 && rows <= kMaxSide &&
           DecodedSize(layout) <= kMaxPixelBytes;
}

// What the loader reads at the pixel offset. It decodes RLE no further than the stream size
// the header states (and nothing at all when that is 0), so a cut-short RLE file crashes it
// only through a stated size the file does not hold.
std::int64_t StoredPixelSize(const BmpLayout& layout)
{
    return IsRle(layout) ? layout.streamSize : DecodedSize(layout);
}

// `start` is the beginning of a file of `fileSize` bytes: all of it, or at least kFieldsSize.
bool IsSafeBmpStart(std::span<const std::uint8_t> start, std::int64_t fileSize)
{
    const auto available = static_cast<std::int64_t>(start.size());
    if (available < kFileHeaderSize + 4 || start[0] != 'B' || start[1] != 'M') return false;
    const std::uint32_t headerSize = Le32(start, kFileHeaderSize);
    // Whether the whole header is in the file shows below, as the pixels must follow it.
    if (available < kFileHeaderSize + std::min(headerSize, kInfoHeaderSize)) return false;
    const std::optional<BmpLayout> layout = ReadHeaders(start, headerSize);
    if (!layout || !HasSaneGeometry(*layout) || !IsKnownFormat(*layout)) return false;
    const std::int64_t tablesEnd = kFileHeaderSize + headerSize + layout->tablesSize;
    // Some writers leave the offset 0; the loader then takes the pixels right after the tables.
    const std::uint32_t offset = Le32(start, 10);
    const std::int64_t pixels = offset != 0 ? offset : tablesEnd;
    const std::int64_t pixelSize = StoredPixelSize(*layout);
    return pixels >= tablesEnd && pixelSize > 0 && pixels + pixelSize <= fileSize;
}

}  // namespace

bool IsSafeBmp(std::span<const std::uint8_t> file)
{
    return IsSafeBmpStart(file, static_cast<std::int64_t>(file.size()));
}

// C stdio rather than iostreams: the program and the library link statically, and streams
// would bring the whole locale machinery into both.
bool IsSafeBmpFile(const std::string& path)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return false;
    // A file too long for a long cannot be a bitmap the check would pass anyway.
    const long size = std::ftell(file.get());
    if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) return false;
    std::array<std::uint8_t, kFieldsSize> start{};
    const std::size_t wanted = std::min<std::size_t>(static_cast<unsigned long>(size), start.size());
    if (std::fread(start.data(), 1, wanted, file.get()) != wanted) return false;
    return IsSafeBmpStart(std::span(start).first(wanted), size);
}

}  // namespace tavik
