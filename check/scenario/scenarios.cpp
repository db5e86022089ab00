#include "check/scenario/scenarios.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "check/random_sample.h"
#include "check/scenario/abi_probe.h"
#include "check/scenario/caller_state.h"
#include "check/scenario/checked_library.h"
#include "check/scenario/guarded_records.h"
#include "check/scenario/leak_count.h"
#include "check/scenario/other_programs.h"
#include "check/scenario/second_thread.h"
#include "check/scenario/send.h"
#include "check/scenario/thread_ledger.h"
#include "check/scenario/turns.h"
#include "check/sweep.h"

namespace check {

namespace {

constexpr int kCycles = 1000;
constexpr int kCheckpoint = 100;

// The records are copied to this call's own stack, as the console's handlers hold them: a pointer
// the library keeps then points at memory that stays there, and only the records check sees it.
void Call(CheckedLibrary& library, int ordinal, const CallInput& input)
{
    const OverlaySurfaceParams params = input.params;
    const OverlayRect rect = input.rect;
    const std::string what = ordinal == kSetAndShow    ? input.DescribeParams() + " " + input.DescribeRect()
                             : ordinal == kMoveAndShow ? input.DescribeRect()
                                                       : "";
    library.Call(ordinal, &params, &rect, what);
}

void Cycle(CheckedLibrary& library, const CallInput& input)
{
    for (int ordinal : kCycle) library.Call(ordinal, &input.params, &input.rect);
}

// The random plan: its first plain cycle as it is, `sampleBegins`, then the sample and Close, each
// described in what a finding says of it.
template <typename Between>
void PlayRandomPlan(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options,
                    Between sampleBegins)
{
    // Made before the first count, so that their memory is not taken for the library's.
    const std::vector<PlannedCall> calls = RandomPlan(files, options.seed, options.samples);
    const auto sample = calls.begin() + std::size(kCycle);
    for (auto call = calls.begin(); call != sample; ++call)
        library.Call(call->ordinal, &call->input.params, &call->input.rect);
    sampleBegins();
    for (auto call = sample; call != calls.end(); ++call) {
        Call(library, call->ordinal, call->input);
        SendProgress(static_cast<std::uint32_t>(call - calls.begin() + 1), static_cast<std::uint32_t>(calls.size()),
                     "calls");
    }
}

}  // namespace

void Exports(CheckedLibrary& library, const TestFiles&, const ScenarioOptions&)
{
    for (const int ordinal : kAllOrdinals)
        if (!library.Has(ordinal)) SendFinding({Check::kExports, ordinal, OrdinalLabel(ordinal), "is not exported"});
}

void Unloading(CheckedLibrary& library, const TestFiles&, const ScenarioOptions& options)
{
    library.Unload();
    const CheckedLibrary again(options.library);
    if (!again.IsLoaded()) return;
    SendStep(Step::kProcessEnd, 0);
    SendFinished();
    ExitProcess(0);
}

void CallingConvention(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions&)
{
    const CallInput input = PlainInput(files);
    // Each entry point when it fails and when it succeeds.
    for (int ordinal : {kMoveAndShow, kClose, kOpen, kSetAndShow, kMoveAndShow, kClearSetting, kClearSetting,
                        kSetAndShow, kOpen, kClose})
        if (const auto outcome = library.Call(ordinal, &input.params, &input.rect))
            for (const std::string& breach : outcome->abiBreaches)
                SendFinding({Check::kCallingConvention, ordinal, OrdinalLabel(ordinal), breach});
    SendMeasure(Check::kCallingConvention,
                kIs64Bit ? "stack pointer, rbx rbp rdi rsi r12-r15 xmm6-xmm15, DF, x87 control word and MXCSR"
                         : "stack pointer, ebx ebp edi esi, DF, x87 control word, MXCSR and the exception-handler "
                           "chain (fs:[0])");
}

void Records(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions&)
{
    const CallInput input = PlainInput(files);
    GuardedRecords records;
    library.WatchRecords(records);
    // Every record is fresh for its call and gone after it, so a pointer kept from one call is
    // caught on the next.
    for (int ordinal : {kOpen, kSetAndShow, kMoveAndShow, kSetAndShow, kMoveAndShow, kClearSetting, kMoveAndShow,
                        kSetAndShow, kClose}) {
        const OverlaySurfaceParams* params = records.LendParams(input.params);
        const OverlayRect* rect = records.LendRect(input.rect);
        library.Call(ordinal, params, rect);
        for (const std::string& outcome : records.Release())
            SendFinding({Check::kRecords, ordinal, OrdinalLabel(ordinal), outcome});
    }
}

void Sweep(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions&)
{
    const std::vector<PlannedCall> calls = SweepCalls(files);
    for (std::size_t done = 0; done < calls.size();) {
        Call(library, calls[done].ordinal, calls[done].input);
        SendProgress(static_cast<std::uint32_t>(++done), static_cast<std::uint32_t>(calls.size()), "calls");
    }
}

void RandomSample(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options)
{
    PlayRandomPlan(library, files, options, [] {});
}

void RandomSampleMemory(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options)
{
    const CountedWindow counted;
    process::Usage before;
    PlayRandomPlan(library, files, options, [&before] { before = process::SettledUsage(); });
    const process::Usage after = process::SettledUsage();
    // A count of 0 is a failed count.
    if (before.privateBytes == 0 || after.privateBytes == 0)
        return SendNotJudged(Check::kLifecycles, "this platform cannot count the process's private bytes");
    const std::string change = Kilobytes(before.privateBytes) + " -> " + Kilobytes(after.privateBytes);
    SendMeasure(Check::kLifecycles, "after the random sample and Close: private " + change);
    if (after.privateBytes > before.privateBytes + kPrivateAllowance)
        SendFinding({Check::kLifecycles, kNoOrdinal, "",
                     "private bytes grew over the random sample and stayed after Close: " + change});
}

void Lifecycles(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions&)
{
    const CallInput input = PlainInput(files);
    const CountedWindow counted;
    // The first cycles load what stays loaded: the bitmap decoder, fonts, window classes.
    for (int i = 0; i < 10; ++i) Cycle(library, input);
    const process::Usage before = process::SettledUsage();
    int cycles = 0;
    while (cycles < kCycles) {
        Cycle(library, input);
        SendProgress(++cycles, kCycles, "cycles");
        if (cycles % kCheckpoint == 0 && cycles < kCycles && LeakCertain(before, process::UsageNow(), cycles)) break;
    }
    const process::Usage after = LowestAfter(before);
    std::string counts, grown;
    for (const WatchedCount& watched : kWatchedCounts) {
        const std::size_t from = before.*watched.count, to = after.*watched.count;
        if (from == 0 || to == 0) {
            SendNotJudged(Check::kLifecycles, std::string("this platform cannot count the process's ") + watched.name);
            continue;
        }
        const std::string change =
            std::string(watched.name) + " " + CountText(watched, from) + " -> " + CountText(watched, to);
        counts += (counts.empty() ? "" : ", ") + change;
        if (to > from + watched.allowance) grown += (grown.empty() ? "" : ", ") + change;
    }
    const std::string run = std::to_string(cycles) + " Open/Set & show/Clear setting/Close cycles: ";
    SendMeasure(Check::kLifecycles, run + counts);
    if (!grown.empty()) SendFinding({Check::kLifecycles, kNoOrdinal, "", "after " + run + grown});
    LifecycleOnSecondThread(library, input);
}

// Each call with the caller's window active and its state noted, the start-up input among them:
// its relative "Image.bmp" depends on the current directory. A turn on which another program took
// the foreground is played again: what the library did to the activation cannot be told then; nor
// when the activation went to no window, unless the next turn sees that again.
void CallerStateKept(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions&)
{
    const CallerWindow window;
    library.WatchCaller(window);
    const CallInput plain = PlainInput(files);
    const CallInput startup = StartupInput(kSetAndShow);
    const std::pair<int, const CallInput*> calls[] = {
        {kOpen, &plain},         {kSetAndShow, &plain},   {kMoveAndShow, &plain},
        {kSetAndShow, &startup}, {kClearSetting, &plain}, {kClose, &plain},
        {kOpen, &startup},       {kSetAndShow, &startup}, {kClose, &plain}};
    const OtherProgramWatch watch;
    const auto findings = UndisturbedFindings([&](int turn) {
        if (turn > 0) {
            // Closed, so that the next turn's Open starts afresh; what it left is told on that turn.
            library.Call(kClose, &plain.params, &plain.rect);
            TakeLeftOnThread();
            StandAside(turn);
            window.Activate();
        }
        TurnSeen seen;
        watch.Forget();
        seen.disturbed = watch.Disturbed();
        for (auto call = std::begin(calls); call != std::end(calls) && !seen.disturbed; ++call) {
            const auto& [ordinal, input] = *call;
            const CallerState before = CallerStateNow(window);
            const auto outcome = library.Call(ordinal, &input->params, &input->rect);
            if (!outcome) continue;
            seen.disturbed = watch.Disturbed();
            if (seen.disturbed) break;
            const CallerState after = CallerStateNow(window);
            std::vector<std::string> changes = outcome->callerQueue;
            for (std::string& change : StateChanges(before, after)) changes.push_back(std::move(change));
            for (const std::string& change : changes)
                seen.findings.push_back({Check::kCallerState, ordinal, OrdinalLabel(ordinal), change});
            if (const auto taken = FocusChange(before, after))
                (taken->toNoWindow ? seen.unsure : seen.findings)
                    .push_back({Check::kCallerState, ordinal, OrdinalLabel(ordinal), taken->what});
            RestoreState(before, window);
            if (ordinal != kClose) continue;
            for (const LeftOnThread& left : TakeLeftOnThread())
                seen.findings.push_back({Check::kCallerState, left.ordinal, OrdinalLabel(left.ordinal),
                                         "left " + left.what + " that Close did not " + (left.timer ? "kill" : "remove")});
        }
        return seen;
    });
    if (!findings) return SendNotJudged(Check::kCallerState, "another program took the foreground during the calls");
    for (const Finding& finding : *findings) SendFinding(finding);
}

}  // namespace check
