#include "check/scenarios.h"

#include <windows.h>

#include <algorithm>

#include "check/abi_probe.h"
#include "check/call_inputs.h"
#include "check/checked_library.h"
#include "check/guarded_records.h"
#include "check/process_usage.h"
#include "check/protocol.h"

namespace check {

namespace {

constexpr int kCycles = 1000;
// What 1,000 cycles may leave behind: Wine's own caches move a little; a leak of one object or one
// small surface per cycle goes far past this.
constexpr std::size_t kGdiAllowance = 8;
constexpr std::size_t kWindowAllowance = 1;
constexpr std::size_t kPrivateAllowance = 4 << 20;

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
    for (int ordinal : {kOpen, kSetAndShow, kClearSetting, kClose}) library.Call(ordinal, &input.params, &input.rect);
}

// A window of our own while it lives, so the process always has one to count and 0 can only mean a
// failed count.
class CountedWindow {
public:
    CountedWindow() : m_window(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
    {
    }
    ~CountedWindow() { DestroyWindow(m_window); }
    CountedWindow(const CountedWindow&) = delete;
    CountedWindow& operator=(const CountedWindow&) = delete;

private:
    HWND m_window;
};

// Counts are only comparable when they were taken; a count of 0 is a failed count.
bool Counted(const tavik::ProcessUsage& usage)
{
    if (usage.IsCounted()) return true;
    SendFinding({Check::kLifecycles, kNoOrdinal, "",
                 std::string("cannot count this process's") + (usage.gdiObjects ? "" : " GDI objects") +
                     (usage.userObjects ? "" : " windows") + (usage.privateBytes ? "" : " private bytes")});
    return false;
}

}  // namespace

bool Loaded(const CheckedLibrary& library, const ScenarioOptions& options)
{
    if (!library.IsLoaded())
        SendFinding({options.check, kNoOrdinal, "",
                     "the library does not load (error " + std::to_string(GetLastError()) + ")"});
    return library.IsLoaded();
}

void Exports(const ScenarioOptions& options)
{
    CheckedLibrary library(options.library);
    if (!Loaded(library, options)) return;
    for (const int ordinal : kAllOrdinals)
        if (!library.Has(ordinal)) SendFinding({Check::kExports, ordinal, OrdinalLabel(ordinal), "is not exported"});
}

void CallingConvention(const ScenarioOptions& options)
{
    CheckedLibrary library(options.library);
    if (!Loaded(library, options)) return;
    const TestFiles files(options.files);
    const CallInput input = PlainInput(files);
    // Each entry point when it fails and when it succeeds.
    for (int ordinal : {kMoveAndShow, kClose, kOpen, kSetAndShow, kMoveAndShow, kClearSetting, kClearSetting,
                        kSetAndShow, kOpen, kClose})
        if (const auto outcome = library.Call(ordinal, &input.params, &input.rect))
            for (const std::string& breach : outcome->abiBreaches)
                SendFinding({Check::kCallingConvention, ordinal, OrdinalLabel(ordinal), breach});
    SendMeasure(Check::kCallingConvention,
                kIs64Bit ? "stack pointer, rbx rbp rdi rsi r12-r15 xmm6-xmm15, DF, x87 control word and MXCSR"
                         : "stack pointer, ebx ebp edi esi, DF, x87 control word and MXCSR");
}

void Records(const ScenarioOptions& options)
{
    CheckedLibrary library(options.library);
    if (!Loaded(library, options)) return;
    const TestFiles files(options.files);
    const CallInput input = PlainInput(files);
    GuardedRecords records;
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

void Sweep(const ScenarioOptions& options)
{
    CheckedLibrary library(options.library, options.skip);
    if (!Loaded(library, options)) return;
    const TestFiles files(options.files);
    for (const CallInput& input : SweepInputs(files))
        for (int ordinal : {kOpen, kSetAndShow, kMoveAndShow, kClearSetting, kClose}) Call(library, ordinal, input);
    // Every order of the five calls, and each call twice in a row; a Close after each resets.
    const CallInput plain = PlainInput(files);
    int order[] = {kOpen, kClose, kSetAndShow, kMoveAndShow, kClearSetting};
    do {
        for (int ordinal : order) Call(library, ordinal, plain);
        Call(library, kClose, plain);
    } while (std::next_permutation(std::begin(order), std::end(order)));
    for (int ordinal : {kOpen, kOpen, kSetAndShow, kSetAndShow, kMoveAndShow, kMoveAndShow, kClearSetting,
                        kClearSetting, kClose, kClose})
        Call(library, ordinal, plain);
}

void RandomSample(const ScenarioOptions& options)
{
    CheckedLibrary library(options.library, options.skip);
    if (!Loaded(library, options)) return;
    const TestFiles files(options.files);
    const CountedWindow counted;
    Cycle(library, PlainInput(files));
    const tavik::ProcessUsage before = tavik::SettledUsage();
    RandomInputs random(files, options.seed);
    for (std::uint32_t i = 0; i < options.samples; ++i) {
        const int ordinal = random.NextOrdinal();
        Call(library, ordinal, random.Next());
    }
    library.Call(kClose, nullptr, nullptr);
    const tavik::ProcessUsage after = tavik::SettledUsage();
    if (!Counted(before) || !Counted(after)) return;
    const std::string change = Kilobytes(before.privateBytes) + " -> " + Kilobytes(after.privateBytes);
    SendMeasure(Check::kLifecycles, "after the random sample and Close: private " + change);
    if (after.privateBytes > before.privateBytes + kPrivateAllowance)
        SendFinding({Check::kLifecycles, kNoOrdinal, "",
                     "private bytes grew over the random sample and stayed after Close: " + change});
}

void Lifecycles(const ScenarioOptions& options)
{
    CheckedLibrary library(options.library);
    if (!Loaded(library, options)) return;
    const TestFiles files(options.files);
    const CallInput input = PlainInput(files);
    const CountedWindow counted;
    // The first cycles load what stays loaded: the bitmap decoder, fonts, window classes.
    for (int i = 0; i < 10; ++i) Cycle(library, input);
    const tavik::ProcessUsage before = tavik::SettledUsage();
    for (int i = 0; i < kCycles; ++i) Cycle(library, input);
    const tavik::ProcessUsage after = tavik::SettledUsage();
    if (!Counted(before) || !Counted(after)) return;
    const std::string counts = "GDI objects " + std::to_string(before.gdiObjects) + " -> " +
                               std::to_string(after.gdiObjects) + ", windows " + std::to_string(before.userObjects) +
                               " -> " + std::to_string(after.userObjects) + ", private " +
                               Kilobytes(before.privateBytes) + " -> " + Kilobytes(after.privateBytes);
    SendMeasure(Check::kLifecycles, std::to_string(kCycles) + " Open/Set & show/Clear setting/Close cycles: " + counts);
    if (after.gdiObjects > before.gdiObjects + kGdiAllowance ||
        after.userObjects > before.userObjects + kWindowAllowance ||
        after.privateBytes > before.privateBytes + kPrivateAllowance)
        SendFinding({Check::kLifecycles, kNoOrdinal, "", "after " + std::to_string(kCycles) + " cycles: " + counts});
}

bool RunScenario(const std::string& name, ScenarioOptions options)
{
    for (const CheckRow& row : kChecks)
        for (const Scenario& scenario : row.scenarios)
            if (scenario.name != nullptr && name == scenario.name) {
                options.check = row.id;
                scenario.run(options);
                SendEnd();
                return true;
            }
    return false;
}

}  // namespace check
