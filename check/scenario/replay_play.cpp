#include "check/scenario/replay_play.h"

#include "check/replay_file.h"
#include "check/scenario/checked_library.h"
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
    for (const ReplayCall& call : replay.calls) {
        // On this call's stack, as the console holds them.
        const OverlaySurfaceParams params = call.call.input.params;
        const OverlayRect rect = call.call.input.rect;
        if (!library.Call(call.call.ordinal, &params, &rect))
            return SendFinding(
                {Check::kExports, call.call.ordinal, OrdinalLabel(call.call.ordinal), "is not exported"});
    }
    EndWithoutUnloading();
}

}  // namespace check
