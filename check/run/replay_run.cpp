#include "check/run/replay_run.h"

#include <windows.h>

#include <cstdio>

#include "check/dll_main.h"
#include "check/library_image.h"
#include "check/ordinals.h"
#include "check/protocol.h"
#include "check/replay_file.h"
#include "check/run/child_run.h"
#include "check/text_files.h"
#include "platform/module_path.h"
#include "process/child.h"

namespace check {

namespace {

std::string LineOf(const std::vector<int>& lines, std::size_t index)
{
    return "line " + std::to_string(index < lines.size() ? lines[index] : 0) + ": ";
}

}  // namespace

ReplayEnd PlayReplayFile(const std::string& replayFile, const std::vector<PlannedCall>& calls,
                         const std::vector<int>& lines, const std::string& library, const TestFiles& files)
{
    const ScenarioOptions options{
        .scenario = kReplayScenario, .files = files.folder, .replay = replayFile, .library = library};
    const ChildRun run = RunChild(process::CommandLine(platform::ModuleFileName(), options.ToCommandLine()));
    ReplayEnd end;
    bool started = false;
    std::size_t index = 0;
    std::optional<FailedCall> failed;  // the call a reproducer of check 9 made fail
    std::string step;  // the library's loading, before the first call
    for (const Line& line : run.lines) {
        if (line.kind == LineKind::kCall && line.ordinal == kNoOrdinal) {
            step = line.text;
        } else if (line.kind == LineKind::kFailing) {
            failed = FailedCall{line.ordinal, line.text, line.index};
        } else if (line.kind == LineKind::kCall) {
            started = true;
            index = line.index;
        } else if (line.kind == LineKind::kReturned) {
            end.codes.push_back(LineOf(lines, index) + OrdinalName(line.ordinal) + " " + ResultText(line.code));
        } else if (line.kind == LineKind::kFinding) {
            Fault fault;
            fault.ordinal = line.finding.ordinal;
            fault.finding = line.finding;
            end.stop = Stop{index, fault, line.finding.Text()};
            end.message = (started ? LineOf(lines, index) : "") + end.stop->what;
            return end;
        }
    }
    if (run.finished) return end;
    const int ordinal = index < calls.size() ? calls[index].ordinal : kNoOrdinal;
    const std::string what = run.end == ChildRun::End::kNotStarted ? "the replay process did not start"
                             : ordinal == kNoOrdinal               ? "the replay " + CutShortOutcome(run)
                                                     : OrdinalName(ordinal) + (" " + CutShortOutcome(run)) +
                                                           (failed ? " " + AfterFailure(*failed, ordinal) : "");
    Fault fault;
    fault.ordinal = ordinal;
    fault.hung = run.end == ChildRun::End::kSilent;
    if (!fault.hung) {
        fault.exitCode = static_cast<std::uint32_t>(run.exitCode);
        fault.dying = run.dying;
    }
    // Before the first call it is the library's DllMain that failed, not a call.
    const std::optional<Finding> dllMain =
        started ? std::nullopt : DllMainFault({kFaultsCheck, kNoOrdinal, step, CutShortOutcome(run)});
    end.stop = Stop{index, fault, dllMain ? dllMain->outcome : what};
    end.message = dllMain ? dllMain->outcome : LineOf(lines, index) + what;
    return end;
}

std::optional<Stop> PlayCalls(const std::vector<PlannedCall>& calls, const std::string& library, const TestFiles& files)
{
    const std::string path = files.folder + "\\candidate.replay";
    WriteText(path, ReplayText(calls));
    std::vector<int> lines(calls.size());
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = static_cast<int>(i + 1);
    return PlayReplayFile(path, calls, lines, library, files).stop;
}

int ReplayCommand(const std::string& replayFile, const std::string& library)
{
    const std::optional<std::string> text = ReadText(replayFile);
    if (!text) {
        std::printf("%s: cannot be read\n", replayFile.c_str());
        return 2;
    }
    const TestFiles files = TestFiles::InTemp("DravelCheck-replay-");
    const Replay replay = ParseReplay(*text, files);
    for (const std::string& error : replay.errors) std::printf("%s %s\n", replayFile.c_str(), error.c_str());
    if (!replay.errors.empty()) return 2;
    if (const auto unjudgeable = UnjudgeableImage(library)) {
        std::printf("NOT JUDGED: %s\n", unjudgeable->c_str());
        return 3;
    }
    files.Create();
    std::vector<PlannedCall> calls;
    std::vector<int> lines;
    for (const ReplayCall& call : replay.calls) {
        calls.push_back(call.call);
        lines.push_back(call.line);
    }
    const ReplayEnd end = PlayReplayFile(replayFile, calls, lines, library, files);
    files.Remove();
    std::printf("DravelCheck --replay %s %s\n", replayFile.c_str(), library.c_str());
    for (const std::string& code : end.codes) std::printf("%s\n", code.c_str());
    if (end.stop)
        std::printf("%s\nstopped: the library does not keep the contract\n", end.message.c_str());
    else
        std::printf("%zu calls, each returned a code\n", end.codes.size());
    return end.stop ? 1 : 0;
}

}  // namespace check
