#include "check/protocol.h"

#include <windows.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>

#include "check/checked_library.h"

namespace check {

namespace {

constexpr const char* kTags[] = {"call", "done", "find", "info", "end", "exit", "skip"};

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

bool InRange(const Line& line)
{
    switch (line.kind) {
        case LineKind::kCall:
        case LineKind::kDone:
            return line.number >= 0 && line.number <= kOrdinals;
        case LineKind::kFinding:
        case LineKind::kMeasure:
        case LineKind::kNotJudged:
            return line.number >= 1 && line.number <= kChecks;
        case LineKind::kEnd:
        case LineKind::kEnding:
            break;
    }
    return true;
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

void SendFinding(int check, const std::string& text)
{
    Send(LineKind::kFinding, std::to_string(check) + " " + text);
}

void SendMeasure(int check, const std::string& text)
{
    Send(LineKind::kMeasure, std::to_string(check) + " " + text);
}

void SendNotJudged(int check, const std::string& reason)
{
    Send(LineKind::kNotJudged, std::to_string(check) + " " + reason);
}

void SendEnd()
{
    Send(LineKind::kEnd, "");
}

void SendEnding(const char* what)
{
    Send(LineKind::kEnding, std::string("0 ") + what);
}

std::optional<Line> ParseLine(const std::string& text)
{
    for (int kind = 0; kind < static_cast<int>(std::size(kTags)); ++kind) {
        const std::string tag = std::string("@") + kTags[kind] + " ";
        if (text.compare(0, tag.size(), tag) != 0) continue;
        Line line;
        line.kind = static_cast<LineKind>(kind);
        const char* rest = text.c_str() + tag.size();
        char* end = nullptr;
        line.number = static_cast<int>(std::strtol(rest, &end, 10));
        if (line.kind == LineKind::kDone) {
            line.code = static_cast<std::uint32_t>(std::strtoul(end, &end, 16));
            line.micros = std::strtod(end, &end);
        }
        line.text = *end == ' ' ? end + 1 : end;
        if (!InRange(line)) return std::nullopt;
        return line;
    }
    return std::nullopt;
}

}  // namespace check
