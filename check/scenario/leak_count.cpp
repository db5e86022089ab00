#include "check/scenario/leak_count.h"

#include <algorithm>
#include <iterator>

namespace check {

std::string Kilobytes(std::size_t bytes)
{
    return std::to_string(bytes / 1024) + " KB";
}

std::string CountText(const WatchedCount& watched, std::size_t value)
{
    return watched.count == &process::Usage::privateBytes ? Kilobytes(value) : std::to_string(value);
}

bool LeakCertain(const process::Usage& before, const process::Usage& now, std::size_t cycles)
{
    for (const WatchedCount& watched : kWatchedCounts)
        if (watched.count != &process::Usage::privateBytes && before.*watched.count != 0 &&
            now.*watched.count >= before.*watched.count + std::max(cycles, watched.allowance + 1))
            return true;
    return false;
}

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

CountedWindow::CountedWindow()
    : m_window(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr))
{
}

}  // namespace check
