#include "bitmap/bmp_file_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "tests/bmp_samples.h"

namespace tavik {
namespace {

using namespace test;

Bytes Patched(const Bmp& bmp, std::size_t at, std::uint32_t value, int bytes = 4)
{
    Bytes file = Build(bmp);
    Patch(file, at, value, bytes);
    return file;
}

TEST(BmpFileCheck, AcceptsEveryKindTheLoaderDecodes)
{
    for (const Sample& sample : AcceptedSamples()) {
        EXPECT_TRUE(IsSafeBmp(Build(sample.bmp))) << sample.name;
    }
}

// Header only, one byte short, zero bytes, an RLE stream cut short: every one of them.
TEST(BmpFileCheck, RefusesEveryFileCutShort)
{
    for (const Sample& sample : AcceptedSamples()) {
        const Bytes file = Build(sample.bmp);
        for (std::size_t size = 0; size < file.size(); ++size) {
            const Bytes cut(file.begin(), file.begin() + size);
            ASSERT_FALSE(IsSafeBmp(cut)) << sample.name << " cut to " << size << " bytes";
        }
    }
}

TEST(BmpFileCheck, RefusesHeadersTheLoaderCannotTakeOrMisreads)
{
    const Bmp masks32 = {.bitCount = 32, .compression = kBitfields};
    const struct {
        const char* name;
        Bytes file;
    } cases[] = {
        {"PNG signature", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0, 1}},
        {"other signature", Patched({}, 0, 'B' | 'A' << 8, 2)},
        {"52-byte header", Patched({.gap = 12}, kHeaderSizeAt, 52)},
        {"64-byte header", Patched({.gap = 24}, kHeaderSizeAt, 64)},
        {"negative width", Patched(kRunsRle8, kWidthAt, static_cast<std::uint32_t>(-13))},
        {"zero width", Patched(kRunsRle8, kWidthAt, 0)},
        {"zero height", Patched(kRunsRle8, kHeightAt, 0)},
        {"lowest height", Patched({}, kHeightAt, 0x80000000u)},
        {"no planes", Patched({}, kPlanesAt, 0, 2)},
        {"two planes", Patched({}, kPlanesAt, 2, 2)},
        {"2 bits", Patched({.bitCount = 4}, kBitCountAt, 2, 2)},
        {"0 bits", Patched({}, kBitCountAt, 0, 2)},
        {"JPEG inside", Patched({}, kCompressionAt, 4)},
        {"PNG inside", Patched({}, kCompressionAt, 5)},
        {"masks with alpha", Patched(masks32, kCompressionAt, 6)},
        {"unknown compression", Patched({}, kCompressionAt, 99)},
        {"24 bits with masks", Patched(masks32, kBitCountAt, 24, 2)},
        {"RLE8 at 4 bits", Patched(kRunsRle8, kBitCountAt, 4, 2)},
        {"RLE4 at 1 bit", Patched(kRunsRle4, kBitCountAt, 1, 2)},
        {"RLE8 top-down", Patched(kRunsRle8, kHeightAt, static_cast<std::uint32_t>(-2))},
        {"RLE4 top-down", Patched(kRunsRle4, kHeightAt, static_cast<std::uint32_t>(-2))},
        {"RLE without its stream size", Patched(kRunsRle8, kStreamSizeAt, 0)},
        {"12-byte header, 16 bits", Patched({.headerSize = 12}, kCoreBitCountAt, 16, 2)},
        {"more colours than 8 bits index", Patched({.bitCount = 8, .gap = 400}, kColorsUsedAt, 300)},
        {"pixels inside the header", Patched({}, kOffsetAt, 20)},
        {"pixels over the masks", Patched(masks32, kOffsetAt, 54)},
        {"pixels inside the colour table", Patched({.bitCount = 8}, kOffsetAt, 54 + 512)},
        {"pixels past the end", Patched({}, kOffsetAt, 0xFFFFFFF0u)},
        {"offset left 0, colour table past the end", Patched({.colorsUsed = 4, .offset = 0}, kColorsUsedAt, 1000)},
        {"100000 x 100000", Patched(Bmp{}, kWidthAt, 100000)},
        {"wider than the loader takes", Build({.width = 65536, .height = 1, .bitCount = 1})},
        {"taller than the loader takes", Build({.width = 1, .height = 65536, .bitCount = 1})},
        {"RLE asking for 4 GB",
         Build({.width = 65535, .height = 65535, .bitCount = 8, .compression = kRle8, .rle = {0, 1}})},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(IsSafeBmp(c.file)) << c.name;
    }
}

class BmpFileCheckFile : public ::testing::Test {
protected:
    void TearDown() override { std::remove(m_path.c_str()); }

