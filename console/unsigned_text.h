// Strict reading of an unsigned 32-bit decimal number typed into a field.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavik {

// Accepts optional blanks (space, tab) around one or more ASCII digits whose value fits in
// 32 bits; anything else (signs, hex prefixes, trailing letters, overflow) is refused, so a
// typo never reaches the library as some other number.
std::optional<std::uint32_t> ParseUnsignedDecimal(std::string_view text);

}  // namespace tavik
