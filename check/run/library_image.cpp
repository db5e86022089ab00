#include "check/run/library_image.h"

#include <windows.h>

#include "check/numbers.h"

namespace check {

namespace {

constexpr WORD kThisMachine = sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386;

std::string MachineName(WORD machine)
{
    switch (machine) {
        case IMAGE_FILE_MACHINE_I386:
            return "a 32-bit (i386)";
        case IMAGE_FILE_MACHINE_AMD64:
            return "a 64-bit (x86-64)";
        case 0xAA64:
            return "an ARM64";
        case IMAGE_FILE_MACHINE_ARMNT:
            return "a 32-bit ARM";
        default:
            return "a machine " + Hex(machine);
    }
}

// The checker that takes a library of `machine`, when this project builds one.
std::string MatchingChecker(WORD machine)
{
    if (machine == IMAGE_FILE_MACHINE_I386) return "use the 32-bit one (DravelCheck.exe of the i686 build)";
    if (machine == IMAGE_FILE_MACHINE_AMD64) return "use the 64-bit one (DravelCheck.exe of the x86_64 build)";
    return "no DravelCheck is built for it";
}

// Reads up to `size` bytes at `offset`; the count read.
DWORD ReadAt(HANDLE file, DWORD offset, void* into, DWORD size)
{
    DWORD read = 0;
    if (SetFilePointer(file, static_cast<LONG>(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return 0;
    return ReadFile(file, into, size, &read, nullptr) ? read : 0;
}

std::optional<std::string> HeaderFault(HANDLE file)
{
    LARGE_INTEGER size{};
    GetFileSizeEx(file, &size);
    if (size.QuadPart == 0) return "is empty";
    IMAGE_DOS_HEADER dos{};
    if (ReadAt(file, 0, &dos, sizeof dos) != sizeof dos || dos.e_magic != IMAGE_DOS_SIGNATURE)
        return "is not a Windows library (no MZ header)";
    DWORD signature = 0;
    IMAGE_FILE_HEADER header{};
    const DWORD at = static_cast<DWORD>(dos.e_lfanew);
    if (ReadAt(file, at, &signature, sizeof signature) != sizeof signature || signature != IMAGE_NT_SIGNATURE ||
        ReadAt(file, at + sizeof signature, &header, sizeof header) != sizeof header)
        return "is not a Windows library (an MZ header without a PE image)";
    if (header.Machine != kThisMachine)
        return "is " + MachineName(header.Machine) + " library; this DravelCheck is " +
               (sizeof(void*) == 8 ? "64-bit: " : "32-bit: ") + MatchingChecker(header.Machine);
    if (!(header.Characteristics & IMAGE_FILE_DLL)) return "is a program, not a library (no DLL flag in its PE header)";
    return std::nullopt;
}

}  // namespace

std::optional<std::string> UnjudgeableImage(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return path + ": no such file";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return path + " is a folder, not a library";
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return path + " cannot be read (error " + std::to_string(GetLastError()) + ")";
    const std::optional<std::string> fault = HeaderFault(file);
    CloseHandle(file);
    if (!fault) return std::nullopt;
    return path + " " + *fault;
}

}  // namespace check
