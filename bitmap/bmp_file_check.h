// Vets a .bmp file before it reaches LoadImage. The platform's bitmap loader crashes the
// process on a file whose pixel data is cut short, so anything not plainly whole and
// well-formed is to be treated as a file that does not load.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tavik {

// True when the bytes are a complete BMP of a kind the loader decodes, safe to hand to it.
bool IsSafeBmp(std::span<const std::uint8_t> file);

// The same check on a file named in the system code page. Reads only the headers and takes
// the rest from the file's size. False when the file cannot be opened.
bool IsSafeBmpFile(const std::string& path);

}  // namespace tavik