    const std::string& Write(const Bytes& bytes)
    {
        std::ofstream(m_path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return m_path;
    }

    // Other builds may run the same test at the same time.
    const std::string m_path =
        ::testing::TempDir() + "tavik_bmp_check_" + std::to_string(std::random_device{}()) + ".bmp";
};

TEST_F(BmpFileCheckFile, JudgesByTheWholeFileSize)
{
    for (const Sample& sample : AcceptedSamples()) {
        const Bytes file = Build(sample.bmp);
        EXPECT_TRUE(IsSafeBmpFile(Write(file))) << sample.name;
        EXPECT_FALSE(IsSafeBmpFile(Write(Bytes(file.begin(), file.end() - 1)))) << sample.name;
    }
}

TEST_F(BmpFileCheckFile, RefusesWhatIsNoReadableFile)
{
    EXPECT_FALSE(IsSafeBmpFile(Write({})));
    EXPECT_FALSE(IsSafeBmpFile(m_path + ".missing"));
    EXPECT_FALSE(IsSafeBmpFile(::testing::TempDir()));
}

#ifdef _WIN32
// The files the check accepts, handed to the real loader. Each ends on a page boundary, so
// a read past its end would crash this test. Refused files never reach the loader.
std::optional<BITMAP> Load(const std::string& path)
{
    const auto bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    if (bitmap == nullptr) return std::nullopt;
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    DeleteObject(bitmap);
    return info;
}

TEST_F(BmpFileCheckFile, LoaderTakesEveryAcceptedKindAtItsSize)
{
    for (const Sample& sample : AcceptedSamples()) {
        const Bytes file = BuildPageAligned(sample.bmp);
        ASSERT_TRUE(IsSafeBmp(file)) << sample.name;
        const std::optional<BITMAP> loaded = Load(Write(file));
        ASSERT_TRUE(loaded) << sample.name;
        EXPECT_EQ(loaded->bmWidth, sample.bmp.width) << sample.name;
        EXPECT_EQ(loaded->bmHeight, std::abs(sample.bmp.height)) << sample.name;
    }
}

// Every header field the check reads, set to edge values one at a time.
TEST_F(BmpFileCheckFile, LoaderTakesEveryAcceptedMutant)
{
    for (const Sample& sample : AcceptedSamples()) {
        const Bytes original = BuildPageAligned(sample.bmp);
        const std::size_t fieldsEnd = sample.bmp.headerSize == 12 ? 26 : 50;
        for (std::size_t at = kOffsetAt; at < fieldsEnd; ++at) {
            if (at >= kResolutionAt && at < kColorsUsedAt) continue;
            const std::uint8_t was = original[at];
            for (const std::uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF, was + 1, was - 1}) {
                Bytes mutant = original;
                mutant[at] = value;
                if (value != was && IsSafeBmp(mutant)) {
                    EXPECT_TRUE(Load(Write(mutant))) << sample.name << ": byte " << at << " = " << +value;
                }
            }
        }
    }
}

// The path is in the system code page, as the file dialog gives it.
TEST_F(BmpFileCheckFile, OpensJapaneseNames)
{
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932";
    const Bytes file = Build({});
    const std::string folder = ::testing::TempDir();  // ASCII here
    const std::wstring wide = std::wstring(folder.begin(), folder.end()) + L"ビット表示.bmp";
    const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(handle, file.data(), static_cast<DWORD>(file.size()), &written, nullptr);
    CloseHandle(handle);
    EXPECT_TRUE(IsSafeBmpFile(folder + "ビット表示.bmp"));
    DeleteFileW(wide.c_str());
}
#endif

}  // namespace
}  // namespace tavik
