#include "check/scenario/replay_play.h"

#include "check/replay_file.h"
#include "check/scenario/checked_library.h"
#include "check/scenario/failing_calls.h"
#include "check/scenario/scenario_process.h"
#include "check/scenario/send.h"
#include "check/text_files.h"

namespace check {

void PlayReplay(const ScenarioOptions& options)
{
    const TestFiles files(options.files);
    const Replay replay = ParseReplay(ReadText(options.replay).value_or(""), files);
    CheckedLibrary library(options.library);
    if (!Loaded(library, Check::kExports)) return;
    // As check 9 plays its failure points: a reproducer of one names the call to fail, and any
    // misuse of the library's own blocks is named where it happens.
    WrapAcquiringCalls(library.Module());
    for (const ReplayCall& call : replay.calls) {
        // On this call's stack, as the console holds them.
        const OverlaySurfaceParams params = call.call.input.params;
        const OverlayRect rect = call.call.input.rect;
        if (call.call.failure) ArmFailure(*call.call.failure);
        const auto outcome = library.Call(call.call.ordinal, &params, &rect);
        Disarm();
        if (!outcome)
            return SendFinding(
                {Check::kExports, call.call.ordinal, OrdinalLabel(call.call.ordinal), "is not exported"});
    }
    EndWithoutUnloading();
}

}  // namespace check
