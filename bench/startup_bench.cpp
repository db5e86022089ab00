// Start-up and footprint of a program with a dialog: starts it N times, measures from
// CreateProcess to its window being visible, reads its private bytes there, then ends it with
// IDOK. Prints one CSV row per program: name, median ms, private KiB.
//   startup_bench.exe RUNS NAME EXE CAPTION [NAME EXE CAPTION ...]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Program {
    std::string name, exe, caption;
    std::vector<double> startMs;
    std::vector<double> privateKiB;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool RunOnce(Program& program, bool measure)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + program.exe + "\"";

    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program.exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;

    HWND window = nullptr;
    for (;;) {
        window = FindWindowA(nullptr, program.caption.c_str());
        QueryPerformanceCounter(&now);
        if (window && IsWindowVisible(window)) break;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 ||
            now.QuadPart - start.QuadPart > frequency.QuadPart * 60) {
            TerminateProcess(process.hProcess, 1);
            return false;
        }
        Sleep(1);
    }
    if (measure) program.startMs.push_back(1000.0 * double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart));

    // Private bytes: Wine leaves PrivateUsage at zero but counts the same in PagefileUsage,
    // which Windows keeps equal to it.
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
        if (measure) program.privateKiB.push_back(double(memory.PagefileUsage) / 1024);

    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5 || (argc - 2) % 3 != 0) {
        std::fprintf(stderr, "usage: %s RUNS NAME EXE CAPTION [NAME EXE CAPTION ...]\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    std::vector<Program> programs;
    for (int i = 2; i + 2 < argc; i += 3) programs.push_back({argv[i], argv[i + 1], argv[i + 2], {}, {}});

    // One unmeasured start of each first: a cold start also builds Wine's font caches.
    // Then interleaved, so a slow moment of the machine hits every program alike.
    for (int run = -1; run < runs; ++run)
        for (auto& program : programs)
            if (!RunOnce(program, run >= 0)) {
                std::fprintf(stderr, "%s did not show its window\n", program.exe.c_str());
                return 1;
            }

    for (const auto& program : programs)
        std::printf("%s,%.1f,%.0f\n", program.name.c_str(), Median(program.startMs), Median(program.privateKiB));
    return 0;
}
