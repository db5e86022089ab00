#include "check/scenario/send.h"

#include <windows.h>
#include <io.h>

#include <cstdio>

#include "check/ordinals.h"

namespace check {

namespace {

HANDLE g_channel = nullptr;

void Send(const Line& line)
{
    const std::string text = FormatLine(line) + "\n";
    DWORD written = 0;
    WriteFile(g_channel ? g_channel : GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

}  // namespace

void ClaimStandardOutput()
{
    const HANDLE process = GetCurrentProcess();
    DuplicateHandle(process, GetStdHandle(STD_OUTPUT_HANDLE), process, &g_channel, 0, FALSE, DUPLICATE_SAME_ACCESS);
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
    std::fflush(stdout);
    _dup2(_fileno(stderr), _fileno(stdout));
}

void SendCall(int ordinal, std::uint32_t index, const std::string& what)
{
    Send({.kind = LineKind::kCall, .ordinal = ordinal, .index = index, .text = what});
}

void SendStep(Step step, std::uint32_t index)
{
    Send({.kind = LineKind::kCall, .step = step, .ordinal = kNoOrdinal, .index = index});
}

void SendNotLoaded(Check check, std::uint32_t error)
{
    Send({.kind = LineKind::kNotLoaded, .code = error, .check = check});
}

void SendReturned(int ordinal, std::uint32_t code, double micros)
{
    Send({.kind = LineKind::kReturned, .ordinal = ordinal, .code = code, .micros = micros});
}

void SendFinding(const Finding& finding)
{
    Send({.kind = LineKind::kFinding, .finding = finding});
}

void SendMeasure(Check check, const std::string& text)
{
    Send({.kind = LineKind::kMeasure, .text = text, .check = check});
}

void SendNote(Check check, const std::string& text)
{
    Send({.kind = LineKind::kNote, .text = text, .check = check});
}

void SendNotJudged(Check check, const std::string& reason)
{
    Send({.kind = LineKind::kNotJudged, .text = reason, .check = check});
}

void SendCounted(const CountedCall& counted)
{
    Send({.kind = LineKind::kCounted, .ordinal = counted.ordinal, .index = counted.count, .text = counted.name});
}

void SendPoint(std::uint32_t number, const FailurePoint& point)
{
    Send({.kind = LineKind::kPoint, .ordinal = point.ordinal, .index = number});
}

void SendFailing(const FailedCall& failed)
{
    Send({.kind = LineKind::kFailing, .ordinal = failed.ordinal, .index = failed.occurrence, .text = failed.name});
}

void SendFinished()
{
    Send({.kind = LineKind::kFinished});
}

void SendProgress(std::uint32_t done, std::uint32_t total, const char* counted)
{
    // A line for each step would cost the sweep's pipe as much again as its calls' own lines.
    const auto percent = [total](std::uint64_t count) { return count * 100 / total; };
    if (total == 0 || done > total || (done != total && done > 0 && percent(done) == percent(done - 1))) return;
    Send({.kind = LineKind::kProgress, .index = done, .total = total, .text = counted});
}

void SendDying(Dying dying)
{
    Send({.kind = LineKind::kDying, .dying = dying});
}

}  // namespace check
