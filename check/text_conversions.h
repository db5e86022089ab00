// Text of the command line, a replay file or a report turned into what it stands for: a number,
// or the same text in UTF-16 for the platform's wide functions and in UTF-8 for files others read.
// Narrow text here is in the system code page (932 on a Japanese system).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace check {

// One or more ASCII digits and nothing else, of a value that fits in 32 bits.
std::optional<std::uint32_t> DecimalNumber(const std::string& text);

std::wstring Wide(const std::string& text);
std::string Utf8(const std::string& text);

}  // namespace check
