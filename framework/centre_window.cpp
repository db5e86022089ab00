#include "framework/centre_window.h"

#include <algorithm>

namespace fw {

namespace {

int Width(const RECT& r)
{
    return r.right - r.left;
}

int Height(const RECT& r)
{
    return r.bottom - r.top;
}

// The start of a span of `size` centred over [areaStart, areaStart + areaSize), moved back into
// [workStart, workEnd) where it would stick out.
int CentredStart(int areaStart, int areaSize, int size, int workStart, int workEnd)
{
    const int start = areaStart + (areaSize - size) / 2;
    return std::max(workStart, std::min(start, workEnd - size));
}

}  // namespace

void CentreWindow(HWND window)
{
    const HWND owner = GetWindow(window, GW_OWNER);
    const bool overOwner = owner && IsWindowVisible(owner) && !IsIconic(owner);

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(overOwner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;

    RECT area = work;
    if (overOwner) GetWindowRect(owner, &area);
    RECT own;
    GetWindowRect(window, &own);

    const int x = CentredStart(area.left, Width(area), Width(own), work.left, work.right);
    const int y = CentredStart(area.top, Height(area), Height(own), work.top, work.bottom);
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace fw
