// The code page of the program's own texts. The records' layout is pinned by the static_asserts
// of their header and, byte by byte as the library receives them, by display_commands_test.
#include <gtest/gtest.h>

#include <cstring>

#include "res/texts.h"

namespace {

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
