#include "check/run/verdict.h"

#include <algorithm>

#include "check/run/ending.h"

namespace check {

namespace {

template <typename T>
void AddOnce(std::vector<T>& list, const T& item)
{
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

CheckResult Judge(const CheckRow& row, const Tally& tally, const std::string& summary, bool loads)
{
    if (row.role == Role::kNote) return {row.id, Verdict::kNote, loads ? summary : "not measured", {}, tally.notes};
    if (!tally.findings.empty())
        return {row.id, Verdict::kFail, tally.findings.front().Text(), tally.findings, tally.notes};
    if (!loads) return {row.id, Verdict::kNotJudged, "the library does not load (check 1)", {}, {}};
    if (!tally.notJudged.empty()) return {row.id, Verdict::kNotJudged, Joined(tally.notJudged), {}, tally.notes};
    if (tally.cutShort)
        return {row.id,
                Verdict::kNote,
                "not finished: " + tally.cutShort->Text() + " (check " + std::to_string(Number(tally.cutShort->check)) +
                    ")",
                {},
                tally.notes};
    return {row.id, Verdict::kPass, summary, {}, tally.notes};
}

}  // namespace

void Gathered::AddFinding(const Finding& finding)
{
    AddOnce(tallies[finding.check].findings, finding);
}

void Gathered::AddNotJudged(Check check, const std::string& reason)
{
    AddOnce(tallies[check].notJudged, reason);
}

void Gathered::AddCutShort(Check check, const Finding& why)
{
    if (!tallies[check].cutShort) tallies[check].cutShort = why;
}

void Gathered::AddNotLoaded(Check check, std::uint32_t error)
{
    tallies[check].loaded = false;
    AddFinding({check, kNoOrdinal, "", NotLoadingText(error)});
}

void Gathered::Add(const Gathered& other)
{
    for (const auto& [check, from] : other.tallies) {
        for (const Finding& finding : from.findings) AddFinding(finding);
        for (const std::string& reason : from.notJudged) AddNotJudged(check, reason);
        if (from.cutShort) AddCutShort(check, *from.cutShort);
        Tally& to = tallies[check];
        to.calls += from.calls;
        to.notes.insert(to.notes.end(), from.notes.begin(), from.notes.end());
        to.measures.insert(to.measures.end(), from.measures.begin(), from.measures.end());
        to.loaded = to.loaded && from.loaded;
    }
    for (const auto& [ordinal, micros] : other.times)
        times[ordinal].insert(times[ordinal].end(), micros.begin(), micros.end());
}

bool Gathered::Loads(std::span<const CheckRow> rows) const
{
    for (const CheckRow& row : rows)
        if (const auto found = tallies.find(row.id);
            row.phase == Phase::kGate && found != tallies.end() && !found->second.loaded)
            return false;
    return true;
}

std::vector<CheckResult> Verdicts(std::span<const CheckRow> rows, const Gathered& gathered, const CheckOptions& options,
                                  bool loads)
{
    std::vector<CheckResult> results;
    for (const CheckRow& row : rows) {
        const auto found = gathered.tallies.find(row.id);
        const Tally tally = found == gathered.tallies.end() ? Tally{} : found->second;
        results.push_back(Judge(row, tally, row.summary({tally, options, gathered.times}), loads));
    }
    return results;
}

std::vector<CheckResult> NotJudged(std::span<const CheckRow> rows, const std::string& reason)
{
    std::vector<CheckResult> results;
    for (const CheckRow& row : rows) results.push_back({row.id, Verdict::kNotJudged, reason, {}, {}});
    return results;
}

int Count(const std::vector<CheckResult>& results, Verdict verdict)
{
    return static_cast<int>(std::count_if(results.begin(), results.end(),
                                          [verdict](const CheckResult& result) { return result.verdict == verdict; }));
}

int ExitCode(const std::vector<CheckResult>& results)
{
    if (Count(results, Verdict::kFail) > 0) return 1;
    return Count(results, Verdict::kNotJudged) > 0 ? 3 : 0;
}

}  // namespace check
