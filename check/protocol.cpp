#include "check/protocol.h"

#include <windows.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "check/scenario/checked_library.h"

namespace check {

namespace {

constexpr const char* kTags[] = {"call", "done", "find", "info", "note", "end", "exit", "skip"};
// Between a finding's call and its outcome; the call is our own text and never holds one.
constexpr char kCallEnd = '\t';

HANDLE g_channel = nullptr;

void Send(LineKind kind, const std::string& rest)
{
    std::string line = std::string("@") + kTags[static_cast<int>(kind)] + " " + rest;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    line += '\n';
    DWORD written = 0;
    WriteFile(g_channel ? g_channel : GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()),
              &written, nullptr);
}

bool IsOrdinal(long number)
{
    return number >= kNoOrdinal && number <= kOrdinals;
}

// Reads "NUMBER " from `rest` and moves past it.
long TakeNumber(const char*& rest)
{
    char* end = nullptr;
    const long number = std::strtol(rest, &end, 10);
    rest = *end == ' ' ? end + 1 : end;
    return number;
}

}  // namespace

void ClaimStandardOutput()
{
    const HANDLE process = GetCurrentProcess();
    DuplicateHandle(process, GetStdHandle(STD_OUTPUT_HANDLE), process, &g_channel, 0, FALSE, DUPLICATE_SAME_ACCESS);
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
    std::fflush(stdout);
    _dup2(_fileno(stderr), _fileno(stdout));
}

void SendCall(int ordinal, const std::string& what)
{
    Send(LineKind::kCall, std::to_string(ordinal) + " " + what);
}

void SendDone(int ordinal, std::uint32_t code, double micros)
{
    char text[64];
    std::snprintf(text, sizeof text, "%d %08x %.1f", ordinal, static_cast<unsigned>(code), micros);
    Send(LineKind::kDone, text);
}

void SendFinding(const Finding& finding)
{
    Send(LineKind::kFinding, std::to_string(Number(finding.check)) + " " + std::to_string(finding.ordinal) + " " +
                                 finding.call + kCallEnd + finding.outcome);
}

void SendMeasure(Check check, const std::string& text)
{
    Send(LineKind::kMeasure, std::to_string(Number(check)) + " " + text);
}

void SendNote(Check check, const std::string& text)
{
    Send(LineKind::kNote, std::to_string(Number(check)) + " " + text);
}

void SendNotJudged(Check check, const std::string& reason)
{
    Send(LineKind::kNotJudged, std::to_string(Number(check)) + " " + reason);
}

void SendEnd()
{
    Send(LineKind::kEnd, "");
}

void SendEnding(const char* what)
{
    Send(LineKind::kEnding, what);
}

std::optional<Line> ParseLine(const std::string& text)
{
    for (int kind = 0; kind < static_cast<int>(std::size(kTags)); ++kind) {
        const std::string tag = std::string("@") + kTags[kind] + " ";
        if (text.compare(0, tag.size(), tag) != 0) continue;
        Line line;
        line.kind = static_cast<LineKind>(kind);
        const char* rest = text.c_str() + tag.size();
        switch (line.kind) {
            case LineKind::kCall:
            case LineKind::kDone: {
                const long ordinal = TakeNumber(rest);
                if (!IsOrdinal(ordinal)) return std::nullopt;
                line.ordinal = static_cast<int>(ordinal);
                if (line.kind == LineKind::kCall) {
                    line.text = rest;
                } else {
                    char* end = nullptr;
                    line.code = static_cast<std::uint32_t>(std::strtoul(rest, &end, 16));
                    line.micros = std::strtod(end, &end);
                }
                break;
            }
            case LineKind::kFinding: {
                const CheckRow* row = FindCheck(static_cast<int>(TakeNumber(rest)));
                const long ordinal = TakeNumber(rest);
                if (row == nullptr || !IsOrdinal(ordinal)) return std::nullopt;
                const std::string both = rest;
                const std::size_t callEnd = both.find(kCallEnd);
                if (callEnd == std::string::npos) return std::nullopt;
                line.finding = {row->id, static_cast<int>(ordinal), both.substr(0, callEnd), both.substr(callEnd + 1)};
                break;
            }
            case LineKind::kMeasure:
            case LineKind::kNote:
            case LineKind::kNotJudged: {
                const CheckRow* row = FindCheck(static_cast<int>(TakeNumber(rest)));
                if (row == nullptr) return std::nullopt;
                line.check = row->id;
                line.text = rest;
                break;
            }
            case LineKind::kEnding:
                line.text = rest;
                break;
            case LineKind::kEnd:
                break;
        }
        return line;
    }
    return std::nullopt;
}

}  // namespace check
