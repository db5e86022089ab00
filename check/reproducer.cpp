#include "check/reproducer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "check/checked_library.h"
#include "check/dll_main.h"
#include "check/library_image.h"
#include "check/protocol.h"
#include "check/replay.h"
#include "check/scenario_child.h"
#include "check/scenarios.h"
#include "check/text_conversions.h"
#include "framework/module_path.h"
#include "process/child.h"

namespace check {

namespace {

// How long and how often a fault's sequence may be tried while shrinking it; a hang costs 5 s a try.
constexpr ULONGLONG kShrinkMs = 30000;
constexpr int kShrinkTries = 150;

std::string LineOf(const std::vector<int>& lines, std::size_t index)
{
    return "line " + std::to_string(index < lines.size() ? lines[index] : 0) + ": ";
}

ReplayEnd PlayFile(const std::string& replayFile, const std::vector<PlannedCall>& calls, const std::vector<int>& lines,
                   const std::string& library, const TestFiles& files)
{
    const ChildRun run = RunChild(process::CommandLine(
        fw::ModuleFileName(), {"--scenario", "replay", "--files", files.folder, "--replay", replayFile, library}));
    ReplayEnd end;
    int started = 0;
    std::string step;  // the library's loading, before the first call
    for (const Line& line : run.lines) {
        if (end.stopped) break;
        const std::size_t index = started > 0 ? static_cast<std::size_t>(started - 1) : 0;
        switch (line.kind) {
            case LineKind::kCall:
                if (line.ordinal != kNoOrdinal)
                    ++started;
                else
                    step = line.text;
                break;
            case LineKind::kDone:
                end.codes.push_back(LineOf(lines, index) + OrdinalName(line.ordinal) + " " + CodeText(line.code));
                break;
            case LineKind::kFinding:
                end.stopped = true;
                end.stopIndex = index;
                end.fault = "finding " + std::to_string(Number(line.finding.check)) + " " +
                            std::to_string(line.finding.ordinal) + " " + line.finding.Text();
                end.what = line.finding.Text();
                end.message = (started > 0 ? LineOf(lines, index) : "") + end.what;
                break;
            case LineKind::kEnding:
            case LineKind::kEnd:
            case LineKind::kMeasure:
            case LineKind::kNote:
            case LineKind::kNotJudged:
                break;
        }
    }
    if (end.stopped || run.finished) return end;
    end.stopped = true;
    end.stopIndex = started > 0 ? static_cast<std::size_t>(started - 1) : 0;
    const std::string name = end.stopIndex < calls.size() ? OrdinalName(calls[end.stopIndex].ordinal) : "the replay";
    end.fault =
        std::to_string(end.stopIndex < calls.size() ? calls[end.stopIndex].ordinal : 0) +
        (run.end == ChildRun::End::kSilent ? " hang" : " exit " + std::to_string(run.exitCode) + " " + run.ending);
    end.what =
        run.end == ChildRun::End::kNotStarted ? "the replay process did not start" : name + " " + CutShortOutcome(run);
    end.message = LineOf(lines, end.stopIndex) + end.what;
    // Before the first call it is the library's DllMain that failed.
    if (const auto dllMain = DllMainFault({kFaultsCheck, kNoOrdinal, started == 0 ? step : "", CutShortOutcome(run)}))
        end.what = end.message = dllMain->outcome;
    return end;
}

// Plays calls made here, from a replay file of their own.
ReplayEnd PlayCalls(const std::vector<PlannedCall>& calls, const std::string& library, const TestFiles& files)
{
    const std::string path = files.folder + "\\candidate.replay";
    WriteText(path, ReplayText(calls));
    std::vector<int> lines(calls.size());
    for (std::size_t i = 0; i < lines.size(); ++i) lines[i] = static_cast<int>(i + 1);
    return PlayFile(path, calls, lines, library, files);
}

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
    Shrinker(const std::string& library, const TestFiles& files, ReplayEnd found)
        : m_library(library), m_files(files), m_found(std::move(found)), m_deadline(GetTickCount64() + kShrinkMs)
    {
    }

    // True, with `calls` cut after the fault, when `calls` still show the same fault.
    bool Keeps(std::vector<PlannedCall>& calls)
    {
        if (m_tries >= kShrinkTries || GetTickCount64() > m_deadline) return false;
        ++m_tries;
        ReplayEnd end = PlayCalls(calls, m_library, m_files);
        if (!end.stopped || end.fault != m_found.fault) return false;
        calls.resize(end.stopIndex + 1);
        m_found = std::move(end);
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

    const ReplayEnd& Found() const { return m_found; }

private:
    const std::string& m_library;
    const TestFiles& m_files;
    ReplayEnd m_found;
    ULONGLONG m_deadline;
    int m_tries = 0;
};

}  // namespace

void PlayReplay(const std::string& libraryPath, const std::string& folder, const std::string& replayFile)
{
    const TestFiles files(folder);
    const Replay replay = ParseReplay(ReadText(replayFile).value_or(""), files);
    CheckedLibrary library(libraryPath);
    if (!Loaded(library, Check::kExports)) return;
    for (const ReplayCall& call : replay.calls) {
        // On this call's stack, as the console holds them.
        const OverlaySurfaceParams params = call.call.input.params;
        const OverlayRect rect = call.call.input.rect;
        if (!library.Call(call.call.ordinal, &params, &rect))
            return SendFinding(
                {Check::kExports, call.call.ordinal, OrdinalLabel(call.call.ordinal), "is not exported"});
    }
    EndWithoutUnloading();
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
    const ReplayEnd end = PlayFile(replayFile, calls, lines, library, files);
    files.Remove();
    std::printf("DravelCheck --replay %s %s\n", replayFile.c_str(), library.c_str());
    for (const std::string& code : end.codes) std::printf("%s\n", code.c_str());
    if (end.stopped)
        std::printf("%s\nstopped: the library does not keep the contract\n", end.message.c_str());
    else
        std::printf("%zu calls, each returned a code\n", end.codes.size());
    return end.stopped ? 1 : 0;
}

std::string WriteReproducer(std::vector<PlannedCall> calls, const std::string& library, const TestFiles& files,
                            const std::string& folder, const std::string& name)
{
    const std::size_t before = calls.size();
    ReplayEnd found = PlayCalls(calls, library, files);
    if (!found.stopped) return "no reproducer: the calls replayed did not show it again";
    calls.resize(found.stopIndex + 1);
    Shrinker shrinker(library, files, std::move(found));
    shrinker.DropCalls(calls);
    shrinker.ResetFields(calls);
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = folder + "\\" + name + ".replay";
    const std::string header = "# DravelCheck reproducer for " + library + "\n# " + shrinker.Found().what +
                               "\n# shrunk from " + std::to_string(before) + " calls to " +
                               std::to_string(calls.size()) + "; run it with DravelCheck --replay FILE [DLL]\n";
    if (!WriteText(path, header + ReplayText(calls))) return "no reproducer: " + path + " cannot be written";
    return "reproducer: " + path + ", " + std::to_string(calls.size()) + " of " + std::to_string(before) + " calls";
}

}  // namespace check
