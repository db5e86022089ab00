// Numbers as DravelCheck reads and writes them: the strict decimals of its command line, its
// child's flags and replay files, and the one form its findings give a flag word or code in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace check {

// One or more ASCII digits and nothing else, of a value that fits in 32 bits.
std::optional<std::uint32_t> DecimalNumber(const std::string& text);

// "0x" and at least four upper-case hex digits: "0x037F".
std::string Hex(unsigned value);

}  // namespace check
