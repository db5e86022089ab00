// How the reference overlay's calls scale with the surface: for each square surface side S, Set &
// show with a rectangle of at most 1024² and Move & show to a rectangle of the same size 10 pixels
// away (first call, then the median of 21); Set & show with a 1024² rectangle and with a
// screen-sized one whatever S is; Set & show with an S² rectangle and a same-size Move & show of
// that; and the process's private memory after Set & show and at its peak during it. DRAVEL.dll is
// loaded with LoadLibrary and bound by ordinal, as the program binds it. Each time includes
// handling the messages the call left, since the platform may finish showing a window only then.
// With --bare, the same calls go to a bare layered window instead: sized, shown and its on-screen
// part filled with the colour, which is what the platform itself costs.
// Prints CSV rows: S, Set ms (rect ≤ 1024²), Set ms (1024²), Set ms (screen), Set ms (S²), Move
// first ms, Move median ms, Move median ms (S²), private MB after Set (1024²), after Set (S²), rise
// of private MB at its peak during Set (1024²), during Set (S²).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "bitmap/bmp_writer.h"
#include "overlay/overlay_entry_points.h"
#include "overlay/overlay_ordinals.h"
#include "overlay/overlay_result_text.h"

namespace {

template <typename Function>
Function Ordinal(HMODULE module, int ordinal)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}

OverlayEntryPoints Bind(HMODULE module)
{
    return {Ordinal<decltype(OverlayEntryPoints::open)>(module, overlay::kOpen),
            Ordinal<decltype(OverlayEntryPoints::close)>(module, overlay::kClose),
            Ordinal<decltype(OverlayEntryPoints::setAndShow)>(module, overlay::kSetAndShow),
            Ordinal<decltype(OverlayEntryPoints::moveAndShow)>(module, overlay::kMoveAndShow),
            Ordinal<decltype(OverlayEntryPoints::clearSetting)>(module, overlay::kClearSetting)};
}

// The platform's part of a Set & show alone: a window made as the overlay's is, placed at the
// rectangle and its on-screen part filled with the colour; no surface, picture or image of ours.
namespace bare {

HWND g_window = nullptr;

OverlayResult OVERLAY_CALL Open()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "BareOverlay";
    RegisterClassA(&windowClass);
    g_window = CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                               windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               windowClass.hInstance, nullptr);
    return g_window && SetLayeredWindowAttributes(g_window, 0, 255, LWA_ALPHA) ? 0 : 1;
}

OverlayResult OVERLAY_CALL Close()
{
    return DestroyWindow(g_window) ? 0 : 1;
}

OverlayResult OVERLAY_CALL SetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    const int x = int(rect->startX), y = int(rect->startY);
    if (!SetWindowPos(g_window, HWND_TOPMOST, x, y, int(rect->endX) - x, int(rect->endY) - y,
                      SWP_NOACTIVATE | SWP_SHOWWINDOW))
        return 1;
    const RECT onScreen{0, 0, GetSystemMetrics(SM_CXSCREEN) - x, GetSystemMetrics(SM_CYSCREEN) - y};
    const HDC dc = GetDC(g_window);
    const HBRUSH brush = CreateSolidBrush(RGB(params->red, params->green, params->blue));
    FillRect(dc, &onScreen, brush);
    DeleteObject(brush);
    ReleaseDC(g_window, dc);
    return 0;
}

OverlayResult OVERLAY_CALL MoveAndShow(const OverlayRect* rect)
{
    return SetWindowPos(g_window, HWND_TOPMOST, int(rect->startX), int(rect->startY), 0, 0,
                        SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW)
               ? 0
               : 1;
}

OverlayResult OVERLAY_CALL ClearSetting()
{
    ShowWindow(g_window, SW_HIDE);
    return 0;
}

}  // namespace bare

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

double NowMs()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return 1e3 * double(now.QuadPart) / double(frequency.QuadPart);
}

// Wine leaves PrivateUsage at zero but counts committed private memory in PagefileUsage.
double PrivateMB()
{
    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return double(memory.PagefileUsage) / (1024 * 1024);
}

// Wine keeps no peak of private memory, so a thread reads it over and over while the call runs.
class PrivatePeak {
public:
    PrivatePeak() : m_peak(PrivateMB()), m_reader(&PrivatePeak::Read, this) {}
    double Stop()
    {
        m_done = true;
        m_reader.join();
        return m_peak;
    }

private:
    void Read()
    {
        while (!m_done) m_peak = std::max(m_peak.load(), PrivateMB());
    }

