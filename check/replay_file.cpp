#include "check/replay_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "check/numbers.h"
#include "check/ordinals.h"

namespace check {

namespace {

std::string FileBytes(const CallInput& input)
{
    return std::string(input.params.bitmapFile, strnlen(input.params.bitmapFile, kPathBytes));
}

std::string Quoted(const std::string& bytes)
{
    std::string text = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20 || byte > 0x7E) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        } else {
            text += c;
        }
    }
    return text + "\"";
}

// Reads a quoted name from `at`; the reason when it cannot.
std::optional<std::string> Unquote(const std::string& line, std::size_t& at, std::string& bytes)
{
    for (++at; at < line.size() && line[at] != '"'; ++at) {
        if (line[at] != '\\') {
            bytes += line[at];
            continue;
        }
        if (++at == line.size()) break;
        if (line[at] == 'x' || line[at] == 'X') {
            const std::string hex = line.substr(at + 1, 2);
            char* end = nullptr;
            const long value = std::strtol(hex.c_str(), &end, 16);
            if (hex.size() != 2 || *end != '\0' || value == 0) return "\\x takes two hex digits, not 00";
            bytes += static_cast<char>(value);
            at += 2;
        } else if (line[at] == '"' || line[at] == '\\') {
            bytes += line[at];
        } else {
            return std::string("unknown escape \\") + line[at];
        }
    }
    if (at >= line.size()) return "the quoted file name has no closing quote";
    ++at;
    if (bytes.size() > kPathBytes) return "the file name is longer than 260 bytes";
    return std::nullopt;
}

// One field of a Set & show or Move & show line.
std::optional<std::string> ReadField(const std::string& name, const std::string& value, int ordinal, CallInput& input)
{
    if (name == "rect") {
        std::uint32_t corners[4];
        std::size_t from = 0;
        for (int i = 0; i < 4; ++i) {
            const std::size_t comma = value.find(',', from);
            if ((comma == std::string::npos) != (i == 3)) return "rect takes four numbers: startX,startY,endX,endY";
            const auto number = DecimalNumber(value.substr(from, comma - from));
            if (!number) return "rect takes four numbers from 0 to 4294967295";
            corners[i] = *number;
            from = comma + 1;
        }
        input.rect = {corners[0], corners[1], corners[2], corners[3]};
        return std::nullopt;
    }
    if (ordinal != kSetAndShow) return "Move & show takes only rect=";
    const auto number = DecimalNumber(value);
    if (name == "width" || name == "height") {
        if (!number) return name + " takes a number from 0 to 4294967295";
        (name == "width" ? input.params.width : input.params.height) = *number;
        return std::nullopt;
    }
    if (name == "red" || name == "green" || name == "blue") {
        if (!number || *number > 255) return name + " takes a number from 0 to 255";
        (name == "red"     ? input.params.red
         : name == "green" ? input.params.green
                           : input.params.blue) = static_cast<std::uint8_t>(*number);
        return std::nullopt;
    }
    return "unknown field \"" + name + "\" (width, height, red, green, blue, file, rect)";
}

// fail=CALL,N.
std::optional<std::string> ReadFailure(const std::string& value, PlannedCall& call)
{
    const std::size_t comma = value.find(',');
    const std::string name = value.substr(0, comma);
    const std::uint32_t occurrence =
        comma == std::string::npos ? 0 : DecimalNumber(value.substr(comma + 1)).value_or(0);
    if (!FindWrappedCall(name) || occurrence == 0)
        return "fail takes a wrapped call and which of its calls, from 1: fail=malloc,1";
    call.failure = FailedCall{call.ordinal, name, occurrence};
    return std::nullopt;
}

