// Text of the command line, a replay file or a report turned into what it stands for: a number,
// or the same text in UTF-16 for the platform's wide functions and in UTF-8 for files others read;
// and the one form the findings give a flag word or code in. Also whole files of such text, read and
// written as bytes. Narrow text here is in the system code page (932 on a Japanese system).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace check {

// One or more ASCII digits and nothing else, of a value that fits in 32 bits.
std::optional<std::uint32_t> DecimalNumber(const std::string& text);

std::wstring Wide(const std::string& text);
std::string Utf8(const std::string& text);

// Nothing for a file that cannot be read; false when the file cannot be written whole.
std::optional<std::string> ReadText(const std::string& path);
bool WriteText(const std::string& path, const std::string& text);

// "0x" and at least four upper-case hex digits: "0x037F".
std::string Hex(unsigned value);

}  // namespace check
