// DravelCheck: checks that an overlay library keeps the contract the console relies on (--help
// says how it is used).
//
// The program also runs its own scenarios, one per child process, started with the flags of
// protocol.h.
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "check/run/library_image.h"
#include "check/numbers.h"
#include "check/protocol.h"
#include "check/run/check_run.h"
#include "check/run/replay_run.h"
#include "check/run/reports.h"
#include "check/scenario/replay_play.h"
#include "check/scenario/scenario_process.h"
#include "check/scenario/send.h"
#include "check/scenario/throw_watch.h"
#include "check/text_files.h"
#include "platform/module_path.h"

namespace {

// Fixed, so that two runs send the same inputs unless asked otherwise.
constexpr std::uint32_t kDefaultSeed = 15;
constexpr std::uint32_t kDefaultSamples = 500;

constexpr char kUsage[] =
    "usage: DravelCheck [--json] [--junit FILE] [--seed S] [--samples N] [--repro DIR] [--pictures DIR] [--quiet]\n"
    "                   [DLL]\n"
    "       DravelCheck --replay FILE [DLL]\n"
    "       DravelCheck --help\n";

int Usage()
{
    std::fprintf(stderr, "%sDravelCheck --help tells more.\n", kUsage);
    return 2;
}

int Help()
{
    std::printf(
        "%s\n"
        "Checks that an overlay library (DLL, default: the DRAVEL.dll beside this program) keeps the\n"
        "contract the console relies on, each scenario in a process of its own.\n\n"
        "  --json         the report as JSON on standard output\n"
        "  --junit FILE   also the report as JUnit XML in FILE, one test case per check\n"
        "  --seed S       seed of the random sample (default %u)\n"
        "  --samples N    calls in the random sample (default %u)\n"
        "  --repro DIR    folder for the shrunk reproducer of each failure of the sweep or the\n"
        "                 random sample (default: dravelcheck-repro in the current folder)\n"
        "  --pictures DIR a PNG of the screen after each step of the screen scene, and a sheet\n"
        "                 of them all with the rectangles asked for outlined on them, in DIR\n"
        "  --quiet        no progress on standard error (shown there by default: in place on a\n"
        "                 console, a line as each phase begins when redirected)\n"
        "  --replay FILE  runs a reproducer's calls in a child process and prints each call's\n"
        "                 code; stops at a crash, hang or message box and names the line\n"
        "  --help         this text\n\n"
        "Checks:\n%s\n"
        "Exit codes:\n"
        "  0  kept: every check passed\n"
        "  1  broken: a check failed (--replay: a call crashed, hung or left a box)\n"
        "  2  bad command line (--replay: a line of the file cannot be read)\n"
        "  3  could not judge: the file is no library for this DravelCheck, or a check cannot be\n"
        "     judged on this platform (\"NOT JUDGED n: ...\") and none failed\n",
        kUsage, kDefaultSeed, kDefaultSamples, check::CheckList().c_str());
    return 0;
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? full : path;
}

// A scenario process: the library's calls, and the lines that tell of them.
int RunScenarioProcess(const check::ScenarioOptions& options)
{
    // A crash must end the scenario process quietly, not wait on an error box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    check::ClaimStandardOutput();
    check::WatchThrows();
    // Relative names, the console's "Image.bmp" among them, find the test files.
    SetCurrentDirectoryA(options.files.c_str());
    if (options.scenario == check::kReplayScenario) return check::PlayReplay(options), 0;
    return check::RunScenario(options) ? 0 : Usage();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const auto scenario = check::ScenarioOptions::Parse(arguments)) return RunScenarioProcess(*scenario);
    std::string pictures, library, replay, junit, repro = "dravelcheck-repro";
    std::uint32_t seed = kDefaultSeed, samples = kDefaultSamples;
    bool json = false, quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--json")
            json = true;
        else if (argument == "--quiet")
            quiet = true;
        else if (argument == "--help")
            return Help();
        else if (std::string* text = argument == "--junit"      ? &junit
                                     : argument == "--pictures" ? &pictures
                                     : argument == "--replay"   ? &replay
                                     : argument == "--repro"    ? &repro
                                                                : nullptr;
                 text != nullptr && hasValue)
            *text = argv[++i];
        else if (std::uint32_t* number = argument == "--seed"      ? &seed
                                         : argument == "--samples" ? &samples
                                                                   : nullptr;
                 number != nullptr && hasValue) {
            const auto value = check::DecimalNumber(argv[++i]);
            if (!value) return Usage();
            *number = *value;
        } else if (argument.rfind("--", 0) == 0 || !library.empty())
            return Usage();
        else
            library = argument;
    }
    if (library.empty()) {
        library = platform::ModuleFolder() + "DRAVEL.dll";
    }
    if (!replay.empty()) return check::ReplayCommand(FullPath(replay), FullPath(library));
    const check::CheckOptions options{FullPath(library), seed, samples, FullPath(repro),
                                      pictures.empty() ? "" : FullPath(pictures)};
    const ULONGLONG start = GetTickCount64();
    const auto unjudgeable = check::UnjudgeableImage(options.library);
    const std::unique_ptr<check::Progress> progress = quiet || unjudgeable
                                                          ? std::make_unique<check::NoProgress>()
                                                          : check::ProgressOnStandardError(options.library, !json);
    // The first line at once: the run takes a while.
    if (!json && !unjudgeable) progress->Report(check::TextHeader(options));
    const std::vector<check::CheckResult> results =
        unjudgeable ? check::NotJudged(check::kChecks, *unjudgeable) : check::RunChecks(options, *progress);
    const double seconds = static_cast<double>(GetTickCount64() - start) / 1000;
    if (json)
        progress->Report(check::JsonReport(options, results, seconds));
    else if (unjudgeable)
        progress->Report("NOT JUDGED: " + *unjudgeable + "\n");
    else
        progress->Report(check::TextReport(results, seconds));
    if (!junit.empty() && !check::WriteText(junit, check::JunitReport(options, results, seconds))) {
        std::fprintf(stderr, "DravelCheck: cannot write %s\n", junit.c_str());
        return 2;
    }
    return check::ExitCode(results);
}
