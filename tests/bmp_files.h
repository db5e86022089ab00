// Bitmap files for the library's tests, written into a folder of their own that goes away with
// the object.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include "bitmap/bmp_writer.h"
#include "tests/picked_files.h"

namespace dravel::test {

// An uncompressed 24-bit bottom-up BMP, the commonest kind; colourAt(x, y) gives each pixel, y
// counted from the top.
inline std::vector<std::uint8_t> Bmp24(int width, int height, const std::function<COLORREF(int x, int y)>& colourAt)
{
    return tavik::bmp::Build({.width = width, .height = height, .colourAt = colourAt});
}

inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kGreen = RGB(0, 255, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);

// The picture most tests show: an 8 × 8 bitmap of four 4 × 4 quarters, red, green / blue, white.
inline COLORREF QuarterColour(int x, int y)
{
    const COLORREF quarters[2][2] = {{kRed, kGreen}, {kBlue, kWhite}};
    return quarters[y / 4][x / 4];
}

class BmpFolder {
public:
    BmpFolder() : m_path(std::filesystem::temp_directory_path() / UniqueName())
    {
        std::filesystem::create_directories(m_path);
    }
    ~BmpFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    BmpFolder(const BmpFolder&) = delete;
    BmpFolder& operator=(const BmpFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // Writes the bytes as a file of that name; returns its full path.
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        return std::filesystem::path(tavik::test::WriteFile(m_path / name, bytes)).string();
    }

    std::string Quarters() const { return Write("quarters.bmp", Bmp24(8, 8, QuarterColour)); }

private:
    // One folder per object, so that two alive at once never remove each other's files.
    static std::string UniqueName()
    {
        static std::atomic<int> made = 0;
        return "dravel_test_" + std::to_string(GetCurrentProcessId()) + '_' + std::to_string(made++);
    }

    std::filesystem::path m_path;
};

}  // namespace dravel::test
