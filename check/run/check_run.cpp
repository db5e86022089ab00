#include "check/run/check_run.h"

#include <windows.h>


#include "check/run/child_run.h"
#include "check/run/reproducer.h"
#include "check/run/scenario_run.h"
#include "check/run/test_folder.h"

namespace check {

namespace {

// The kBeside phase on a thread of its own: the platform's thread, as the C++ one would bring a
// threads library into the program for this one use.
struct BesideRun {
    const ScenarioRuns& runs;
    Gathered gathered;
};

DWORD WINAPI RunBeside(void* parameter)
{
    BesideRun& run = *static_cast<BesideRun*>(parameter);
    run.runs.RunPhase(kChecks, Phase::kBeside, run.gathered);
    return 0;
}

}  // namespace

std::vector<CheckResult> RunChecks(const CheckOptions& options, Progress& progress)
{
    const TestFiles files = TempTestFiles("DravelCheck-");
    // A busy machine may refuse a file once; what it refuses twice is DravelCheck's failure.
    std::optional<std::string> unmade = MakeTestFiles(files);
    if (unmade) unmade = MakeTestFiles(files);
    if (unmade) {
        RemoveTestFiles(files);
        return NotJudged(kChecks, *unmade);
    }
    const ScenarioRuns runs(options, files,
                            {RunChild,
                             [&](const std::vector<PlannedCall>& calls, const std::string& name) {
                                 return WriteReproducer(calls, options.library, files, options.reproFolder, name);
                             }},
                            progress);
    Gathered gathered;
    runs.RunPhase(kChecks, Phase::kGate, gathered);
    const bool loads = gathered.Loads(kChecks);
    if (loads) {
        BesideRun beside{runs, {}};
        const HANDLE thread = CreateThread(nullptr, 0, RunBeside, &beside, 0, nullptr);
        if (thread == nullptr) RunBeside(&beside);
        Gathered inTurn;
        runs.RunPhase(kChecks, Phase::kInTurn, inTurn);
        if (thread != nullptr) {
            WaitForSingleObject(thread, INFINITE);
            CloseHandle(thread);
        }
        runs.RunPhase(kChecks, Phase::kAlone, inTurn);
        // What ran beside first, as its checks read their lines.
        gathered.Add(beside.gathered);
        gathered.Add(inTurn);
    }
    RemoveTestFiles(files);
    return Verdicts(kChecks, gathered, options, loads);
}

}  // namespace check
