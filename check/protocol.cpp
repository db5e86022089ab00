#include "check/protocol.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace check {

namespace {

constexpr const char* kTags[] = {"call", "done", "find", "info", "end"};

void Send(LineKind kind, const std::string& rest)
{
    std::string line = std::string("@") + kTags[static_cast<int>(kind)] + " " + rest;
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    line += '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

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

void SendEnd()
{
    Send(LineKind::kEnd, "");
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
        return line;
    }
    return std::nullopt;
}

}  // namespace check
