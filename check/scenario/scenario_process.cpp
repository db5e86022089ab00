#include "check/scenario/scenario_process.h"

#include <windows.h>

#include "check/scenario/checked_library.h"
#include "check/scenario/send.h"
#include "check/test_files.h"

namespace check {

bool Loaded(const CheckedLibrary& library, Check check)
{
    if (!library.IsLoaded()) SendNotLoaded(check, library.LoadError());
    return library.IsLoaded();
}

bool RunScenario(const ScenarioOptions& options)
{
    for (const CheckRow& row : kChecks)
        for (const Scenario& scenario : row.scenarios)
            if (scenario.name != nullptr && options.scenario == scenario.name) {
                CheckedLibrary library(options.library, options.skip);
                if (Loaded(library, row.id)) scenario.run(library, TestFiles(options.files), options);
                EndWithoutUnloading();
            }
    return false;
}

void EndWithoutUnloading()
{
    SendFinished();
    TerminateProcess(GetCurrentProcess(), 0);
    for (;;) Sleep(INFINITE);
}

}  // namespace check
