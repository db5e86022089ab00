#include "check/reports.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace check {

namespace {

constexpr const char* kVerdicts[] = {"PASS", "FAIL", "NOTE"};

const char* VerdictName(Verdict verdict)
{
    return kVerdicts[static_cast<int>(verdict)];
}

std::string Utf8(const std::string& text)
{
    const int wide = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring utf16(wide, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), utf16.data(), wide);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string utf8(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), wide, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

std::string JsonString(const std::string& text)
{
    std::string json = "\"";
    for (const char c : Utf8(text)) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

int Count(const std::vector<CheckResult>& results, Verdict verdict)
{
    return static_cast<int>(std::count_if(results.begin(), results.end(),
                                          [verdict](const CheckResult& result) { return result.verdict == verdict; }));
}

}  // namespace

bool AllPassed(const std::vector<CheckResult>& results)
{
    // A judged check that could not be judged here, or was not finished, is a note; a check not
    // finished is always a crash or hang that check 4 fails.
    return std::none_of(results.begin(), results.end(),
                        [](const CheckResult& result) { return result.verdict == Verdict::kFail; });
}

std::string TextReport(const CheckOptions& options, const std::vector<CheckResult>& results)
{
    std::string report = "DravelCheck " + options.library + "\n";
    int notes = Count(results, Verdict::kNote);
    for (const CheckResult& result : results) {
        const std::string check = std::to_string(Number(result.check)) + " " + RowOf(result.check).name + ": ";
        report += VerdictName(result.verdict) + (" " + check) + result.summary;
        if (result.findings.size() > 1)
            report += " (and " + std::to_string(result.findings.size() - 1) + " more, see --json)";
        report += "\n";
        for (const std::string& note : result.notes)
            report += VerdictName(Verdict::kNote) + (" " + check) + note + "\n";
        notes += static_cast<int>(result.notes.size());
    }
    report += std::to_string(Count(results, Verdict::kPass)) + " passed, " +
              std::to_string(Count(results, Verdict::kFail)) + " failed, " + std::to_string(notes) +
              (notes == 1 ? " note: " : " notes: ") +
              (AllPassed(results) ? "the library keeps the contract" : "the library does NOT keep the contract") + "\n";
    return report;
}

std::string JsonReport(const CheckOptions& options, const std::vector<CheckResult>& results)
{
    std::string json = "{\n  \"library\": " + JsonString(options.library) +
                       ",\n  \"seed\": " + std::to_string(options.seed) +
                       ",\n  \"samples\": " + std::to_string(options.samples) +
                       ",\n  \"passed\": " + (AllPassed(results) ? "true" : "false") + ",\n  \"checks\": [";
    for (const CheckResult& result : results) {
        json += std::string(&result == &results.front() ? "" : ",") +
                "\n    {\"check\": " + std::to_string(Number(result.check)) +
                ", \"name\": " + JsonString(RowOf(result.check).name) + ", \"result\": \"" +
                VerdictName(result.verdict) + "\", \"summary\": " + JsonString(result.summary) + ", \"findings\": [";
        for (const Finding& finding : result.findings)
            json += (&finding == &result.findings.front() ? "" : ", ") + JsonString(finding.Text());
        json += "], \"notes\": [";
        for (const std::string& note : result.notes)
            json += (&note == &result.notes.front() ? "" : ", ") + JsonString(note);
        json += "]}";
    }
    return json + "\n  ]\n}\n";
}

}  // namespace check
