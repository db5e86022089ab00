// Narrow text in the system code page (932 on a Japanese system) as the platform's wide functions
// take it, and as UTF-8 for the files others read.
#pragma once

#include <string>

namespace check {

std::wstring Wide(const std::string& text);
std::string Utf8(const std::string& text);

}  // namespace check
