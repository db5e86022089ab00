#include "check/run/progress_text.h"

namespace check {

namespace {

constexpr const char* kPhaseNames[] = {"gate", "beside", "in turn", "alone"};
static_assert(std::size(kPhaseNames) == static_cast<std::size_t>(Phase::kAlone) + 1, "a name for each phase");
constexpr char kTool[] = "DravelCheck: ";

const char* PhaseName(Phase phase)
{
    return kPhaseNames[static_cast<int>(phase)];
}

}  // namespace

std::string PhaseLine(std::span<const CheckRow> rows, Phase phase)
{
    std::string scenarios;
    for (std::size_t round = 0; round < kMostScenarios; ++round)
        for (const CheckRow& row : rows)
            if (const char* name = row.scenarios[round].name; name != nullptr && row.phase == phase)
                scenarios += (scenarios.empty() ? "" : ", ") + std::string(name);
    return kTool + std::string(PhaseName(phase)) + ": " + scenarios;
}

std::string StatusLine(const std::vector<UnderWay>& underWay, std::size_t width)
{
    if (underWay.empty()) return "";
    std::string line = kTool;
    for (const UnderWay& one : underWay) {
        line += std::string(&one == &underWay.front() ? "" : "; ") + PhaseName(one.phase) + ": " + one.scenario;
        if (one.total > 0)
            line += " " + std::to_string(one.done) + "/" + std::to_string(one.total) + " " + one.counted;
    }
    return line.substr(0, width);
}

}  // namespace check
