// The table's scenarios run, each to its end, and their lines gathered: a scenario that resumes
// goes on after a call that crashed or hung; a run DravelCheck itself could not make is tried
// once more, then its check is not judged. Window-free: the program's runner starts child
// processes (child_run.h), the tests' is a fake.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "check/call_input.h"
#include "check/protocol.h"
#include "check/run/ending.h"
#include "check/run/progress.h"
#include "check/run/verdict.h"

namespace check {

// A scenario process run to its end.
struct ChildRun {
    std::vector<Line> lines{};  // each line it wrote that the protocol reads, but kFinished and kDying
    // How it ended; nullopt when it said it finished and then ended cleanly.
    std::optional<Ending> ending{};
    // DravelCheck's own failure: the process, or a pipe to it, could not be made; the system's
    // reason. Then it has no lines and no ending.
    std::optional<std::string> failure{};
};

// Told each kProgress line of a run as it comes.
using ProgressSink = std::function<void(const Line&)>;
using ChildRunner = std::function<ChildRun(const ScenarioOptions&, const ProgressSink&)>;

// A run, and once more when DravelCheck itself failed to make it: a busy machine may refuse one.
ChildRun RunRetried(const ChildRunner& run, const ScenarioOptions& options, const ProgressSink& progress = {});

// Check `check` not judged because DravelCheck could not make its scenario's run.
void AddNotStarted(Check check, const std::string& failure, Gathered& gathered);
// A DllMain that crashed or did not return is check 1's, whichever scenario met it: takes such a
// `finding` of a run of `check`'s scenario, and says whether it did.
bool TookDllMainFault(Check check, const Ending& ending, const Finding& finding, Gathered& gathered);

struct ScenarioRunner {
    ChildRunner run;
    // Shrinks `calls`, the last of which ended a run, into a reproducer named `name`; says what
    // became of it.
    std::function<std::string(const std::vector<PlannedCall>& calls, const std::string& name)> reproduce;
};

class ScenarioRuns {
public:
    // `progress` is told each phase and scenario as it runs.
    ScenarioRuns(const CheckOptions& options, const TestFiles& files, ScenarioRunner runner, Progress& progress)
        : m_options(options), m_files(files), m_runner(std::move(runner)), m_progress(progress)
    {
    }

    // Each row of `phase` in turn, every row's first scenario before any row's second: the
    // findings come in that order. What the gate found unloadable is not loaded again.
    void RunPhase(std::span<const CheckRow> rows, Phase phase, Gathered& gathered) const;

private:
    void RunToEnd(Check check, const Scenario& scenario, Gathered& gathered) const;
    // Check 9's scenario, from failure point to failure point (failure_run.cpp).
    void RunFailurePoints(Check check, const Scenario& scenario, Gathered& gathered,
                          const ProgressSink& progress) const;
    std::string Reproducer(const Scenario& scenario, std::uint32_t skip, std::uint32_t index) const;

    const CheckOptions& m_options;
    const TestFiles& m_files;
    ScenarioRunner m_runner;
    Progress& m_progress;
};

}  // namespace check
