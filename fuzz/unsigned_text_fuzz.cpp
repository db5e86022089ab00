// The field reader on arbitrary text, against the standard library's reading of the same digits.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "console/unsigned_text.h"
#include "fuzz/fuzz_require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::uint32_t> read = tavik::ParseUnsignedDecimal(text);

    // The same rule said another way: blanks trimmed, then digits only, fitting 32 bits.
    const std::size_t first = text.find_first_not_of(" \t");
    text = first == std::string_view::npos ? std::string_view()
                                           : text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool expected = error == std::errc() && end == text.data() + text.size();

    tavik::fuzz::Require(read.has_value() == expected, "accepts exactly blanks around a decimal that fits 32 bits");
    tavik::fuzz::Require(!read || *read == value, "reads the value the digits say");
    return 0;
}
