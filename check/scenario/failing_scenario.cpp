#include "check/scenario/failing_scenario.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "check/failure_points.h"
#include "check/scenario/checked_library.h"
#include "check/scenario/failing_calls.h"
#include "check/scenario/leak_count.h"
#include "check/scenario/send.h"
#include "process/usage.h"

namespace check {

namespace {

// What Close must have taken away, however the lifecycle went.
struct Objects {
    const char* one;
    const char* many;
    std::size_t process::Usage::*count;
};
constexpr Objects kObjects[] = {{"window", "windows", &process::Usage::userObjects},
                                {"GDI object", "GDI objects", &process::Usage::gdiObjects},
                                {"kernel handle", "kernel handles", &process::Usage::kernelHandles},
                                {"thread", "threads", &process::Usage::threads}};

// Not exported: no code.
constexpr OverlayResult kNoCode = 0xFFFFFFFF;

// Each entry point once, on the records of this call's stack as the console holds them; with
// `counts`, what each called of the wrapped imports is sent and kept there.
std::vector<OverlayResult> Lifecycle(CheckedLibrary& library, const CallInput& input,
                                     std::vector<CountedCall>* counts = nullptr)
{
    std::vector<OverlayResult> codes;
    for (const int ordinal : kFailureLifecycle) {
        const OverlaySurfaceParams params = input.params;
        const OverlayRect rect = input.rect;
        const auto outcome = library.Call(ordinal, &params, &rect);
        codes.push_back(outcome ? outcome->code : kNoCode);
        if (counts == nullptr) continue;
        for (const CountedCall& count : LastCounts()) {
            SendCounted(count);
            counts->push_back(count);
        }
    }
    return codes;
}

// "1 window and 2 GDI objects" more than `before`; empty when none. What a library lets go of on
// its own threads may show a moment later, so a count that grew is read again a few times.
std::string LeftBehind(const process::Usage& before)
{
    std::string left;
    process::Usage after = process::UsageNow();
    for (int again = 0;; ++again) {
        left.clear();
        for (const Objects& objects : kObjects) {
            const std::size_t from = before.*objects.count, to = after.*objects.count;
            if (from == 0 || to <= from) continue;
            left += (left.empty() ? "" : " and ") + std::to_string(to - from) + " " +
                    (to - from == 1 ? objects.one : objects.many);
        }
        if (left.empty() || again == 4) return left;
        Sleep(100);
        const process::Usage now = process::UsageNow();
        for (const Objects& objects : kObjects) after.*objects.count = std::min(after.*objects.count, now.*objects.count);
    }
}

// A lifecycle with the call at `point` failing; what it left after its Close.
std::string FailingLifecycle(CheckedLibrary& library, const CallInput& input, const FailurePoint& point)
{
    const process::Usage before = process::UsageNow();
    ArmFailure(point);
    Lifecycle(library, input);
    Disarm();
    return LeftBehind(before);
}

}  // namespace

void FailingCalls(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options)
{
    WrapAcquiringCalls(library.Module());
    const CallInput input = PlainInput(files);
    std::vector<CountedCall> counts;
    const std::vector<OverlayResult> ordinary = Lifecycle(library, input, &counts);
    const FailurePlan plan = PlanFailures(counts);
    // Made only when there is something to count: a process's first window costs its connection
    // to the display.
    std::optional<CountedWindow> counted;
    if (!plan.points.empty()) counted.emplace();
    for (std::uint32_t number = options.from; number < plan.points.size(); ++number) {
        const FailurePoint& point = plan.points[number];
        SendPoint(number, point);
        SendProgress(number + 1, static_cast<std::uint32_t>(plan.points.size()), "failure points");
        std::string left = FailingLifecycle(library, input, point);
        const std::optional<FailedCall> failed = FailedSinceArmed();
        if (!failed) continue;
        // The system keeps what a path taken for the first time loads (a C++ throw's first
        // unwinding, say); a leak is left again by the same failure.
        if (!left.empty()) left = FailingLifecycle(library, input, point);
        const std::string after = AfterFailure(*failed, failed->ordinal);
        const std::string label = OrdinalLabel(failed->ordinal);
        if (!left.empty())
            SendFinding({Check::kFailingCalls, failed->ordinal, label, "left " + left + " that Close did not take away, " + after});
        const std::vector<OverlayResult> next = Lifecycle(library, input);
        for (std::size_t i = 0; i < next.size(); ++i)
            if (next[i] != ordinary[i]) {
                SendFinding({Check::kFailingCalls, failed->ordinal, label,
                             "left the library failing: in the next lifecycle " + OrdinalLabel(kFailureLifecycle[i]) +
                                 " returned " + ResultText(next[i]) + " where the first returned " +
                                 ResultText(ordinary[i]) + ", " + after});
                break;
            }
    }
}

}  // namespace check
