#include "check/protocol.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "check/numbers.h"
#include "check/ordinals.h"

namespace check {

namespace {

// Between a finding's call and its outcome; the call is our own text and never holds one.
constexpr char kCallEnd = '\t';

struct Flag {
    const char* name;
    std::string ScenarioOptions::*text = nullptr;
    std::uint32_t ScenarioOptions::*number = nullptr;
};
constexpr Flag kFlags[] = {
    {"--scenario", &ScenarioOptions::scenario},  {"--files", &ScenarioOptions::files},
    {"--seed", nullptr, &ScenarioOptions::seed}, {"--samples", nullptr, &ScenarioOptions::samples},
    {"--skip", nullptr, &ScenarioOptions::skip}, {"--from", nullptr, &ScenarioOptions::from},
    {"--pictures", &ScenarioOptions::pictures},
    {"--replay", &ScenarioOptions::replay},
};

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

// Reads "NUMBER " (unsigned) from `rest` into `number` and moves past it; false without one.
bool TakeCount(const char*& rest, std::uint32_t& number)
{
    char* end = nullptr;
    number = static_cast<std::uint32_t>(std::strtoul(rest, &end, 10));
    if (end == rest || *end != ' ') return false;
    rest = end + 1;
    return true;
}

std::string Body(const Line& line)
{
    switch (line.kind) {
        case LineKind::kCall:
            return std::string(kStepNames[static_cast<int>(line.step)]) + " " + std::to_string(line.ordinal) + " " +
                   std::to_string(line.index) + " " + line.text;
        case LineKind::kCounted:
        case LineKind::kPoint:
        case LineKind::kFailing:
            return std::to_string(line.ordinal) + " " + std::to_string(line.index) + " " + line.text;
        case LineKind::kNotLoaded:
            return std::to_string(Number(line.check)) + " " + std::to_string(line.code);
        case LineKind::kReturned: {
            char text[64];
            std::snprintf(text, sizeof text, "%d %08x %.1f", line.ordinal, static_cast<unsigned>(line.code),
                          line.micros);
            return text;
        }
        case LineKind::kFinding:
            return std::to_string(Number(line.finding.check)) + " " + std::to_string(line.finding.ordinal) + " " +
                   line.finding.call + kCallEnd + line.finding.outcome;
        case LineKind::kMeasure:
        case LineKind::kNote:
        case LineKind::kNotJudged:
            return std::to_string(Number(line.check)) + " " + line.text;
        case LineKind::kDying:
            return kDyingNames[static_cast<int>(line.dying)];
        case LineKind::kProgress:
            return std::to_string(line.index) + " " + std::to_string(line.total) + " " + line.text;
        case LineKind::kFinished:
            break;
    }
    return "";
}

// Reads "NAME " of one of `names` from `rest` and moves past it; its index, or -1.
template <std::size_t N>
int TakeName(const char*& rest, const char* const (&names)[N])
{
    for (std::size_t i = 0; i < N; ++i) {
        const std::size_t length = std::strlen(names[i]);
        if (std::strncmp(rest, names[i], length) == 0 && rest[length] == ' ') {
            rest += length + 1;
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Fills `line` from what follows its kind; false when it cannot be read.
bool ReadBody(const char* rest, Line& line)
{
    switch (line.kind) {
        case LineKind::kCall:
        case LineKind::kCounted:
        case LineKind::kPoint:
        case LineKind::kFailing:
        case LineKind::kReturned: {
            if (line.kind == LineKind::kCall) {
                const int step = TakeName(rest, kStepNames);
                if (step < 0) return false;
                line.step = static_cast<Step>(step);
            }
            const long ordinal = TakeNumber(rest);
            if (!IsOrdinal(ordinal)) return false;
            line.ordinal = static_cast<int>(ordinal);
            if (line.kind != LineKind::kReturned) {
                if (!TakeCount(rest, line.index)) return false;
                line.text = rest;
            } else {
                char* end = nullptr;
                line.code = static_cast<std::uint32_t>(std::strtoul(rest, &end, 16));
                line.micros = std::strtod(end, &end);
            }
            return true;
        }
        case LineKind::kFinding: {
            const auto check = CheckOfNumber(TakeNumber(rest));
            const long ordinal = TakeNumber(rest);
            const std::string both = rest;
            const std::size_t callEnd = both.find(kCallEnd);
            if (!check || !IsOrdinal(ordinal) || callEnd == std::string::npos) return false;
            line.finding = {*check, static_cast<int>(ordinal), both.substr(0, callEnd), both.substr(callEnd + 1)};
            return true;
        }
        case LineKind::kMeasure:
        case LineKind::kNote:
        case LineKind::kNotJudged: {
            const auto check = CheckOfNumber(TakeNumber(rest));
            if (!check) return false;
            line.check = *check;
            line.text = rest;
            return true;
        }
        case LineKind::kNotLoaded: {
            const auto check = CheckOfNumber(TakeNumber(rest));
            char* end = nullptr;
            line.code = static_cast<std::uint32_t>(std::strtoul(rest, &end, 10));
            if (!check || end == rest || *end != '\0') return false;
            line.check = *check;
            return true;
        }
        case LineKind::kDying:
            for (int dying = 0; dying < static_cast<int>(std::size(kDyingNames)); ++dying)
                if (std::string(rest) == kDyingNames[dying]) {
                    line.dying = static_cast<Dying>(dying);
                    return true;
                }
            return false;
        case LineKind::kProgress:
            if (!TakeCount(rest, line.index) || !TakeCount(rest, line.total)) return false;
            line.text = rest;
            return true;
        case LineKind::kFinished:
            return true;
    }
    return false;
}

}  // namespace

std::vector<std::string> ScenarioOptions::ToCommandLine() const
{
    std::vector<std::string> arguments;
    for (const Flag& flag : kFlags) {
        if (flag.text != nullptr && !(this->*flag.text).empty())
            arguments.insert(arguments.end(), {flag.name, this->*flag.text});
        else if (flag.number != nullptr)
            arguments.insert(arguments.end(), {flag.name, std::to_string(this->*flag.number)});
    }
    arguments.push_back(library);
    return arguments;
}

std::optional<ScenarioOptions> ScenarioOptions::Parse(std::span<const std::string> arguments)
{
    if (arguments.empty() || arguments.front() != "--scenario") return std::nullopt;
    ScenarioOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const Flag* flag = nullptr;
        for (const Flag& known : kFlags)
            if (arguments[i] == known.name) flag = &known;
        if (flag == nullptr) {
            if (!options.library.empty() || arguments[i].starts_with("--")) return std::nullopt;
            options.library = arguments[i];
            continue;
        }
        if (++i == arguments.size()) return std::nullopt;
        if (flag->text != nullptr) {
            options.*flag->text = arguments[i];
        } else if (const auto number = DecimalNumber(arguments[i])) {
            options.*flag->number = *number;
        } else {
            return std::nullopt;
        }
    }
    if (options.scenario.empty() || options.files.empty() || options.library.empty()) return std::nullopt;
    return options;
}

std::string FormatLine(const Line& line)
{
    std::string text = std::string("@") + kLineKindNames[static_cast<int>(line.kind)] + " " + Body(line);
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

std::optional<Line> ParseLine(const std::string& text)
{
    for (int kind = 0; kind < static_cast<int>(std::size(kLineKindNames)); ++kind) {
        const std::string tag = std::string("@") + kLineKindNames[kind] + " ";
        if (text.compare(0, tag.size(), tag) != 0) continue;
        Line line;
        line.kind = static_cast<LineKind>(kind);
        if (!ReadBody(text.c_str() + tag.size(), line)) return std::nullopt;
        return line;
    }
    return std::nullopt;
}

}  // namespace check
