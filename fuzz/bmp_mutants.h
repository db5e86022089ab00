// Damaged variants of well-formed BMP files, the same ones again for the same seed: files cut
// short (anywhere, or at a page end, where a read past the end faults), header fields set to
// extreme values, bytes flipped.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tavik::fuzz {

class BmpMutator {
public:
    explicit BmpMutator(std::uint32_t seed) : m_random(seed) {}

    // One to three damages applied in turn; `steps` receives what was done, for a report.
    std::vector<std::uint8_t> Mutate(std::vector<std::uint8_t> file, std::string& steps);

    // A number in 0..count-1; the plain remainder keeps the sequence the same on every platform.
    std::uint32_t Below(std::uint32_t count) { return static_cast<std::uint32_t>(m_random() % count); }

private:
    void CutAnywhere(std::vector<std::uint8_t>& file, std::string& steps);
    void CutAtPageEnd(std::vector<std::uint8_t>& file, std::string& steps);
    void SetField(std::vector<std::uint8_t>& file, std::string& steps);
    void FlipBytes(std::vector<std::uint8_t>& file, std::string& steps);

    std::mt19937 m_random;
};

}  // namespace tavik::fuzz
