// The files the inputs point at, in a folder of their own, and the one table that names them by
// kind for the sweep, the random sample and the replay format. The checking process makes them
// (run/test_folder.h); a scenario process is given the folder.
#pragma once

#include <string>

namespace check {

// A whole bitmap (under the console's start-up name, so that name finds it from the folder), the
// same under a Japanese name (with a 0x5C trail byte), a 259-byte path to a bitmap, names of what
// is not there, and the screen scene's picture.
struct TestFiles {
    explicit TestFiles(const std::string& folder);

    std::string folder;
    std::string bitmap;
    std::string japanese;
    std::string longBitmap;
    std::string longMissing;
    std::string missing;
    std::string scenePicture;  // kScenePictureWidth x kScenePictureHeight, with no symmetry
};

inline constexpr int kScenePictureWidth = 48;
inline constexpr int kScenePictureHeight = 32;

// The files an input may name, by kind; a finding and a replay line say the kind, not the path.
enum class FileKind { kBitmap, kJapanese, kLongBitmap, kLongMissing, kMissing, kDirectory };

struct FileKindRow {
    FileKind kind;
    const char* name;
    std::string TestFiles::*path;
};
inline constexpr FileKindRow kFileKinds[] = {{FileKind::kBitmap, "bitmap", &TestFiles::bitmap},
                                             {FileKind::kJapanese, "japanese", &TestFiles::japanese},
                                             {FileKind::kLongBitmap, "259-byte bitmap", &TestFiles::longBitmap},
                                             {FileKind::kLongMissing, "259-byte missing", &TestFiles::longMissing},
                                             {FileKind::kMissing, "missing", &TestFiles::missing},
                                             {FileKind::kDirectory, "directory", &TestFiles::folder}};

constexpr const FileKindRow& RowOf(FileKind kind)
{
    return kFileKinds[static_cast<int>(kind)];
}

// The row of a kind's name; nullptr for a name no kind has.
const FileKindRow* FileKindNamed(const std::string& name);

}  // namespace check
