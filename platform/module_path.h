// The program's own path and the names taken from it, in the system code page.
#pragma once

#include <string>

namespace platform {

// Full path of the running executable, however long.
std::string ModuleFileName();
// Its folder, ending in the separator: "C:\\dir\\App.exe" gives "C:\\dir\\".
std::string ModuleFolder();

// File name without folder and extension: "C:\\dir\\App.exe" gives "App".
std::string FileStem(const std::string& path);

// The path with the file name's extension (if any) replaced: "C:\\dir\\App.exe", ".HLP" gives
// "C:\\dir\\App.HLP".
std::string ReplaceExtension(const std::string& path, const char* extension);

}  // namespace platform
