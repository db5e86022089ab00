#include "check/check_run.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <utility>

#include "check/call_inputs.h"
#include "check/checked_library.h"
#include "check/child_process.h"
#include "check/protocol.h"
#include "framework/module_path.h"

namespace check {

namespace {

// A call that takes longer than this is taken for hung.
constexpr DWORD kHangMs = 5000;

// What the scenarios told each check, and the times of the timed calls.
struct Gathered {
    std::map<Check, Tally> tallies;
    CallTimes times;
};

void AddOnce(std::vector<Finding>& findings, const Finding& finding)
{
    if (std::find(findings.begin(), findings.end(), finding) == findings.end()) findings.push_back(finding);
}

std::string ScenarioCommand(const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                            std::uint32_t skip)
{
    return Quoted(fw::ModuleFileName()) + " --scenario " + scenario.name + " --files " + Quoted(files.folder) +
           " --seed " + std::to_string(options.seed) + " --samples " + std::to_string(options.samples) + " --skip " +
           std::to_string(skip) + (options.pictures.empty() ? "" : " --pictures " + Quoted(options.pictures)) + " " +
           Quoted(options.library);
}

// What ended a scenario before its end, blamed on the call in progress.
std::string CutShortOutcome(const ChildRun& run)
{
    char code[32];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(run.exitCode));
    switch (run.end) {
        case ChildRun::End::kNotStarted:
            return "the scenario process did not start";
        case ChildRun::End::kSilent:
            return (run.openBoxes.empty() ? "" : "showed a message box \"" + run.openBoxes.front() + "\" and ") +
                   std::string("did not return within 5 s");
        case ChildRun::End::kExited:
            break;
    }
    if (run.exitCode >= 0xC0000000) return std::string("crashed (exception ") + code + ")";
    return "ended the process (exit code " + std::to_string(run.exitCode) + ")";
}

// How one run of a scenario ended.
struct RunEnd {
    bool finished = false;
    std::uint32_t callsDone = 0;
    Finding fault;  // the call in progress and what it did, when not finished
};

RunEnd Gather(Check check, const Scenario& scenario, const ChildRun& run, Gathered& gathered)
{
    RunEnd end;
    end.fault = {kFaultsCheck, kNoOrdinal, "starting the scenario", "", scenario.name};
    for (const std::string& text : run.lines) {
        const auto line = ParseLine(text);
        if (!line) continue;
        switch (line->kind) {
            case LineKind::kCall:
                end.fault.ordinal = line->ordinal;
                end.fault.call = line->text;
                break;
            case LineKind::kDone:
                ++end.callsDone;
                ++gathered.tallies[check].calls;
                if (scenario.timed) gathered.times[line->ordinal].push_back(line->micros);
                break;
            case LineKind::kFinding:
                AddOnce(gathered.tallies[line->finding.check].findings, line->finding);
                break;
            case LineKind::kMeasure:
                gathered.tallies[line->check].measures.push_back(line->text);
                break;
            case LineKind::kNote:
                gathered.tallies[line->check].notes.push_back(line->text);
                break;
            case LineKind::kNotJudged:
                gathered.tallies[line->check].notJudged = line->text;
                break;
            case LineKind::kEnd:
                end.finished = true;
                break;
        }
    }
    if (end.finished) return end;
    if (run.end == ChildRun::End::kNotStarted) end.fault.call.clear();
    end.fault.outcome = CutShortOutcome(run);
    AddOnce(gathered.tallies[kFaultsCheck].findings, end.fault);
    if (check != kFaultsCheck) gathered.tallies[check].cutShort = end.fault;
    return end;
}

// Runs a scenario to its end; one that resumes goes on after a call that crashed or hung, from the
// call after it.
void RunScenarioToEnd(Check check, const Scenario& scenario, const CheckOptions& options, const TestFiles& files,
                      Gathered& gathered)
{
    // The same entry point failing the same way again tells nothing new.
    std::vector<std::pair<int, ChildRun::End>> faults;
    for (std::uint32_t skip = 0;;) {
        const ChildRun run = RunChild(ScenarioCommand(scenario, options, files, skip), kHangMs);
        const RunEnd end = Gather(check, scenario, run, gathered);
        if (end.finished || !scenario.resumes || run.end == ChildRun::End::kNotStarted) return;
        const std::pair fault{end.fault.ordinal, run.end};
        if (std::find(faults.begin(), faults.end(), fault) != faults.end()) return;
        faults.push_back(fault);
        skip += end.callsDone + 1;
    }
}

}  // namespace

std::vector<CheckResult> RunChecks(const CheckOptions& options)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const TestFiles files(std::string(temp) + "DravelCheck-" + std::to_string(GetCurrentProcessId()));
    files.Create();
    Gathered gathered;
    // Every check's first scenario runs before any second one: the findings come in that order.
    for (std::size_t round = 0; round < kMostScenarios; ++round)
        for (const CheckRow& row : kChecks)
            if (const Scenario& scenario = row.scenarios[round]; scenario.name != nullptr)
                RunScenarioToEnd(row.id, scenario, options, files, gathered);
    files.Remove();

    std::vector<CheckResult> results;
    for (const CheckRow& row : kChecks) {
        const Tally& tally = gathered.tallies[row.id];
        const std::string summary = row.summary({tally, options, gathered.times});
        if (row.role == Role::kNote)
            results.push_back({row.id, Verdict::kNote, summary, {}, tally.notes});
        else if (!tally.findings.empty())
            results.push_back({row.id, Verdict::kFail, tally.findings.front().Text(), tally.findings, tally.notes});
        else if (tally.cutShort)
            results.push_back(
                {row.id,
                 Verdict::kNote,
                 "not finished: " + tally.cutShort->Text() + " (check " + std::to_string(Number(kFaultsCheck)) + ")",
                 {},
                 tally.notes});
        else if (!tally.notJudged.empty())
            results.push_back({row.id, Verdict::kNote, "not judged: " + tally.notJudged, {}, tally.notes});
        else
            results.push_back({row.id, Verdict::kPass, summary, {}, tally.notes});
    }
    return results;
}

}  // namespace check
