#include "check/run/child_run.h"

#include "platform/module_path.h"
#include "platform/system_error.h"
#include "process/child.h"
#include "process/dialog_boxes.h"

namespace check {

ChildRun RunChild(const ScenarioOptions& options, const ProgressSink& progress)
{
    ChildRun run;
    process::Child child;
    if (!child.Start(process::CommandLine(platform::ModuleFileName(), options.ToCommandLine()), {.errors = true})) {
        run.failure = platform::SystemErrorText(child.StartError());
        return run;
    }
    bool finished = false;
    bool inCall = false;  // a call or step had started and not returned
    Ending ending;
    for (std::string line;;) {
        // Only a call is held to the hang limit: between calls the scenario may count for longer.
        switch (child.ReadLine(line, inCall ? kHangMs : kBetweenCallsMs)) {
            case process::Child::Read::kLine:
                if (auto said = ParseLine(line)) {
                    if (said->kind == LineKind::kCall || said->kind == LineKind::kReturned)
                        inCall = said->kind == LineKind::kCall;
                    if (said->kind == LineKind::kCall) ending.step = said->step;
                    if (said->kind == LineKind::kProgress) {
                        if (progress) progress(*said);
                    } else if (said->kind == LineKind::kFinished)
                        finished = true;
                    else if (said->kind == LineKind::kDying)
                        ending.dying = said->dying;
                    else
                        run.lines.push_back(std::move(*said));
                }
                break;
            case process::Child::Read::kExited:
                ending.exitCode = child.ExitCode();
                ending.errors = child.Errors();
                // One that said its end and then failed to end cleanly failed in its ending.
                if (!finished || ending.exitCode != 0) run.ending = ending;
                return run;
            case process::Child::Read::kTimedOut:
                if (!inCall) {
                    run.ending = Ending{.kind = Ending::Kind::kSilent, .seconds = kBetweenCallsMs / 1000};
                    return run;
                }
                ending.kind = Ending::Kind::kHung;
                ending.seconds = kHangMs / 1000;
                // A library that waits on a message box hangs its caller.
                if (const auto boxes = process::DialogBoxesOf(child.Id()); !boxes.empty())
                    ending.box = process::MessageBoxText(boxes.front());
                run.ending = ending;
                return run;
        }
    }
}

}  // namespace check
