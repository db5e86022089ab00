// What DravelCheck tells the person watching while it runs, on standard error: the library
// checked, each phase as it begins and the scenarios under way with their counts. None of it is
// part of the report, which goes to standard output through Report, so the two never mix on a
// console. Told from the thread beside the others too.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "check/checks.h"

namespace check {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void PhaseBegun(Phase phase) = 0;
    virtual void Begun(Phase phase, const char* scenario) = 0;
    // `done` of `total` of what the scenario counts ("calls", "cycles").
    virtual void Counted(const char* scenario, std::uint32_t done, std::uint32_t total, const std::string& what) = 0;
    virtual void Ended(const char* scenario) = 0;
    // Text of the report, written to standard output and flushed at once.
    virtual void Report(const std::string& text) = 0;
};

// Shows nothing (--quiet); the report is written all the same.
class NoProgress : public Progress {
public:
    void PhaseBegun(Phase) override {}
    void Begun(Phase, const char*) override {}
    void Counted(const char*, std::uint32_t, std::uint32_t, const std::string&) override {}
    void Ended(const char*) override {}
    void Report(const std::string& text) override;
};

// On a console, one line kept up to date in place; redirected, a line as each phase begins. Both
// start with the library's path, unless `reportShowsLibrary` (the report's first line names it) and
// the report goes to the same console.
std::unique_ptr<Progress> ProgressOnStandardError(const std::string& library, bool reportShowsLibrary);

}  // namespace check
