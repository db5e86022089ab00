#include "check/run/child_run.h"

#include "check/run/abnormal_end.h"
#include "process/child.h"
#include "process/dialog_boxes.h"

namespace check {

ChildRun RunChild(const std::string& commandLine, const std::function<void(const Line&)>& progress)
{
    ChildRun run;
    process::Child child;
    if (!child.Start(commandLine, {.errors = true})) return run;
    for (std::string line;;) {
        // Only a call is held to the hang limit: between calls the scenario may count for longer.
        switch (child.ReadLine(line, run.inCall ? kHangMs : kBetweenCallsMs)) {
            case process::Child::Read::kLine:
                if (auto said = ParseLine(line)) {
                    if (said->kind == LineKind::kCall || said->kind == LineKind::kReturned)
                        run.inCall = said->kind == LineKind::kCall;
                    if (said->kind == LineKind::kProgress) {
                        if (progress) progress(*said);
                    } else if (said->kind == LineKind::kFinished)
                        run.finished = true;
                    else if (said->kind == LineKind::kDying)
                        run.dying = said->dying;
                    else
                        run.lines.push_back(std::move(*said));
                }
                break;
            case process::Child::Read::kExited:
                run.end = ChildRun::End::kExited;
                run.exitCode = child.ExitCode();
                run.errors = child.Errors();
                // One that said its end and then failed to end cleanly failed in its ending.
                run.finished = run.finished && run.exitCode == 0;
                return run;
            case process::Child::Read::kTimedOut:
                for (const HWND box : process::DialogBoxesOf(child.Id()))
                    run.openBoxes.push_back(process::MessageBoxText(box));
                run.end = ChildRun::End::kSilent;
                run.finished = false;
                return run;
        }
    }
}

std::string CutShortOutcome(const ChildRun& run)
{
    switch (run.end) {
        case ChildRun::End::kNotStarted:
            return "the scenario process did not start";
        case ChildRun::End::kSilent:
            if (!run.inCall) return "went silent between calls for " + std::to_string(kBetweenCallsMs / 1000) + " s";
            return (run.openBoxes.empty() ? "" : "showed a message box \"" + run.openBoxes.front() + "\" and ") +
                   "did not return within " + std::to_string(kHangMs / 1000) + " s";
        case ChildRun::End::kExited:
            break;
    }
    return AbnormalEnd(run.exitCode, run.dying, run.errors);
}

}  // namespace check
