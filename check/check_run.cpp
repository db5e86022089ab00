#include "check/check_run.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <thread>

#include "check/abnormal_end.h"
#include "check/call_inputs.h"
#include "check/checked_library.h"
#include "check/child_process.h"
#include "check/library_image.h"
#include "check/protocol.h"
#include "check/reproducer.h"
#include "check/scenarios.h"
#include "framework/module_path.h"

namespace check {

namespace {

constexpr int kEveryInputReturns = 4;
constexpr int kLifecycles = 5;
constexpr int kCost = 6;
constexpr const char* kNames[kChecks] = {"exports",
                                         "calling convention and registers",
                                         "records read-only and not kept",
                                         "every input returns",
                                         "lifecycles leak nothing",
                                         "per-call cost",
                                         "caller's state kept"};

struct Tally {
    int calls = 0;
    std::vector<std::string> findings;
    std::vector<std::string> measures;
    std::vector<std::string> notJudged;
    std::string cutShort;
};

void AddOnce(std::vector<std::string>& texts, const std::string& text)
{
    if (std::find(texts.begin(), texts.end(), text) == texts.end()) texts.push_back(text);
}

// What the scenarios of one lane told, by check, and the sweep's call times by ordinal.
struct Gathered {
    Tally tally[kChecks + 1];
    std::vector<double> micros[kOrdinals + 1];

