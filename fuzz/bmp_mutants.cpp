#include "fuzz/bmp_mutants.h"

#include <algorithm>
#include <iterator>

#include "tests/bmp_samples.h"

namespace tavik::fuzz {

namespace {

struct Field {
    std::size_t at;
    int bytes;
};

// The file header's size and offset, every field of the 40-byte header the loader reads, and the
// 16-bit sizes of the 12-byte one (which overlap the former).
constexpr Field kFields[] = {{2, 4},  {10, 4}, {14, 4}, {18, 4}, {22, 4}, {26, 2}, {28, 2}, {30, 4},
                             {34, 4}, {46, 4}, {18, 2}, {20, 2}, {22, 2}, {24, 2}};

constexpr std::uint32_t kExtremes[] = {0,      1,          2,          0x7F,       0x80,      0xFF,  0x7FFF,
                                       0x8000, 0xFFFF,     0x10000,    0x7FFFFFFF, 0x80000000, 0xFFFFFFFF,
                                       8192,   16384,      0x40000000, 4096,       40,        108,   124};

std::uint32_t Read(const std::vector<std::uint8_t>& file, const Field& field)
{
    std::uint32_t value = 0;
    for (int i = field.bytes - 1; i >= 0; --i) value = value << 8 | file[field.at + i];
    return value;
}

}  // namespace

std::vector<std::uint8_t> BmpMutator::Mutate(std::vector<std::uint8_t> file, std::string& steps)
{
    steps.clear();
    for (std::uint32_t damages = 1 + Below(3); damages > 0 && !file.empty(); --damages) {
        switch (Below(4)) {
            case 0:
                CutAnywhere(file, steps);
                break;
            case 1:
                CutAtPageEnd(file, steps);
                break;
            case 2:
                SetField(file, steps);
                break;
            default:
                FlipBytes(file, steps);
                break;
        }
    }
    return file;
}

void BmpMutator::CutAnywhere(std::vector<std::uint8_t>& file, std::string& steps)
{
    file.resize(Below(static_cast<std::uint32_t>(file.size())));
    steps += " cut to " + std::to_string(file.size());
}

void BmpMutator::CutAtPageEnd(std::vector<std::uint8_t>& file, std::string& steps)
{
    const auto pages = static_cast<std::uint32_t>((file.size() - 1) / test::kPageSize);
    if (pages == 0) return CutAnywhere(file, steps);
    file.resize((1 + Below(pages)) * test::kPageSize);
    steps += " cut at page end " + std::to_string(file.size());
}

void BmpMutator::SetField(std::vector<std::uint8_t>& file, std::string& steps)
{
    const Field& field = kFields[Below(std::size(kFields))];
    if (file.size() < field.at + field.bytes) return FlipBytes(file, steps);
    const std::uint32_t was = Read(file, field);
    const std::uint32_t choice = Below(std::size(kExtremes) + 3);
    const std::uint32_t value = choice < std::size(kExtremes) ? kExtremes[choice]
                                : choice == std::size(kExtremes) ? was + 1
                                : choice == std::size(kExtremes) + 1 ? was - 1
                                                                     : static_cast<std::uint32_t>(m_random());
    test::Patch(file, field.at, value, field.bytes);
    steps += " bytes " + std::to_string(field.at) + ".." + std::to_string(field.at + field.bytes - 1) + " = " +
             std::to_string(Read(file, field));
}

// Half of the flips land in the headers and tables, where a byte decides the most.
void BmpMutator::FlipBytes(std::vector<std::uint8_t>& file, std::string& steps)
{
    for (std::uint32_t flips = 1 + Below(4); flips > 0; --flips) {
        const auto span = static_cast<std::uint32_t>(Below(2) == 0 ? std::min<std::size_t>(file.size(), 128) : file.size());
        const std::uint32_t at = Below(span);
        file[at] ^= static_cast<std::uint8_t>(1 + Below(255));
        steps += " byte " + std::to_string(at) + " = " + std::to_string(file[at]);
    }
}

}  // namespace tavik::fuzz
