#include "check/run/shrinker.h"

#include <algorithm>
#include <cstring>

#include "check/replay_file.h"

namespace check {

namespace {

// Each moves one field of a call to the console's start-up value.
using FieldReset = void (*)(CallInput&, const CallInput&);
const FieldReset kFieldResets[] = {
    [](CallInput& input, const CallInput& startup) { input.params.width = startup.params.width; },
    [](CallInput& input, const CallInput& startup) { input.params.height = startup.params.height; },
    [](CallInput& input, const CallInput& startup) {
        input.params.red = startup.params.red;
        input.params.green = startup.params.green;
        input.params.blue = startup.params.blue;
    },
    [](CallInput& input, const CallInput& startup) {
        std::memcpy(input.params.bitmapFile, startup.params.bitmapFile, sizeof input.params.bitmapFile);
        input.fileKind = startup.fileKind;
    },
    [](CallInput& input, const CallInput& startup) { input.rect = startup.rect; },
};

class Shrinker {
public:
    Shrinker(Stop& found, const Player& play, const ShrinkBudget& budget)
        : m_found(found),
          m_play(play),
          m_triesLeft(budget.tries),
          m_deadline(std::chrono::steady_clock::now() + budget.time)
    {
    }

    // True, with `calls` cut after the fault, when `calls` still show the same fault.
    bool Keeps(std::vector<PlannedCall>& calls)
    {
        if (m_triesLeft <= 0 || std::chrono::steady_clock::now() > m_deadline) return false;
        --m_triesLeft;
        std::optional<Stop> stop = m_play(calls);
        if (!stop || stop->fault != m_found.fault) return false;
        calls.resize(stop->index + 1);
        m_found = std::move(*stop);
        return true;
    }

    void DropCalls(std::vector<PlannedCall>& calls)
    {
        // Most faults need only the call that shows them.
        if (std::vector<PlannedCall> alone{calls.back()}; calls.size() > 1 && Keeps(alone)) {
            calls = std::move(alone);
            return;
        }
        for (std::size_t chunk = calls.size() / 2; chunk >= 1; chunk /= 2)
            for (std::size_t at = 0; at < calls.size() && calls.size() > 1;) {
                std::vector<PlannedCall> fewer = calls;
                fewer.erase(fewer.begin() + static_cast<std::ptrdiff_t>(at),
                            fewer.begin() + static_cast<std::ptrdiff_t>(std::min(at + chunk, fewer.size())));
                if (Keeps(fewer))
                    calls = std::move(fewer);
                else
                    at += chunk;
            }
    }

    void ResetFields(std::vector<PlannedCall>& calls)
    {
        for (std::size_t at = 0; at < calls.size(); ++at) {
            const CallInput startup = StartupInput(calls[at].ordinal);
            for (const FieldReset& reset : kFieldResets) {
                std::vector<PlannedCall> simpler = calls;
                reset(simpler[at].input, startup);
                if (ReplayText({simpler[at]}) != ReplayText({calls[at]}) && Keeps(simpler)) calls = std::move(simpler);
            }
        }
    }

private:
    Stop& m_found;
    const Player& m_play;
    int m_triesLeft;
    std::chrono::steady_clock::time_point m_deadline;
};

}  // namespace

std::vector<PlannedCall> Shrink(std::vector<PlannedCall> calls, Stop& found, const Player& play,
                                const ShrinkBudget& budget)
{
    calls.resize(std::min(calls.size(), found.index + 1));
    Shrinker shrinker(found, play, budget);
    shrinker.DropCalls(calls);
    shrinker.ResetFields(calls);
    return calls;
}

}  // namespace check