    void Add(const Gathered& other)
    {
        for (int check = 1; check <= kChecks; ++check) {
            Tally& to = tally[check];
            const Tally& from = other.tally[check];
            to.calls += from.calls;
            for (const std::string& text : from.findings) AddOnce(to.findings, text);
            for (const std::string& text : from.notJudged) AddOnce(to.notJudged, text);
            to.measures.insert(to.measures.end(), from.measures.begin(), from.measures.end());
            if (to.cutShort.empty()) to.cutShort = from.cutShort;
        }
        for (int ordinal = 1; ordinal <= kOrdinals; ++ordinal)
            micros[ordinal].insert(micros[ordinal].end(), other.micros[ordinal].begin(), other.micros[ordinal].end());
    }
};

std::string ScenarioCommand(const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                            std::uint32_t skip)
{
    return Quoted(fw::ModuleFileName()) + " --scenario " + scenario.name + " --files " + Quoted(files.folder) + " --seed " +
           std::to_string(options.seed) + " --samples " + std::to_string(options.samples) + " --skip " +
           std::to_string(skip) + " " + Quoted(options.library);
}

// Why a scenario did not reach its end, blamed on the call in progress.
std::string CutShort(const ChildRun& run, const std::string& call, const std::string& ending)
{
    switch (run.end) {
        case ChildRun::End::kNotStarted:
            return "the scenario process did not start";
        case ChildRun::End::kSilent:
            return call + (run.openBoxes.empty() ? "" : " showed a message box \"" + run.openBoxes.front() + "\" and") +
                   " did not return within 5 s";
        case ChildRun::End::kExited:
            break;
    }
    return AbnormalEnd(run.exitCode, ending, call);
}

// How one run of a scenario ended.
struct RunEnd {
    bool finished = false;
    std::uint32_t callsDone = 0;
    int ordinal = 0;  // of the call in progress
    std::string fault;  // the call in progress and what it did, when not finished
};

RunEnd Gather(const Scenario& scenario, const ChildRun& run, Gathered& gathered)
{
    Tally(&tally)[kChecks + 1] = gathered.tally;
    std::string call = "starting the scenario", ending;
    RunEnd end;
    for (const std::string& text : run.lines) {
        const auto line = ParseLine(text);
        if (!line) continue;
        switch (line->kind) {
            case LineKind::kCall:
                call = line->text;
                end.ordinal = line->number;
                break;
            case LineKind::kDone:
                ++end.callsDone;
                ++tally[scenario.check].calls;
                if (std::string(scenario.name) == "sweep") gathered.micros[line->number].push_back(line->micros);
                break;
            case LineKind::kFinding:
                AddOnce(tally[line->number].findings, line->text);
                break;
            case LineKind::kMeasure:
                tally[line->number].measures.push_back(line->text);
                break;
            case LineKind::kEnd:
                end.finished = true;
                break;
            case LineKind::kEnding:
                ending = line->text;
                break;
            case LineKind::kNotJudged:
                AddOnce(tally[line->number].notJudged, line->text);
                break;
        }
    }
    if (end.finished) return end;
    end.fault = CutShort(run, call, ending);
    const std::string reason = std::string(scenario.name) + ": " + end.fault;
    AddOnce(tally[kEveryInputReturns].findings, reason);
    if (scenario.check != kEveryInputReturns) tally[scenario.check].cutShort = reason;
    return end;
}

// Shrinks the calls of a run cut short and names the reproducer in the run's finding.
void AddReproducer(const Scenario& scenario, const CheckOptions& options, const TestFiles& files, std::uint32_t skip,
                   const RunEnd& end, std::vector<std::string>& findings)
{
    const std::vector<PlannedCall> planned = PlannedCalls(scenario.name, files, options.seed, options.samples);
    const std::size_t last = skip + end.callsDone;
    if (last >= planned.size()) return;
    const std::vector<PlannedCall> calls(planned.begin() + skip, planned.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    const std::string name = std::string(scenario.name) + "-" + std::to_string(skip + 1);
    const auto reproducer = WriteReproducer(calls, options.library, files, options.reproFolder, name);
    const std::string reason = std::string(scenario.name) + ": " + end.fault;
    const auto finding = std::find(findings.begin(), findings.end(), reason);
    if (finding == findings.end()) return;
    *finding += reproducer ? " (reproducer: " + reproducer->path + ", " + std::to_string(reproducer->callsAfter) +
                                 " of " + std::to_string(reproducer->callsBefore) + " calls)"
                           : " (no reproducer: the calls replayed did not show it again)";
}

// Runs a scenario to its end. The inputs of check 4 go on after a call that crashed or hung, from
// the call after it, until the same fault comes back: one bad input must not hide the others.
void RunScenarioToEnd(const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                      Gathered& gathered)
{
    std::vector<std::string> faults;
    for (std::uint32_t skip = 0;;) {
        const ChildRun run = RunChild(ScenarioCommand(scenario, options, files, skip), kHangMs);
        const RunEnd end = Gather(scenario, run, gathered);
        if (end.finished || scenario.check != kEveryInputReturns || run.end == ChildRun::End::kNotStarted) return;
        // The same entry point failing the same way again tells nothing new.
        const std::string fault = std::to_string(end.ordinal) +
                                  (run.end == ChildRun::End::kSilent ? " hang" : " crash");
        if (std::find(faults.begin(), faults.end(), fault) != faults.end()) return;
        faults.push_back(fault);
        AddReproducer(scenario, options, files, skip, end, gathered.tally[kEveryInputReturns].findings);
        skip += end.callsDone + 1;
    }
}

std::string Milliseconds(double micros)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f ms", micros / 1000);
    return text;
}

std::string CostSummary(std::vector<double> (&micros)[kOrdinals + 1])
{
    std::string summary;
    for (int ordinal = 1; ordinal <= kOrdinals; ++ordinal) {
        std::vector<double>& times = micros[ordinal];
        if (!summary.empty()) summary += "; ";
        summary += OrdinalLabel(ordinal);
        if (times.empty()) {
            summary += " not called";
            continue;
        }
        std::sort(times.begin(), times.end());
        summary += " median " + Milliseconds(times[times.size() / 2]) + ", worst " + Milliseconds(times.back());
    }
    return summary;
}

std::string Joined(const std::vector<std::string>& texts)
{
    std::string joined;
    for (const std::string& text : texts) joined += (joined.empty() ? "" : "; ") + text;
    return joined;
}

std::string PassSummary(int check, const Tally& tally, const CheckOptions& options)
{
    const std::string calls = std::to_string(tally.calls) + " calls";
    switch (check) {
        case 1:
            return "ordinals 1-5 present";
        case 2:
            return calls + ": " + Joined(tally.measures) + " kept";
        case 3:
            return calls + ": no write, no read past a record, no touch after the call";
        case 4:
            return calls + " (sweep, and " + std::to_string(options.samples) + " random with seed " +
                   std::to_string(options.seed) + "): each returned a code; no crash, hang or message box";
        case 7:
            return calls + ": no message left for the caller; current directory, error mode, thread locale, "
                           "activation and focus kept";
        default:
            return Joined(tally.measures);
    }
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

constexpr const char* kVerdicts[] = {"PASS", "FAIL", "NOTE", "NOT JUDGED"};

// In UTF-8, with what XML reserves escaped; quoted as an attribute value when `attribute`.
std::string XmlText(const std::string& text, bool attribute)
{
    std::string xml = attribute ? "\"" : "";
    for (const char c : Utf8(text)) {
        switch (c) {
            case '&':
                xml += "&amp;";
                break;
            case '<':
                xml += "&lt;";
                break;
            case '>':
                xml += "&gt;";
                break;
            case '"':
                xml += attribute ? "&quot;" : "\"";
                break;
            default:
                // XML 1.0 has no other control characters than tab and line ends.
                xml += static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r' ? '?' : c;
        }
    }
    return attribute ? xml + "\"" : xml;
}

int Count(const std::vector<CheckResult>& results, Verdict verdict)
{
    return static_cast<int>(std::count_if(results.begin(), results.end(),
                                          [verdict](const CheckResult& result) { return result.verdict == verdict; }));
}

}  // namespace

std::vector<CheckResult> RunChecks(const CheckOptions& options)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const TestFiles files(std::string(temp) + "DravelCheck-" + std::to_string(GetCurrentProcessId()));
    files.Create();
    Gathered gathered;
    // The exports first: a library that does not load cannot be judged by the others.
    RunScenarioToEnd(kScenarios[0], options, files, gathered);
    const std::vector<std::string>& exports = gathered.tally[1].findings;
    const bool loads = exports.empty() || !IsLoadFailure(exports.front());
    if (loads) {
        // The lifecycles take longest; the other scenarios run beside them.
        Gathered lifecycles;
        std::thread beside([&] {
            for (const Scenario& scenario : kScenarios)
                if (scenario.check == kLifecycles) RunScenarioToEnd(scenario, options, files, lifecycles);
        });
        for (const Scenario& scenario : kScenarios)
            if (&scenario != &kScenarios[0] && scenario.check != kLifecycles)
                RunScenarioToEnd(scenario, options, files, gathered);
        beside.join();
        // In the order of the report: the cycles' counts before the random sample's.
        lifecycles.Add(gathered);
        gathered = std::move(lifecycles);
    }
    files.Remove();