    std::atomic<double> m_peak;
    std::atomic<bool> m_done{false};
    std::thread m_reader;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class Bench {
public:
    Bench(const OverlayEntryPoints& overlay, const std::string& picture) : m_overlay(overlay), m_picture(picture) {}

    void Row(int side, int rounds)
    {
        const int smallSide = std::min(side, 1024);
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
        std::vector<double> setSmall, setWindow, setScreen, setFull, moveFirst, moveMedian, moveFullMedian,
            privateWindow, privateFull;
        for (int round = 0; round < rounds; ++round) {
            setSmall.push_back(Timed(Set(side, smallSide, smallSide)));
            moveFirst.push_back(Timed(Move(10, smallSide)));
            moveMedian.push_back(MoveMedian(smallSide));
            Check(m_overlay.clearSetting());

            setWindow.push_back(Timed(Set(side, 1024, 1024)));
            privateWindow.push_back(PrivateMB());
            Check(m_overlay.clearSetting());

            setScreen.push_back(Timed(Set(side, screenWidth, screenHeight)));
            Check(m_overlay.clearSetting());

            setFull.push_back(Timed(Set(side, side, side)));
            privateFull.push_back(PrivateMB());
            moveFullMedian.push_back(MoveMedian(side));
            Check(m_overlay.clearSetting());
        }
        const double peakWindow = PeakRise(Set(side, 1024, 1024));
        const double peakFull = PeakRise(Set(side, side, side));
        std::printf("%d,%.1f,%.1f,%.1f,%.1f,%.2f,%.2f,%.2f,%.1f,%.1f,%.1f,%.1f\n", side, Median(setSmall),
                    Median(setWindow), Median(setScreen), Median(setFull), Median(moveFirst), Median(moveMedian),
                    Median(moveFullMedian), Median(privateWindow), Median(privateFull), peakWindow, peakFull);
        std::fflush(stdout);
    }

private:
    struct Call {
        OverlaySurfaceParams params;
        OverlayRect rect;
        bool move;
    };

    Call Set(int side, int rectWidth, int rectHeight) const
    {
        Call call{};
        call.params.width = call.params.height = side;
        call.params.red = 30;
        call.params.green = 100;
        call.params.blue = 200;
        std::strncpy(call.params.bitmapFile, m_picture.c_str(), sizeof call.params.bitmapFile - 1);
        call.rect = {0, 0, std::uint32_t(rectWidth), std::uint32_t(rectHeight)};
        return call;
    }

    static Call Move(int x, int rectSide)
    {
        Call call{};
        call.rect = {std::uint32_t(x), 0, std::uint32_t(x + rectSide), std::uint32_t(rectSide)};
        call.move = true;
        return call;
    }

    double Timed(const Call& call) const
    {
        const double start = NowMs();
        Check(call.move ? m_overlay.moveAndShow(&call.rect) : m_overlay.setAndShow(&call.params, &call.rect));
        PumpMessages();
        return NowMs() - start;
    }

    // How far private memory rises during the call at its peak; not a timing, as the reading
    // thread takes a core.
    double PeakRise(const Call& call) const
    {
        const double before = PrivateMB();
        PrivatePeak peak;
        Timed(call);
        const double rise = peak.Stop() - before;
        Check(m_overlay.clearSetting());
        return rise;
    }

    // 21 moves between two places 10 pixels apart, the same size as shown.
    double MoveMedian(int rectSide) const
    {
        std::vector<double> times;
        for (int i = 0; i < 21; ++i) times.push_back(Timed(Move(i % 2 ? 10 : 0, rectSide)));
        return Median(times);
    }

    static void Check(OverlayResult result)
    {
        if (result == 0) return;
        std::fprintf(stderr, "overlay call failed: %s\n", overlay::ResultText(result).c_str());
        std::exit(1);
    }

    OverlayEntryPoints m_overlay;
    std::string m_picture;
};

}  // namespace

// Arguments: rounds per side (the median is kept), --bare for the bare window, then the sides,
// ascending. With --screen-kb alone, prints the KiB of the screen's pixels at 4 bytes each.
int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--screen-kb") == 0) {
        std::printf("%d\n", GetSystemMetrics(SM_CXSCREEN) * GetSystemMetrics(SM_CYSCREEN) * 4 / 1024);
        return 0;
    }
    const bool bare = argc > 2 && std::strcmp(argv[2], "--bare") == 0;
    if (argc < 3 + bare) {
        std::fprintf(stderr, "usage: overlay_scaling_bench ROUNDS [--bare] SIDE...\n");
        return 2;
    }
    const HMODULE module = bare ? nullptr : LoadLibraryA("DRAVEL.dll");
    if (!bare && !module) {
        std::fprintf(stderr, "DRAVEL.dll not found\n");
        return 1;
    }
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string picture = std::string(folder) + "overlay_scaling_bench.bmp";
    // A 96 × 64 24-bit picture, the size of the console's sample.
    if (!tavik::bmp::Save(picture, tavik::bmp::Build({.width = 96, .height = 64}))) return 1;

    const OverlayEntryPoints overlay =
        bare ? OverlayEntryPoints{bare::Open, bare::Close, bare::SetAndShow, bare::MoveAndShow, bare::ClearSetting}
             : Bind(module);
    if (overlay.open() != 0) return 1;
    Bench bench(overlay, picture);
    const int rounds = std::max(1, std::atoi(argv[1]));
    for (int i = 2 + bare; i < argc; ++i) bench.Row(std::atoi(argv[i]), rounds);
    overlay.close();
    DeleteFileA(picture.c_str());
    return 0;
}
