// A command's round trip in process, and what the process's private bytes grow by over many of
// them. Each click is one SendMessage from the driver, timed alone, after a warm-up. Scenarios:
//   commands N  the floor and the console's Open button, N clicks each, taken in turn so that the
//               machine's load falls alike on both; the floor is the console's template under a
//               procedure doing the least a command's result needs: call a library answering 0,
//               format the code with "0x%08x" and write it into the result field
//   floor N, open N  one of them alone, for the growth of the process over N clicks
//   bare N      the floor's procedure on a template with only its button and field
//   pairs N     the console with the reference DRAVEL.dll: Open once, then N Set & show / Clear
//               setting pairs (its default file name, Image.bmp, must be in the current folder)
// Prints one CSV row per dialog: name, median round trip us, private KiB before the clicks, after.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "bench/bare_dialog.h"
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

// The same button and result field ids on both templates, so one procedure serves both.
static_assert(IDC_BARE_RUN == IDC_OPEN_RUN && IDC_BARE_RESULT == IDC_OPEN_RESULT);

INT_PTR CALLBACK FloorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_OPEN_RUN) {
        char text[11];
        wsprintfA(text, "0x%08x", kQuietLibrary.open());
        SetWindowTextA(GetDlgItem(dialog, IDC_OPEN_RESULT), text);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

void ShowFloor(int templateId)
{
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, FloorDialogProc, 0);
}

void ShowConsole(const OverlayEntryPoints& library)
{
    tavik::CTavikDlg console(library);
    console.DoModal();
}

// Private bytes: Wine leaves PrivateUsage at zero but counts the same in PagefileUsage, which
// Windows keeps equal to it.
double PrivateKiB()
{
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return double(memory.PagefileUsage) / 1024;
}

// The first rounds fill the platform's caches (the bitmap loader's and the overlay window's take
// a few hundred KiB in the first hundred Set & show rounds); growth is counted after them.
constexpr int kWarmUpRounds = 100;

struct Subject {
    const char* name;
    std::function<void()> showModal;
    std::vector<int> setUp;  // clicked once, untimed, before the private bytes are first read
    std::vector<int> round;  // clicked in this order in each round
    std::atomic<DWORD> thread{0};
    HWND dialog = nullptr;
    std::vector<double> times;
};

BOOL CALLBACK TakeVisibleWindow(HWND window, LPARAM found)
{
    if (!IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// A dialog that does not come up within half a minute ends the run with a message, not a hang.
HWND WaitForDialog(const Subject& subject)
{
    HWND dialog = nullptr;
    for (int waited = 0; !subject.thread || !dialog; ++waited) {
        if (waited == 30000) {
            std::fprintf(stderr, "%s: the dialog did not come up\n", subject.name);
            std::exit(2);
        }
        Sleep(1);
        if (subject.thread) EnumThreadWindows(subject.thread, TakeVisibleWindow, reinterpret_cast<LPARAM>(&dialog));
    }
    return dialog;
}

void Click(HWND dialog, int button)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

double Median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Shows each subject's dialog on a thread of its own, clicks `rounds` rounds, one subject's round
// after the other's, and prints a row for each subject.
void Measure(std::deque<Subject>& subjects, int rounds)
{
    std::vector<std::thread> threads;
    // One dialog comes up before the next thread starts its own.
    for (Subject& subject : subjects) {
        threads.emplace_back([&subject] {
            subject.thread = GetCurrentThreadId();
            subject.showModal();
        });
        subject.dialog = WaitForDialog(subject);
    }
    for (Subject& subject : subjects) {
        for (const int button : subject.setUp) Click(subject.dialog, button);
        for (int i = 0; i < kWarmUpRounds; ++i)
            for (const int button : subject.round) Click(subject.dialog, button);
    }
    const double startKiB = PrivateKiB();

    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < rounds; ++i) {
        for (Subject& subject : subjects) {
            for (const int button : subject.round) {
                QueryPerformanceCounter(&before);
                Click(subject.dialog, button);
                QueryPerformanceCounter(&after);
                subject.times.push_back(1e6 * double(after.QuadPart - before.QuadPart) / double(frequency.QuadPart));
            }
        }
    }
    const double endKiB = PrivateKiB();

    for (Subject& subject : subjects) PostMessageA(subject.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    for (std::thread& thread : threads) thread.join();
    for (const Subject& subject : subjects)
        std::printf("%s,%.2f,%.0f,%.0f\n", subject.name, Median(subject.times), startKiB, endKiB);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string scenario = argc > 1 ? argv[1] : "";
    const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10000;

    const auto floor = [] { ShowFloor(IDD_TAVIK_DIALOG); };
    const auto open = [] { ShowConsole(kQuietLibrary); };
    std::deque<Subject> subjects;  // stays in place: each dialog thread holds its own subject
    if (scenario == "commands" || scenario == "floor") subjects.emplace_back("floor", floor);
    if (scenario == "commands" || scenario == "open") subjects.emplace_back("open", open);
    if (scenario == "bare") subjects.emplace_back("bare", [] { ShowFloor(IDD_BARE_RESULT); });
    if (scenario == "pairs") subjects.emplace_back("pairs", [] { ShowConsole(ImportedOverlay()); });
    if (subjects.empty()) {
        std::fprintf(stderr, "usage: %s commands|floor|open|bare|pairs COUNT\n", argv[0]);
        return 2;
    }
    for (Subject& subject : subjects) {
        const bool pairs = scenario == "pairs";
        subject.setUp = pairs ? std::vector<int>{IDC_OPEN_RUN} : std::vector<int>{};
        subject.round = pairs ? std::vector<int>{IDC_SET_SHOW_RUN, IDC_CLEAR_RUN} : std::vector<int>{IDC_OPEN_RUN};
    }
    Measure(subjects, count);
    return 0;
}
