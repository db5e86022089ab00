#include "check/run/reports.h"

#include <cstdio>

#include "check/code_pages.h"
#include "check/run/escapes.h"

namespace check {

namespace {

constexpr const char* kVerdicts[] = {"PASS", "FAIL", "NOTE", "NOT JUDGED"};

const char* VerdictName(Verdict verdict)
{
    return kVerdicts[static_cast<int>(verdict)];
}

std::string Json(const std::string& text)
{
    return JsonString(Utf8(text));
}

std::string Xml(const std::string& text, bool attribute)
{
    return XmlText(Utf8(text), attribute);
}

std::string Seconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", seconds);
    return text;
}

}  // namespace

std::string TextHeader(const CheckOptions& options)
{
    return "DravelCheck " + options.library + "\n";
}

std::string TextReport(const std::vector<CheckResult>& results, double seconds)
{
    std::string report;
    int notes = Count(results, Verdict::kNote);
    for (const CheckResult& result : results) {
        const std::string number = std::to_string(Number(result.check));
        const std::string check = number + " " + RowOf(result.check).name + ": ";
        // "NOT JUDGED n: name: why", the number before the first colon as in the other lines.
        report += std::string(VerdictName(result.verdict)) + " " +
                  (result.verdict == Verdict::kNotJudged ? number + ": " + RowOf(result.check).name + ": " : check) +
                  result.summary;
        if (result.findings.size() > 1)
            report += " (and " + std::to_string(result.findings.size() - 1) + " more, see --json)";
        report += "\n";
        for (const std::string& note : result.notes)
            report += VerdictName(Verdict::kNote) + (" " + check) + note + "\n";
        notes += static_cast<int>(result.notes.size());
    }
    constexpr const char* kOutcomes[] = {"the library keeps the contract", "the library does NOT keep the contract", "",
                                         "the library could not be judged in full"};
    report += std::to_string(Count(results, Verdict::kPass)) + " passed, " +
              std::to_string(Count(results, Verdict::kFail)) + " failed, " +
              std::to_string(Count(results, Verdict::kNotJudged)) + " not judged, " + std::to_string(notes) +
              (notes == 1 ? " note: " : " notes: ") + kOutcomes[ExitCode(results)] + " (" + Seconds(seconds) + " s)\n";
    return report;
}

std::string JsonReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds)
{
    std::string json = "{\n  \"library\": " + Json(options.library) + ",\n  \"seed\": " + std::to_string(options.seed) +
                       ",\n  \"samples\": " + std::to_string(options.samples) +
                       ",\n  \"passed\": " + (ExitCode(results) == 0 ? "true" : "false") +
                       ",\n  \"exitCode\": " + std::to_string(ExitCode(results)) +
                       ",\n  \"seconds\": " + Seconds(seconds) + ",\n  \"checks\": [";
    for (const CheckResult& result : results) {
        json += std::string(&result == &results.front() ? "" : ",") +
                "\n    {\"check\": " + std::to_string(Number(result.check)) +
                ", \"name\": " + Json(RowOf(result.check).name) + ", \"result\": \"" + VerdictName(result.verdict) +
                "\", \"summary\": " + Json(result.summary) + ", \"findings\": [";
        for (const Finding& finding : result.findings)
            json += (&finding == &result.findings.front() ? "" : ", ") + Json(finding.Text());
        json += "], \"notes\": [";
        for (const std::string& note : result.notes) json += (&note == &result.notes.front() ? "" : ", ") + Json(note);
        json += "]}";
    }
    return json + "\n  ]\n}\n";
}

std::string JunitReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds)
{
    const std::string counts = " tests=\"" + std::to_string(results.size()) + "\" failures=\"" +
                               std::to_string(Count(results, Verdict::kFail)) + "\" skipped=\"" +
                               std::to_string(Count(results, Verdict::kNotJudged)) + "\" time=\"" + Seconds(seconds) +
                               "\"";
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"DravelCheck\"" + counts +
                      ">\n  <testsuite name=" + Xml(options.library, true) + counts + ">\n";
    for (const CheckResult& result : results) {
        xml += "    <testcase classname=\"DravelCheck\" name=" +
               Xml(std::to_string(Number(result.check)) + " " + RowOf(result.check).name, true) + ">\n";
        if (result.verdict == Verdict::kFail) {
            std::string text;
            for (const Finding& finding : result.findings) text += finding.Text() + "\n";
            xml += "      <failure message=" + Xml(result.summary, true) + ">" + Xml(text, false) + "</failure>\n";
        } else if (result.verdict == Verdict::kNotJudged) {
            xml += "      <skipped message=" + Xml("NOT JUDGED: " + result.summary, true) + "/>\n";
        } else {
            xml += "      <system-out>" + Xml(result.summary, false) + "</system-out>\n";
        }
        xml += "    </testcase>\n";
    }
    return xml + "  </testsuite>\n</testsuites>\n";
}

std::string CheckList()
{
    std::string list;
    for (const CheckRow& row : kChecks)
        list += "  " + std::to_string(Number(row.id)) + " " + row.name +
                (row.role == Role::kNote ? " (reported, not judged)\n" : "\n");
    return list;
}

}  // namespace check
