// DravelCheck [--json] [--seed S] [--samples N] [--pictures DIR] [DLL]: checks that an overlay
// library keeps the contract the console relies on. DLL defaults to the DRAVEL.dll beside this
// program. Exit code 0 when every check passes, 1 when one does not, 2 for a bad command line. With
// --pictures the screen scene writes a PNG of each step and a sheet of them all into DIR.
//
// The program also runs its own scenarios, one per child process: --scenario NAME --files DIR
// [--skip CALLS] [--pictures DIR].
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "check/check_run.h"
#include "check/child_process.h"
#include "check/protocol.h"
#include "check/reports.h"
#include "check/scenarios.h"
#include "framework/module_path.h"

namespace {

// Fixed, so that two runs send the same inputs unless asked otherwise.
constexpr std::uint32_t kDefaultSeed = 15;
constexpr std::uint32_t kDefaultSamples = 500;

int Usage()
{
    std::fputs("usage: DravelCheck [--json] [--seed S] [--samples N] [--pictures DIR] [DLL]\n", stderr);
    return 2;
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH * 4] = {};
    const DWORD length = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return length > 0 && length < sizeof full ? full : path;
}

bool ReadNumber(const char* text, std::uint32_t& number)
{
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    number = static_cast<std::uint32_t>(value);
    return *text != '\0' && *end == '\0' && value <= 0xFFFFFFFFULL;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string scenario, files, pictures, library;
    std::uint32_t seed = kDefaultSeed, samples = kDefaultSamples, skip = 0;
    bool json = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--json")
            json = true;
        else if (argument == "--scenario" && hasValue)
            scenario = argv[++i];
        else if (argument == "--files" && hasValue)
            files = argv[++i];
        else if (argument == "--pictures" && hasValue)
            pictures = argv[++i];
        else if (argument == "--seed" && hasValue) {
            if (!ReadNumber(argv[++i], seed)) return Usage();
        } else if (argument == "--samples" && hasValue) {
            if (!ReadNumber(argv[++i], samples)) return Usage();
        } else if (argument == "--skip" && hasValue) {
            if (!ReadNumber(argv[++i], skip)) return Usage();
        } else if (argument.rfind("--", 0) == 0 || !library.empty())
            return Usage();
        else
            library = argument;
    }
    if (library.empty()) {
        library = fw::ModuleFolder() + "DRAVEL.dll";
    }

    if (!scenario.empty()) {
        // A crash must end the scenario process quietly, not wait on an error box.
        SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
        check::ClaimStandardOutput();
        return check::RunScenario(scenario, {check::Check{}, library, files, seed, samples, skip, pictures}) ? 0
                                                                                                             : Usage();
    }
    const check::CheckOptions options{FullPath(library), seed, samples, pictures.empty() ? "" : FullPath(pictures)};
    const std::vector<check::CheckResult> results = check::RunChecks(options);
    const std::string report = json ? check::JsonReport(options, results) : check::TextReport(options, results);
    std::fputs(report.c_str(), stdout);
    return check::AllPassed(results) ? 0 : 1;
}
