#include "platform/module_path.h"

#include <windows.h>

namespace platform {

namespace {

struct FileNameParts {
    std::size_t nameStart;       // first byte after the last folder separator
    std::size_t extensionStart;  // the last dot of the file name, or the end of the path
};

// Walks character by character: in a DBCS code page a trail byte can equal '\\' or '.', and a
// byte-wise search would split a file name such as "表.exe" inside its first character.
FileNameParts SplitFileName(const std::string& path)
{
    FileNameParts parts{0, path.size()};
    const char* const begin = path.c_str();
    for (const char* p = begin; *p != '\0'; p = CharNextA(p)) {
        const std::size_t at = static_cast<std::size_t>(p - begin);
        if (*p == '\\' || *p == '/' || *p == ':') {
            parts.nameStart = at + 1;
            parts.extensionStart = path.size();
        } else if (*p == '.') {
            parts.extensionStart = at;
        }
    }
    return parts;
}

}  // namespace

std::string ModuleFileName()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD copied = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (copied == 0) return {};
        // A full buffer means the path was cut short: try again with more room.
        if (copied < path.size()) {
            path.resize(copied);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string ModuleFolder()
{
    const std::string path = ModuleFileName();
    return path.substr(0, SplitFileName(path).nameStart);
}

std::string FileStem(const std::string& path)
{
    const FileNameParts parts = SplitFileName(path);
    return path.substr(parts.nameStart, parts.extensionStart - parts.nameStart);
}

std::string ReplaceExtension(const std::string& path, const char* extension)
{
    return path.substr(0, SplitFileName(path).extensionStart) + extension;
}

}  // namespace platform
