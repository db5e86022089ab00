#include "check/call_input.h"

#include <algorithm>
#include <cstring>

namespace check {

std::string CallInput::DescribeParams() const
{
    return "width " + std::to_string(params.width) + " height " + std::to_string(params.height) + " colour " +
           std::to_string(params.red) + "," + std::to_string(params.green) + "," + std::to_string(params.blue) +
           " file " + fileKind;
}

std::string CallInput::DescribeRect() const
{
    return "rect " + std::to_string(rect.startX) + "," + std::to_string(rect.startY) + "," + std::to_string(rect.endX) +
           "," + std::to_string(rect.endY);
}

void SetPath(CallInput& input, const std::string& path, const std::string& kind)
{
    std::memset(input.params.bitmapFile, 0, kPathBytes);
    std::memcpy(input.params.bitmapFile, path.data(), std::min(path.size(), kPathBytes));
    input.fileKind = kind;
}

void SetFile(CallInput& input, const TestFiles& files, std::optional<FileKind> kind)
{
    if (!kind) return SetPath(input, "", "empty");
    SetPath(input, files.*RowOf(*kind).path, RowOf(*kind).name);
}

CallInput StartupInput(int ordinal)
{
    CallInput input{};
    input.params.width = input.params.height = 128;
    SetPath(input, "Image.bmp", "named");
    input.rect = ordinal == kMoveAndShow ? OverlayRect{128, 128, 256, 256} : OverlayRect{0, 0, 128, 128};
    return input;
}

CallInput PlainInput(const TestFiles& files)
{
    CallInput input{};
    input.params.width = input.params.height = 64;
    input.params.red = 200;
    input.rect = {16, 16, 80, 80};
    SetFile(input, files, FileKind::kBitmap);
    return input;
}

}  // namespace check
