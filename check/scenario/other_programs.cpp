#include "check/scenario/other_programs.h"

#include "process/usage.h"

namespace check {

namespace {

// One watch at a time, on the scenario's thread: the system's callback has no parameter of ours.
std::optional<RECT> g_area;
bool g_disturbed = false;

bool Over(HWND window, const RECT& area)
{
    RECT place, common;
    // A window gone already may have been over it.
    return !GetWindowRect(window, &place) || IntersectRect(&common, &place, &area);
}

void CALLBACK Told(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG, DWORD, DWORD)
{
    if (object != OBJID_WINDOW || window == nullptr || !OfOtherProcess(window)) return;
    if (event == EVENT_SYSTEM_FOREGROUND)
        g_disturbed = true;
    else if ((event == EVENT_OBJECT_SHOW || event == EVENT_OBJECT_REORDER || event == EVENT_OBJECT_LOCATIONCHANGE) &&
             g_area && GetAncestor(window, GA_ROOT) == window && Over(window, *g_area))
        g_disturbed = true;
}

struct Cover {
    RECT area;
    HWND ours;
    bool covered = false;
};

// In z-order from the top, until our own window.
BOOL CALLBACK FindCover(HWND window, LPARAM parameter)
{
    auto& cover = *reinterpret_cast<Cover*>(parameter);
    if (window == cover.ours) return FALSE;
    if (IsWindowVisible(window) && OfOtherProcess(window) && Over(window, cover.area)) cover.covered = true;
    return !cover.covered;
}

bool OtherProgramInForeground()
{
    const HWND foreground = GetForegroundWindow();
    return foreground != nullptr && OfOtherProcess(foreground);
}

}  // namespace

bool OfOtherProcess(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process != GetCurrentProcessId();
}

OtherProgramWatch::OtherProgramWatch(std::optional<RECT> area)
    : m_foreground(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, Told, 0, 0,
                                   WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS)),
      m_windows(SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_LOCATIONCHANGE, nullptr, Told, 0, 0,
                                WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS))
{
    g_area = area;
    g_disturbed = false;
}

OtherProgramWatch::~OtherProgramWatch()
{
    if (m_foreground) UnhookWinEvent(m_foreground);
    if (m_windows) UnhookWinEvent(m_windows);
    g_area.reset();
}

bool OtherProgramWatch::Disturbed(HWND ours) const
{
    // What the system has to tell comes with the messages sent to this thread.
    process::TakeSentMessages();
    if (OtherProgramInForeground()) g_disturbed = true;
    if (g_area && ours != nullptr) {
        Cover cover{*g_area, ours};
        EnumWindows(FindCover, reinterpret_cast<LPARAM>(&cover));
        g_disturbed = g_disturbed || cover.covered;
    }
    return g_disturbed;
}

void OtherProgramWatch::Forget() const
{
    g_disturbed = false;
}

void StandAside(int turn)
{
    Sleep(static_cast<DWORD>(400 * turn + 100 * (GetCurrentProcessId() % 8)));
    // Another checker's turn lasts a few seconds; a program that keeps the foreground longer is
    // told by the next turn.
    constexpr int kWaitsForForeground = 100, kWaitMs = 50;
    for (int wait = 0; wait < kWaitsForForeground; ++wait) {
        process::TakeSentMessages();  // the activation's among them
        if (!OtherProgramInForeground()) return;
        Sleep(kWaitMs);
    }
}

}  // namespace check