// Reads the fields after the call's name; the reason when one cannot be read.
std::optional<std::string> ReadFields(const std::string& line, std::size_t at, PlannedCall& call,
                                      const TestFiles& files)
{
    const int ordinal = call.ordinal;
    CallInput& input = call.input;
    while (true) {
        while (at < line.size() && line[at] == ' ') ++at;
        if (at >= line.size()) return std::nullopt;
        const std::size_t equals = line.find('=', at);
        if (equals != std::string::npos && line.compare(at, equals - at, "fail") == 0) {
            const std::size_t end = std::min(line.find(' ', equals), line.size());
            if (auto error = ReadFailure(line.substr(equals + 1, end - equals - 1), call)) return error;
            at = end;
            continue;
        }
        if (ordinal != kSetAndShow && ordinal != kMoveAndShow)
            return std::string(OrdinalName(ordinal)) + " takes no fields but fail=";
        if (equals == std::string::npos) return "\"" + line.substr(at) + "\" is not name=value";
        const std::string name = line.substr(at, equals - at);
        at = equals + 1;
        if (name == "file" && ordinal == kSetAndShow && at < line.size() && line[at] == '"') {
            std::string bytes;
            if (auto error = Unquote(line, at, bytes)) return error;
            SetPath(input, bytes, bytes.empty() ? "empty" : "named");
            continue;
        }
        if (name == "file" && ordinal == kSetAndShow && at < line.size() && line[at] == '<') {
            const std::size_t close = line.find('>', at);
            const std::string kind = line.substr(at + 1, close == std::string::npos ? 0 : close - at - 1);
            const FileKindRow* known = FileKindNamed(kind);
            if (close == std::string::npos || known == nullptr) {
                std::string kinds;
                for (const FileKindRow& row : kFileKinds) kinds += (kinds.empty() ? "<" : ", <") + std::string(row.name) + ">";
                return "file=<...> names one of " + kinds;
            }
            SetFile(input, files, known->kind);
            at = close + 1;
            continue;
        }
        if (name == "file")
            return ordinal == kSetAndShow ? "file takes a quoted name or <kind>" : "Move & show takes only rect=";
        const std::size_t end = line.find(' ', at);
        if (auto error = ReadField(name, line.substr(at, end == std::string::npos ? end : end - at), ordinal, input))
            return error;
        at = end == std::string::npos ? line.size() : end;
    }
}

}  // namespace

Replay ParseReplay(const std::string& text, const TestFiles& files)
{
    Replay replay;
    int number = 0;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find('\n', from);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(from, end - from);
        from = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string::npos || line[start] == '#') continue;
        int ordinal = 0;
        for (int i = kOrdinals; i >= 1 && ordinal == 0; --i) {
            const std::size_t length = std::strlen(OrdinalName(i));
            if (line.compare(start, length, OrdinalName(i)) == 0 &&
                (start + length == line.size() || line[start + length] == ' '))
                ordinal = i;
        }
        const std::string where = "line " + std::to_string(number) + ": ";
        if (ordinal == 0) {
            replay.errors.push_back(where + "\"" + line.substr(start) +
                                    "\" is not a call (Open, Close, Set & show, Move & show, Clear setting)");
            continue;
        }
        PlannedCall call{ordinal, StartupInput(ordinal)};
        if (auto error = ReadFields(line, start + std::strlen(OrdinalName(ordinal)), call, files))
            replay.errors.push_back(where + *error);
        else
            replay.calls.push_back({call, number});
    }
    return replay;
}

std::string ReplayText(const std::vector<PlannedCall>& calls)
{
    std::string text;
    for (const PlannedCall& call : calls) {
        text += OrdinalName(call.ordinal);
        const CallInput startup = StartupInput(call.ordinal);
        const OverlaySurfaceParams& params = call.input.params;
        const auto field = [&text](const char* name, std::uint32_t value, std::uint32_t startupValue) {
            if (value != startupValue) text += std::string(" ") + name + "=" + std::to_string(value);
        };
        if (call.ordinal == kSetAndShow) {
            field("width", params.width, startup.params.width);
            field("height", params.height, startup.params.height);
            field("red", params.red, startup.params.red);
            field("green", params.green, startup.params.green);
            field("blue", params.blue, startup.params.blue);
            if (FileKindNamed(call.input.fileKind))
                text += " file=<" + call.input.fileKind + ">";
            else if (FileBytes(call.input) != FileBytes(startup))
                text += " file=" + Quoted(FileBytes(call.input));
        }
        const OverlayRect& rect = call.input.rect;
        if ((call.ordinal == kSetAndShow || call.ordinal == kMoveAndShow) &&
            std::memcmp(&rect, &startup.rect, sizeof rect) != 0)
            text += " rect=" + std::to_string(rect.startX) + "," + std::to_string(rect.startY) + "," +
                    std::to_string(rect.endX) + "," + std::to_string(rect.endY);
        if (call.failure) text += " fail=" + call.failure->name + "," + std::to_string(call.failure->occurrence);
        text += "\n";
    }
    return text;
}

}  // namespace check
