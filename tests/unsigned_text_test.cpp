#include <gtest/gtest.h>

#include "console/unsigned_text.h"

namespace tavik {
namespace {

TEST(ParseUnsignedDecimal, AcceptsDigitsWithinThirtyTwoBits)
{
    const struct {
        const char* text;
        std::uint32_t value;
    } cases[] = {
        {"0", 0},
        {"7", 7},
        {"128", 128},
        {"4294967295", 4294967295u},
        {"000000000000000000042", 42},  // leading zeros do not count towards overflow
        {"00000000004294967295", 4294967295u},
        {"  12", 12},
        {"12  ", 12},
        {"\t12\t", 12},
        {" \t 300 \t ", 300},
    };
    for (const auto& c : cases) {
        const auto value = ParseUnsignedDecimal(c.text);
        ASSERT_TRUE(value.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(*value, c.value) << '"' << c.text << '"';
    }
}

TEST(ParseUnsignedDecimal, RefusesEverythingElse)
{
    const char* const cases[] = {
        "",
        "   ",
        "\t",
        "-1",
        "+1",
        "-0",
        "12abc",
        "abc",
        "0x10",
        "1 2",
        "1.5",
        "1e3",
        "4294967296",
        "18446744073709551615",  // 20 digits
        "99999999999999999999",  // 20 digits, beyond 64 bits too
        "１２",                  // full-width digits
        "\xe3\x80\x80"
        "12",  // bytes that are not ASCII blanks
        "12\n",
        "\r12",
        "\v12",
    };
    for (const char* text : cases) EXPECT_FALSE(ParseUnsignedDecimal(text).has_value()) << '"' << text << '"';
}

TEST(ParseUnsignedDecimal, StopsAtTheGivenLength)
{
    const std::string_view withTrailingDigit("129", 2);
    EXPECT_EQ(ParseUnsignedDecimal(withTrailingDigit), 12u);
}

}  // namespace
}  // namespace tavik