    std::vector<CheckResult> results;
    for (int check = 1; check <= kChecks; ++check) {
        const Tally& t = gathered.tally[check];
        const char* name = kNames[check - 1];
        if (check == kCost)
            results.push_back({check, name, Verdict::kNote,
                               loads ? "over the sweep: " + CostSummary(gathered.micros) : "not measured", {}});
        else if (!t.findings.empty())
            results.push_back({check, name, Verdict::kFail, t.findings.front(), t.findings});
        else if (!loads)
            results.push_back({check, name, Verdict::kNotJudged, "the library does not load (check 1)", {}});
        else if (!t.notJudged.empty())
            results.push_back({check, name, Verdict::kNotJudged, Joined(t.notJudged), t.notJudged});
        else if (!t.cutShort.empty())
            results.push_back({check, name, Verdict::kNote, "not finished: " + t.cutShort + " (check 4)", {}});
        else
            results.push_back({check, name, Verdict::kPass, PassSummary(check, t, options), {}});
    }
    return results;
}

std::vector<CheckResult> NotJudged(const std::string& reason)
{
    std::vector<CheckResult> results;
    for (int check = 1; check <= kChecks; ++check)
        results.push_back({check, kNames[check - 1], Verdict::kNotJudged, reason, {}});
    return results;
}

std::string CheckList()
{
    std::string list;
    for (int check = 1; check <= kChecks; ++check)
        list += "  " + std::to_string(check) + " " + kNames[check - 1] + (check == kCost ? " (reported, not judged)\n" : "\n");
    return list;
}

int ExitCode(const std::vector<CheckResult>& results)
{
    if (Count(results, Verdict::kFail) > 0) return 1;
    return Count(results, Verdict::kNotJudged) > 0 ? 3 : 0;
}

std::string TextReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds)
{
    std::string report = "DravelCheck " + options.library + "\n";
    for (const CheckResult& result : results) {
        // "NOT JUDGED n: name: reason", so the reason stands after the first colon as elsewhere.
        report += result.verdict == Verdict::kNotJudged
                      ? std::string(kVerdicts[static_cast<int>(result.verdict)]) + " " + std::to_string(result.number) +
                            ": " + result.name + ": " + result.summary
                      : std::string(kVerdicts[static_cast<int>(result.verdict)]) + " " + std::to_string(result.number) +
                            " " + result.name + ": " + result.summary;
        if (result.findings.size() > 1 && result.verdict == Verdict::kFail)
            report += " (and " + std::to_string(result.findings.size() - 1) + " more, see --json)";
        report += "\n";
    }
    const int notes = Count(results, Verdict::kNote);
    constexpr const char* kOutcomes[] = {"the library keeps the contract", "the library does NOT keep the contract",
                                         "", "the library could not be judged in full"};
    char wall[32];
    std::snprintf(wall, sizeof wall, " (%.1f s)", seconds);
    report += std::to_string(Count(results, Verdict::kPass)) + " passed, " +
              std::to_string(Count(results, Verdict::kFail)) + " failed, " +
              std::to_string(Count(results, Verdict::kNotJudged)) + " not judged, " + std::to_string(notes) +
              (notes == 1 ? " note: " : " notes: ") + kOutcomes[ExitCode(results)] + wall + "\n";
    return report;
}

