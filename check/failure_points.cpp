#include "check/failure_points.h"

#include <algorithm>

namespace check {

const std::vector<WrappedCall> kWrappedCalls = {
    {"malloc", "returned NULL"},
    {"calloc", "returned NULL"},
    {"realloc", "returned NULL"},
    {"operator new", "threw std::bad_alloc"},
    {"operator new[]", "threw std::bad_alloc"},
    {"HeapAlloc", "returned NULL"},
    {"HeapReAlloc", "returned NULL"},
    {"VirtualAlloc", "returned NULL"},
    {"GlobalAlloc", "returned NULL"},
    {"LocalAlloc", "returned NULL"},
    {"RegisterClassA", "returned 0"},
    {"RegisterClassW", "returned 0"},
    {"RegisterClassExA", "returned 0"},
    {"RegisterClassExW", "returned 0"},
    {"CreateWindowExA", "returned NULL"},
    {"CreateWindowExW", "returned NULL"},
    {"GetDC", "returned NULL"},
    {"CreateCompatibleDC", "returned NULL"},
    {"CreateCompatibleBitmap", "returned NULL"},
    {"CreateDIBSection", "returned NULL"},
    {"CreateBitmap", "returned NULL"},
    {"CreateSolidBrush", "returned NULL"},
    {"CreateFileA", "returned INVALID_HANDLE_VALUE"},
    {"CreateFileW", "returned INVALID_HANDLE_VALUE"},
    {"LoadImageA", "returned NULL"},
    {"LoadImageW", "returned NULL"},
    {"CreateThread", "returned NULL"},
    {"CreateEventA", "returned NULL"},
    {"CreateEventW", "returned NULL"},
};

const WrappedCall* FindWrappedCall(const std::string& name)
{
    for (const WrappedCall& call : kWrappedCalls)
        if (name == call.name) return &call;
    return nullptr;
}

FailurePlan PlanFailures(const std::vector<CountedCall>& counted, std::uint32_t bound)
{
    FailurePlan plan;
    plan.bound = bound;
    for (const int ordinal : kFailureLifecycle) {
        std::uint32_t calls = 0;
        for (const CountedCall& call : counted) {
            if (call.ordinal != ordinal || call.count == 0) continue;
            calls += call.count;
            if (std::find(plan.calls.begin(), plan.calls.end(), call.name) == plan.calls.end())
                plan.calls.push_back(call.name);
        }
        if (calls > bound) plan.bounded.push_back(ordinal);
        for (std::uint32_t at = 1; at <= std::min(calls, bound); ++at) plan.points.push_back({ordinal, at});
    }
    return plan;
}

std::string Nth(std::uint32_t n)
{
    const char* suffix = "th";
    if (n % 100 < 11 || n % 100 > 13) {
        if (n % 10 == 1) suffix = "st";
        if (n % 10 == 2) suffix = "nd";
        if (n % 10 == 3) suffix = "rd";
    }
    return std::to_string(n) + suffix;
}

std::string AfterFailure(const FailedCall& failed, int ordinal)
{
    const WrappedCall* call = FindWrappedCall(failed.name);
    const std::string which = Nth(failed.occurrence) + " call to " + failed.name;
    return "after " + (failed.ordinal == ordinal ? "its " + which : "the " + which + " of " + OrdinalLabel(failed.ordinal)) +
           " failed (" + (call ? call->failure : "failed") + ")";
}

std::string FailurePlanSummary(const FailurePlan& plan, std::uint32_t unreached)
{
    if (plan.points.empty()) return "the library made none of the wrapped calls in a lifecycle: nothing to make fail";
    std::string calls;
    for (const std::string& name : plan.calls) calls += (calls.empty() ? "" : ", ") + name;
    std::string summary = std::to_string(plan.points.size()) + " failure points in " +
                          std::to_string(plan.calls.size()) + (plan.calls.size() == 1 ? " call (" : " calls (") + calls +
                          "): each entry point returned a code and left nothing behind, and the next lifecycle worked";
    for (const int ordinal : plan.bounded)
        summary += "; " + OrdinalLabel(ordinal) + " made more wrapped calls than the bound of " +
                   std::to_string(plan.bound) + ": its first " + std::to_string(plan.bound) + " were made to fail";
    if (unreached > 0)
        summary += "; " + std::to_string(unreached) + " not reached in a later lifecycle (the library made fewer calls)";
    return summary;
}

}  // namespace check
