#include "check/run/test_folder.h"

#include <windows.h>

#include "bitmap/bmp_writer.h"
#include "platform/system_error.h"

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

std::optional<std::string> CannotMake(const std::string& path)
{
    return "DravelCheck could not make " + path + ": " + platform::SystemErrorText(GetLastError());
}

}  // namespace

TestFiles TempTestFiles(const std::string& prefix)
{
    char temp[MAX_PATH * 4] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    return TestFiles((length > 0 && length < sizeof temp ? std::string(temp) : std::string(".\\")) + prefix +
                     std::to_string(GetCurrentProcessId()));
}

std::optional<std::string> MakeTestFiles(const TestFiles& files)
{
    if (!CreateDirectoryA(files.folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return CannotMake(files.folder);
    const tavik::bmp::Bytes bytes = SmallBitmap();
    for (const std::string* path : {&files.bitmap, &files.japanese, &files.longBitmap})
        if (!tavik::bmp::Save(*path, bytes)) return CannotMake(*path);
    if (!tavik::bmp::Save(files.scenePicture, ScenePicture())) return CannotMake(files.scenePicture);
    return std::nullopt;
}

void RemoveTestFiles(const TestFiles& files)
{
    for (const std::string* path : {&files.bitmap, &files.japanese, &files.longBitmap, &files.scenePicture})
        DeleteFileA(path->c_str());
    RemoveDirectoryA(files.folder.c_str());
}

}  // namespace check