std::string JsonReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds)
{
    char wall[32];
    std::snprintf(wall, sizeof wall, "%.1f", seconds);
    std::string json = "{\n  \"library\": " + JsonString(options.library) +
                       ",\n  \"seed\": " + std::to_string(options.seed) +
                       ",\n  \"samples\": " + std::to_string(options.samples) +
                       ",\n  \"passed\": " + (ExitCode(results) == 0 ? "true" : "false") +
                       ",\n  \"exitCode\": " + std::to_string(ExitCode(results)) + ",\n  \"seconds\": " + wall +
                       ",\n  \"checks\": [";
    for (const CheckResult& result : results) {
        json += std::string(&result == &results.front() ? "" : ",") +
                "\n    {\"check\": " + std::to_string(result.number) + ", \"name\": " + JsonString(result.name) +
                ", \"result\": \"" + kVerdicts[static_cast<int>(result.verdict)] +
                "\", \"summary\": " + JsonString(result.summary) + ", \"findings\": [";
        for (const std::string& finding : result.findings)
            json += (&finding == &result.findings.front() ? "" : ", ") + JsonString(finding);
        json += "]}";
    }
    return json + "\n  ]\n}\n";
}

std::string JunitReport(const CheckOptions& options, const std::vector<CheckResult>& results, double seconds)
{
    char wall[32];
    std::snprintf(wall, sizeof wall, "%.1f", seconds);
    const std::string counts = " tests=\"" + std::to_string(results.size()) + "\" failures=\"" +
                               std::to_string(Count(results, Verdict::kFail)) + "\" skipped=\"" +
                               std::to_string(Count(results, Verdict::kNotJudged)) + "\" time=\"" + wall + "\"";
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"DravelCheck\"" + counts +
                      ">\n  <testsuite name=" + XmlText(options.library, true) + counts + ">\n";
    for (const CheckResult& result : results) {
        xml += "    <testcase classname=\"DravelCheck\" name=" +
               XmlText(std::to_string(result.number) + " " + result.name, true) + ">\n";
        if (result.verdict == Verdict::kFail) {
            std::string text;
            for (const std::string& finding : result.findings) text += finding + "\n";
            xml += "      <failure message=" + XmlText(result.summary, true) + ">" + XmlText(text, false) +
                   "</failure>\n";
        } else if (result.verdict == Verdict::kNotJudged) {
            xml += "      <skipped message=" + XmlText("NOT JUDGED: " + result.summary, true) + "/>\n";
        } else {
            xml += "      <system-out>" + XmlText(result.summary, false) + "</system-out>\n";
        }
        xml += "    </testcase>\n";
    }
    return xml + "  </testsuite>\n</testsuites>\n";
}

}  // namespace check
