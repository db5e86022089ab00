#include "check/run/reproducer.h"

#include <windows.h>

#include "check/replay_file.h"
#include "check/run/replay_run.h"
#include "check/run/shrinker.h"
#include "check/text_files.h"

namespace check {

namespace {

// How long and how often a fault's sequence may be tried while shrinking it; a hang costs 5 s a try.
constexpr ShrinkBudget kShrinkBudget{150, std::chrono::seconds(30)};

}  // namespace

std::string WriteReproducer(std::vector<PlannedCall> calls, const std::string& library, const TestFiles& files,
                            const std::string& folder, const std::string& name)
{
    const std::size_t before = calls.size();
    std::optional<Stop> found = PlayCalls(calls, library, files);
    if (!found) return "no reproducer: the calls replayed did not show it again";
    const Player play = [&](const std::vector<PlannedCall>& candidate) { return PlayCalls(candidate, library, files); };
    calls = Shrink(std::move(calls), *found, play, kShrinkBudget);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".replay";
    const std::string header = "# DravelCheck reproducer for " + library + "\n# " + found->what + "\n# shrunk from " +
                               std::to_string(before) + " calls to " + std::to_string(calls.size()) +
                               "; run it with DravelCheck --replay FILE [DLL]\n";
    if (!WriteText(path, header + ReplayText(calls))) return "no reproducer: " + path + " cannot be written";
    return "reproducer: " + path + ", " + std::to_string(calls.size()) + " of " + std::to_string(before) + " calls";
}

}  // namespace check
