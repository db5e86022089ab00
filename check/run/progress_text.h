// The texts DravelCheck shows on standard error while it runs: a line as each phase begins, and
// the scenarios under way with their counts, kept on one line of a console.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "check/checks.h"

namespace check {

struct UnderWay {
    Phase phase;
    const char* scenario;
    std::uint32_t done = 0;
    std::uint32_t total = 0;  // 0 until the scenario tells its count
    std::string counted{};    // what it counts: "calls", "cycles"
};

// "DravelCheck: in turn: abi, records, sweep, random": the phase as it begins, with its scenarios.
std::string PhaseLine(std::span<const CheckRow> rows, Phase phase);

// "DravelCheck: in turn: sweep 812/1405 calls; beside: cycles 400/1000 cycles", cut to `width`
// bytes; empty when nothing is under way.
std::string StatusLine(const std::vector<UnderWay>& underWay, std::size_t width);

}  // namespace check
