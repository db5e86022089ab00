// A command's round trip in process: the console's Open button clicked N times (a fake library
// answering 0) against the same number of clicks on the bare dialog, which handles nothing.
// Each click is one SendMessage from a driver thread, timed alone. Also reads the process's
// private bytes once the dialog is up and after the clicks.
// Prints CSV rows: name, median round trip us, private KiB after start-up, after the clicks.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

#include "bench/bare_dialog.h"
#include "bench/bare_dialog_proc.h"
#include "console/tavik_dlg.h"

namespace {

OverlayResult OVERLAY_CALL Succeed()
{
    return 0;
}
OverlayResult OVERLAY_CALL SucceedSet(const OverlaySurfaceParams*, const OverlayRect*)
{
    return 0;
}
OverlayResult OVERLAY_CALL SucceedMove(const OverlayRect*)
{
    return 0;
}
constexpr OverlayEntryPoints kQuietLibrary{Succeed, Succeed, SucceedSet, SucceedMove, Succeed};

// Private bytes: Wine leaves PrivateUsage at zero but counts the same in PagefileUsage, which
// Windows keeps equal to it.
double PrivateKiB()
{
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return double(memory.PagefileUsage) / 1024;
}

struct Result {
    double medianUs, startKiB, endKiB;
};

// Runs showModal on this thread; a driver thread waits for the window with the caption, clicks
// `button` `clicks` times, then ends the dialog.
Result Measure(const char* caption, int button, int clicks, const std::function<void()>& showModal)
{
    Result result{};
    std::thread driver([&] {
        HWND dialog = nullptr;
        while (!(dialog = FindWindowA(nullptr, caption)) || !IsWindowVisible(dialog)) Sleep(1);
        result.startKiB = PrivateKiB();

        LARGE_INTEGER frequency, before, after;
        QueryPerformanceFrequency(&frequency);
        const HWND control = GetDlgItem(dialog, button);
        const WPARAM click = MAKEWPARAM(button, BN_CLICKED);
        std::vector<double> times;
        times.reserve(clicks);
        for (int i = 0; i < clicks; ++i) {
            QueryPerformanceCounter(&before);
            SendMessageA(dialog, WM_COMMAND, click, reinterpret_cast<LPARAM>(control));
            QueryPerformanceCounter(&after);
            times.push_back(1e6 * double(after.QuadPart - before.QuadPart) / double(frequency.QuadPart));
        }
        result.endKiB = PrivateKiB();
        std::nth_element(times.begin(), times.begin() + clicks / 2, times.end());
        result.medianUs = times[clicks / 2];
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    showModal();
    driver.join();
    return result;
}

void Print(const char* name, const Result& result)
{
    std::printf("%s,%.2f,%.0f,%.0f\n", name, result.medianUs, result.startKiB, result.endKiB);
}

}  // namespace

int main(int argc, char** argv)
{
    const int clicks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10000;

    // The bare dialog's only button ends it, so it is sent a command for a control it lacks.
    Print("bare", Measure("Bare", IDC_OPEN_RUN, clicks, [] {
              DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BARE), nullptr, BareDialogProc, 0);
          }));
    Print("tavik", Measure("Tavik", IDC_OPEN_RUN, clicks, [] {
              CTavikDlg console(kQuietLibrary);
              console.DoModal();
          }));
    return 0;
}
