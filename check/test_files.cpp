#include "check/test_files.h"

#include <string_view>

#include "check/call_input.h"

namespace check {

namespace {

// A name of `fill` bytes padded to make the whole path 259 bytes; in a folder too deep for that,
// one byte, and the path is longer than the record holds.
std::string LongPath(const std::string& folder, char fill)
{
    const std::string path = folder + "\\";
    const std::size_t room = kPathBytes - 1 - std::string_view(".bmp").size();
    return path + std::string(path.size() < room ? room - path.size() : 1, fill) + ".bmp";
}

constexpr bool InKindOrder()
{
    for (std::size_t i = 0; i < std::size(kFileKinds); ++i)
        if (static_cast<std::size_t>(kFileKinds[i].kind) != i) return false;
    return true;
}
static_assert(InKindOrder(), "the file kinds' rows are in the order of their enum");

}  // namespace

TestFiles::TestFiles(const std::string& dir)
    : folder(dir),
      bitmap(dir + "\\Image.bmp"),
      japanese(dir + "\\表示画像.bmp"),
      longBitmap(LongPath(dir, 'L')),
      longMissing(LongPath(dir, 'M')),
      missing(dir + "\\missing.bmp"),
      scenePicture(dir + "\\scene.bmp")
{
}

const FileKindRow* FileKindNamed(const std::string& name)
{
    for (const FileKindRow& row : kFileKinds)
        if (name == row.name) return &row;
    return nullptr;
}

}  // namespace check
