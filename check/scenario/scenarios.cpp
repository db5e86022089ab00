#include "check/scenario/scenarios.h"

#include <windows.h>

#include <algorithm>

#include "check/scenario/abi_probe.h"
#include "check/call_inputs.h"
#include "check/dll_main.h"
#include "check/library_image.h"
#include "check/scenario/caller_state.h"
#include "check/scenario/checked_library.h"
#include "check/scenario/guarded_records.h"
#include "check/scenario/plain_window.h"
#include "check/scenario/second_thread.h"
#include "check/scenario/send.h"
#include "check/scenario/thread_ledger.h"
#include "process/usage.h"

namespace check {

namespace {

constexpr int kCycles = 1000;
constexpr int kCheckpoint = 100;
constexpr std::size_t kPrivateAllowance = 4 << 20;

// The counts the lifecycles watch, each with what 1,000 cycles may leave behind: Wine's own caches
// move a little; a leak of one object or one small surface per cycle goes far past this.
struct WatchedCount {
    const char* name;
    std::size_t process::Usage::*count;
    std::size_t allowance;
};
constexpr WatchedCount kWatchedCounts[] = {
    {"GDI objects", &process::Usage::gdiObjects, 8},
    {"windows", &process::Usage::userObjects, 1},
    {"private", &process::Usage::privateBytes, kPrivateAllowance},
    {"kernel handles", &process::Usage::kernelHandles, 8},
    {"threads", &process::Usage::threads, 1},
    {"TLS slots", &process::Usage::tlsSlots, 4},
    {"FLS slots", &process::Usage::flsSlots, 4},
};

std::string Kilobytes(std::size_t bytes)
{
    return std::to_string(bytes / 1024) + " KB";
}

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

std::string CountText(const WatchedCount& watched, std::size_t value)
{
    return watched.count == &process::Usage::privateBytes ? Kilobytes(value) : std::to_string(value);
}

// An object count grown by one object per cycle done, past its allowance, is a leak however the
// cycles go on. Private bytes are never taken for certain early: a cache may still be filling.
bool LeakCertain(const process::Usage& before, const process::Usage& now, std::size_t cycles)
{
    for (const WatchedCount& watched : kWatchedCounts)
        if (watched.count != &process::Usage::privateBytes && before.*watched.count != 0 &&
            now.*watched.count >= before.*watched.count + std::max(cycles, watched.allowance + 1))
            return true;
    return false;
}

}  // namespace

bool Loaded(const CheckedLibrary& library, Check check)
{
    if (!library.IsLoaded()) SendFinding({check, kNoOrdinal, "", LoadFailure(library.LoadError())});
    return library.IsLoaded();
}

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
    SendCall(kNoOrdinal, 0, kEndingStep);
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
    const CountedWindow counted;
    // Made before the first count, so that their memory is not taken for the library's; the list
    // the reproducers take their calls from: a plain cycle, the sample, Close.
    const std::vector<PlannedCall> calls = PlannedCalls("random", files, options.seed, options.samples);
    const auto sample = calls.begin() + std::size(kCycle);
    for (auto call = calls.begin(); call != sample; ++call)
        library.Call(call->ordinal, &call->input.params, &call->input.rect);
    const process::Usage before = process::SettledUsage();
    for (auto call = sample; call != calls.end(); ++call) {
        Call(library, call->ordinal, call->input);
        SendProgress(static_cast<std::uint32_t>(call - calls.begin() + 1), static_cast<std::uint32_t>(calls.size()),
                     "calls");
    }
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

// The counts after the cycles. On a busy machine what the last Close let go of can show a moment
// later; a count past its allowance is read again a few times and the lowest taken. A leak per
// cycle stays whatever the wait.
process::Usage LowestAfter(const process::Usage& before)
{
    process::Usage lowest = process::SettledUsage();
    const auto overAllowance = [&before](const process::Usage& usage) {
        return std::any_of(std::begin(kWatchedCounts), std::end(kWatchedCounts), [&](const WatchedCount& watched) {
            return usage.*watched.count > before.*watched.count + watched.allowance;
        });
    };
    for (int again = 0; again < 5 && overAllowance(lowest); ++again) {
        Sleep(200);
        const process::Usage usage = process::SettledUsage();
        for (const WatchedCount& watched : kWatchedCounts)
            lowest.*watched.count = std::min(lowest.*watched.count, usage.*watched.count);
    }
    return lowest;
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
// its relative "Image.bmp" depends on the current directory.
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
    for (const auto& [ordinal, input] : calls) {
        const CallerState before = CallerStateNow(window);
        const auto outcome = library.Call(ordinal, &input->params, &input->rect);
        if (!outcome) continue;
        std::vector<std::string> changes = outcome->callerQueue;
        for (std::string& change : StateChanges(before, CallerStateNow(window))) changes.push_back(std::move(change));
        for (const std::string& change : changes)
            SendFinding({Check::kCallerState, ordinal, OrdinalLabel(ordinal), change});
        RestoreState(before, window);
        if (ordinal != kClose) continue;
        for (const LeftOnThread& left : TakeLeftOnThread())
            SendFinding({Check::kCallerState, left.ordinal, OrdinalLabel(left.ordinal),
                         "left " + left.what + " that Close did not " + (left.timer ? "kill" : "remove")});
    }
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
