// The records as bytes, and the code page of the program's own texts.
#include <gtest/gtest.h>

#include <cstring>

#include "overlay/overlay_api.h"
#include "res/texts.h"

namespace {

template <typename Record>
std::vector<unsigned char> Bytes(const Record& record)
{
    std::vector<unsigned char> bytes(sizeof record);
    std::memcpy(bytes.data(), &record, sizeof record);
    return bytes;
}

TEST(Records, SurfaceParamsAreLittleEndianAndPacked)
{
    OverlaySurfaceParams params;
    std::memset(&params, 0, sizeof params);
    params.width = 0x04030201;
    params.height = 0x08070605;
    params.red = 0x11;
    params.green = 0x22;
    params.blue = 0x33;
    std::memcpy(params.bitmapFile, "a.bmp", 6);
    params.bitmapFile[259] = 0x7F;

    const auto bytes = Bytes(params);
    ASSERT_EQ(bytes.size(), 271u);
    const std::vector<unsigned char> head{1, 2, 3, 4, 5, 6, 7, 8, 0x11, 0x22, 0x33, 'a', '.', 'b', 'm', 'p', 0};
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin(), bytes.begin() + head.size()), head);
    EXPECT_EQ(bytes[270], 0x7F);
}

TEST(Records, RectIsFourLittleEndianWords)
{
    const OverlayRect rect{0x04030201, 0x08070605, 0x0C0B0A09, 0x100F0E0D};
    const auto bytes = Bytes(rect);
    ASSERT_EQ(bytes.size(), 16u);
    for (unsigned i = 0; i < 16; ++i) EXPECT_EQ(bytes[i], i + 1) << "byte " << i;
}

TEST(Texts, NarrowLiteralsAreCodePage932)
{
    // "オープン" in code page 932; "表" has 0x5C as its second byte, which must survive.
    const unsigned char open[] = {0x83, 0x49, 0x81, 0x5B, 0x83, 0x76, 0x83, 0x93};
    EXPECT_EQ(std::memcmp(tavik::texts::kOpenFailed, open, sizeof open), 0);
    const unsigned char show[] = {0x90, 0xDD, 0x92, 0xE8, 0x81, 0x95, 0x95, 0x5C, 0x8E, 0xA6};  // 設定＆表示
    EXPECT_EQ(std::memcmp(tavik::texts::kSetShowFailed, show, sizeof show), 0);
    // Half-width katakana stay single bytes: "ﾍﾙﾌﾟ".
    const unsigned char help[] = {0xCD, 0xD9, 0xCC, 0xDF};
    EXPECT_EQ(std::memcmp(tavik::texts::kHelpFailed, help, sizeof help), 0);
}

}  // namespace
