// Whole files read and written as bytes through the platform's own file functions (the C++
// streams would bring their locale machinery into the program for a few small files). Paths are
// in the system code page.
#pragma once

#include <optional>
#include <string>

namespace check {

// Nothing for a file that cannot be read; false when the file cannot be written whole.
std::optional<std::string> ReadText(const std::string& path);
bool WriteText(const std::string& path, const std::string& text);

}  // namespace check
