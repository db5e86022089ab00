#include "check/call_inputs.h"

#include <windows.h>

#include "bitmap/bmp_writer.h"

namespace check {

namespace {

// An 8 x 8 24-bit bitmap, bottom-up, in four coloured quarters.
tavik::bmp::Bytes SmallBitmap()
{
    return tavik::bmp::Build({.width = 8, .height = 8, .colourAt = [](int x, int y) -> std::uint32_t {
                                  return RGB(64, y < 4 ? 0 : 255, x < 4 ? 255 : 0);
                              }});
}

// Red grows to the right and green downwards, and a white block marks the top-left corner: shown
// mirrored, upside down or shifted, it looks different.
tavik::bmp::Bytes ScenePicture()
{
    return tavik::bmp::Build(
        {.width = kScenePictureWidth, .height = kScenePictureHeight, .colourAt = [](int x, int y) -> std::uint32_t {
             if (x < 8 && y < 8) return RGB(255, 255, 255);
             return RGB(x * 255 / (kScenePictureWidth - 1), y * 255 / (kScenePictureHeight - 1), 0x40);
         }});
}

}  // namespace

TestFiles TestFiles::InTemp(const std::string& prefix)
{
    char temp[MAX_PATH * 4] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    return TestFiles((length > 0 && length < sizeof temp ? std::string(temp) : std::string(".\\")) + prefix +
                     std::to_string(GetCurrentProcessId()));
}

void TestFiles::Create() const
{
    CreateDirectoryA(folder.c_str(), nullptr);
    const tavik::bmp::Bytes bytes = SmallBitmap();
    for (const std::string* path : {&bitmap, &japanese, &longBitmap}) tavik::bmp::Save(*path, bytes);
    tavik::bmp::Save(scenePicture, ScenePicture());
}

void TestFiles::Remove() const
{
    for (const std::string* path : {&bitmap, &japanese, &longBitmap, &scenePicture}) DeleteFileA(path->c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace check
