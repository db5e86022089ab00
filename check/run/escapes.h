// UTF-8 text quoted for the JSON and JUnit XML reports.
#pragma once

#include <string>

namespace check {

// A JSON string: quotes, backslashes and control characters escaped.
std::string JsonString(const std::string& utf8);
// With what XML reserves escaped; quoted as an attribute value when `attribute`. XML 1.0 has no
// control characters but tab and line ends: the others become '?'.
std::string XmlText(const std::string& utf8, bool attribute);

}  // namespace check
