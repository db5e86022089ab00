#include "check/run/verdict.h"

#include <algorithm>

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
                "not finished: " + tally.cutShort->Text() + " (check " + std::to_string(Number(kFaultsCheck)) + ")",
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

void Gathered::Add(const Gathered& other)
{
    for (const auto& [check, from] : other.tallies) {
        Tally& to = tallies[check];
        to.calls += from.calls;
        for (const Finding& finding : from.findings) AddOnce(to.findings, finding);
        for (const std::string& reason : from.notJudged) AddOnce(to.notJudged, reason);
        to.notes.insert(to.notes.end(), from.notes.begin(), from.notes.end());
        to.measures.insert(to.measures.end(), from.measures.begin(), from.measures.end());
        if (!to.cutShort) to.cutShort = from.cutShort;
    }
    for (const auto& [ordinal, micros] : other.times)
        times[ordinal].insert(times[ordinal].end(), micros.begin(), micros.end());
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

}  // namespace check
