// The platform operations behind the file button: choosing a file and learning a bitmap's size.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tavik {

struct BitmapSize {
    std::uint32_t width;
    std::uint32_t height;
};

class BitmapSource {
public:
    // Full path of the chosen file, or empty when the user did not end the dialog with OK.
    virtual std::optional<std::string> ChooseBitmapFile() = 0;
    // Loads the file only to read its size and releases it again; empty when it does not load.
    virtual std::optional<BitmapSize> ReadBitmapSize(const std::string& path) = 0;

protected:
    ~BitmapSource() = default;
};

}  // namespace tavik
