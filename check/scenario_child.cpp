#include "check/scenario_child.h"

#include "check/protocol.h"
#include "process/child.h"
#include "process/dialog_boxes.h"

namespace check {

ChildRun RunChild(const std::string& commandLine)
{
    ChildRun run;
    process::Child child;
    if (!child.Start(commandLine)) return run;
    for (std::string line;;) {
        switch (child.ReadLine(line, kHangMs)) {
            case process::Child::Read::kLine:
                run.lines.push_back(line);
                break;
            case process::Child::Read::kExited:
                run.end = ChildRun::End::kExited;
                run.exitCode = child.ExitCode();
                return run;
            case process::Child::Read::kTimedOut:
                for (const HWND box : process::DialogBoxesOf(child.Id()))
                    run.openBoxes.push_back(process::MessageBoxText(box));
                run.end = ChildRun::End::kSilent;
                return run;
        }
    }
}

}  // namespace check
