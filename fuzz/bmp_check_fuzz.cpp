// The BMP check on arbitrary bytes. libFuzzer hands over a buffer of exactly the input's size, so
// AddressSanitizer reports any read past the file's end.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "bitmap/bmp_file_check.h"
#include "fuzz/fuzz_require.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> file(data, size);
    if (!tavik::IsSafeBmp(file)) return 0;
    // What is whole stays whole with bytes after it, as a file copied with trailing junk.
    std::vector<std::uint8_t> longer(file.begin(), file.end());
    longer.push_back(0);
    tavik::fuzz::Require(tavik::IsSafeBmp(longer), "a file the check passes still passes with a byte appended");
    return 0;
}
