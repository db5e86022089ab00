// Files the GUI tests write for the open-file dialog, and their paths as the program sees them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tavik::test {

// Writes the file, and the folders it is in; returns its full path.
inline std::wstring WriteFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes)
{
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file.wstring();
}

// The text in the system code page, as the file dialog hands a path to the program.
inline std::string InSystemCodePage(const std::wstring& text)
{
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(size > 0 ? size - 1 : 0));
    return narrow;
}

}  // namespace tavik::test
