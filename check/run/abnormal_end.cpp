#include "check/run/abnormal_end.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace check {

namespace {

struct NamedCode {
    std::uint32_t code;
    const char* name;
};

constexpr NamedCode kExceptions[] = {
    {0xC0000005, "access violation"},
    {0xC0000006, "in-page error"},
    {0xC000001D, "illegal instruction"},
    {0xC0000025, "noncontinuable exception"},
    {0xC000008C, "array bounds exceeded"},
    {0xC000008D, "floating-point denormal operand"},
    {0xC000008E, "floating-point division by zero"},
    {0xC000008F, "floating-point inexact result"},
    {0xC0000090, "floating-point invalid operation"},
    {0xC0000091, "floating-point overflow"},
    {0xC0000092, "floating-point stack check"},
    {0xC0000093, "floating-point underflow"},
    {0xC0000094, "integer division by zero"},
    {0xC0000095, "integer overflow"},
    {0xC0000096, "privileged instruction"},
    {0xC00000FD, "stack overflow"},
    {0xC0000374, "heap corruption"},
    {0xC0000409, "stack buffer overrun"},
    {0x80000002, "datatype misalignment"},
    {0x80000003, "breakpoint"},
    {0x80000004, "single step"},
    {kMsvcThrow, "C++, MSVC runtime"},
    {kGccThrow, "C++, GCC runtime"},
};

// The GCC C++ runtime's std::terminate, on an exception nothing caught, before it aborts:
//   terminate called after throwing an instance of 'std::runtime_error'
//     what():  thrown out of Set & show
// The second line only for a std::exception. Where the exception unwinds as an SEH exception the
// scenario notes it as well; where it unwinds by tables (i686) this is all that says it was one.
// "(C++, std::runtime_error, what(): "thrown out of Set & show")", or nothing without the text.
std::string TerminateCause(std::string_view errors)
{
    constexpr std::string_view kThrowing = "terminate called after throwing an instance of '";
    constexpr std::string_view kWhat = "  what():  ";
    constexpr std::size_t kLongestWhat = 160;
    const std::size_t at = errors.rfind(kThrowing);
    if (at == std::string_view::npos) return "";
    // Its lines, without their ends ("\r\n" where the runtime writes in text mode).
    std::string_view rest = errors.substr(at + kThrowing.size());
    const auto nextLine = [&rest] {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        return line;
    };
    const std::string_view type = nextLine();
    if (!type.ends_with('\'')) return "";
    std::string cause = "(C++, " + std::string(type.substr(0, type.size() - 1));
    if (const std::string_view what = nextLine(); what.starts_with(kWhat)) {
        const std::string_view text = what.substr(kWhat.size());
        cause +=
            ", what(): \"" + std::string(text.substr(0, kLongestWhat)) + (text.size() > kLongestWhat ? "...\"" : "\"");
    }
    return cause + ")";
}

}  // namespace

std::string AbnormalEnd(std::uint32_t exitCode, std::optional<Dying> dying, std::string_view errors)
{
    if (dying == Dying::kThrow || dying == Dying::kAbort) {
        const std::string cause = TerminateCause(errors);
        if (!cause.empty()) return "let an exception out " + cause;
    }
    if (dying == Dying::kThrow) return "let an exception out (C++, std::terminate)";
    if (dying == Dying::kAbort) return "called abort() (or std::terminate)";
    if (dying == Dying::kHeap) return "corrupted the heap: it no longer validated after the call";
    if (dying == Dying::kUnloaded) return "unloaded the library itself: its module was no longer loaded after the call";
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(exitCode));
    for (const NamedCode& named : kExceptions)
        if (named.code == exitCode) return "let an exception out (" + std::string(code) + ", " + named.name + ")";
    if (exitCode >= 0xC0000000) return "let an exception out (" + std::string(code) + ")";
    return "ended the process (exit code " + std::to_string(exitCode) + ")";
}

}  // namespace check
