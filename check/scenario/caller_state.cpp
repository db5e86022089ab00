#include "check/scenario/caller_state.h"

#include "check/numbers.h"
#include "check/scenario/plain_window.h"
#include "check/scenario/thread_messages.h"

namespace check {

namespace {

constexpr char kClassName[] = "DravelCheckCaller";

// Registered on first use. Not a function's static: its thread-safe guard would bring a threads
// library into the program for this one value, and only the scenario's thread asks.
UINT g_probeMessage = 0;

UINT ProbeMessage()
{
    if (g_probeMessage == 0) g_probeMessage = RegisterWindowMessageA("DravelCheck probe");
    return g_probeMessage;
}

bool g_probeDispatched = false;

LRESULT CALLBACK CallerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == ProbeMessage() && message != 0) {
        g_probeDispatched = true;
        return 0;
    }
    // A WM_CLOSE the library posts here is named as its finding; the stand-in stays, so that the
    // checks after it still have a caller's window.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string CurrentDirectory()
{
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof path, path);
    return length > 0 && length < sizeof path ? path : "";
}

}  // namespace

std::string RectText(const RECT& rect)
{
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom) + ")";
}

CallerWindow::CallerWindow(const RECT& place)
    : m_window(
          ShowPlainWindow(kClassName, "DravelCheck caller", WS_OVERLAPPEDWINDOW, 0, nullptr, place, CallerWindowProc))
{
    Activate();
}

CallerWindow::~CallerWindow()
{
    DestroyWindow(m_window);
}

void CallerWindow::Activate() const
{
    SetForegroundWindow(m_window);
    SetActiveWindow(m_window);
    SetFocus(m_window);
    // What activating and painting it queued is handled before the next call.
    UpdateWindow(m_window);
    HandleMessages();
}

bool CallerWindow::HasFocus() const
{
    return GetForegroundWindow() == m_window && GetActiveWindow() == m_window && GetFocus() == m_window;
}

void CallerWindow::PostProbe() const
{
    g_probeDispatched = false;
    PostMessageA(m_window, ProbeMessage(), 0, 0);
}

std::optional<std::string> CallerWindow::TakeProbe() const
{
    MSG message;
    if (PeekMessageA(&message, m_window, ProbeMessage(), ProbeMessage(), PM_REMOVE)) return std::nullopt;
    return g_probeDispatched
               ? "dispatched the caller's messages during the call: the console can be re-entered"
               : "took the caller's messages out of its queue during the call without dispatching them: the console "
                 "loses them";
}

CallerState CallerStateNow(const CallerWindow& window)
{
    // The filter can only be read by setting one; the same one is put back at once.
    const LPTOP_LEVEL_EXCEPTION_FILTER filter = SetUnhandledExceptionFilter(nullptr);
    SetUnhandledExceptionFilter(filter);
    RECT clip{};
    GetClipCursor(&clip);
    return {CurrentDirectory(),
            GetErrorMode(),
            GetThreadLocale(),
            GetActiveWindow(),
            GetFocus(),
            filter,
            clip,
            GetCapture(),
            HostStateNow(window.Handle())};
}

std::vector<std::string> StateChanges(const CallerState& before, const CallerState& after)
{
    std::vector<std::string> changes;
    if (after.directory != before.directory)
        changes.push_back("changed the current directory " + before.directory + " -> " + after.directory);
    if (after.errorMode != before.errorMode)
        changes.push_back("changed the error mode " + Hex(before.errorMode) + " -> " + Hex(after.errorMode));
    if (after.threadLocale != before.threadLocale)
        changes.push_back("changed the thread's locale " + Hex(before.threadLocale) + " -> " + Hex(after.threadLocale));
    if (after.exceptionFilter != before.exceptionFilter)
        changes.push_back("replaced the process's unhandled-exception filter and did not put it back");
    if (!EqualRect(&after.cursorClip, &before.cursorClip))
        changes.push_back("confined the mouse to " + RectText(after.cursorClip) +
                          " (a cursor clip) and did not free it");
    if (after.capture != before.capture && after.capture != nullptr)
        changes.push_back("took the mouse capture and kept it");
    for (std::string& change : HostStateChanges(before.host, after.host)) changes.push_back(std::move(change));
    return changes;
}

std::optional<FocusTaken> FocusChange(const CallerState& before, const CallerState& after)
{
    if (after.active != before.active) return FocusTaken{"took the activation from the caller's window", !after.active};
    if (after.focus != before.focus) return FocusTaken{"took the focus from the caller's window", !after.focus};
    return std::nullopt;
}

void RestoreState(const CallerState& state, const CallerWindow& window)
{
    SetCurrentDirectoryA(state.directory.c_str());
    SetErrorMode(state.errorMode);
    SetThreadLocale(state.threadLocale);
    SetUnhandledExceptionFilter(state.exceptionFilter);
    ClipCursor(&state.cursorClip);
    if (GetCapture() != state.capture) ReleaseCapture();
    RestoreHostState(state.host, window.Handle());
    window.Activate();
}

}  // namespace check
