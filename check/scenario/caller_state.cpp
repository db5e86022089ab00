#include "check/scenario/caller_state.h"

#include "check/numbers.h"
#include "check/scenario/plain_window.h"

namespace check {

namespace {

constexpr char kClassName[] = "DravelCheckCaller";

std::string CurrentDirectory()
{
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetCurrentDirectoryA(sizeof path, path);
    return length > 0 && length < sizeof path ? path : "";
}

}  // namespace

CallerWindow::CallerWindow(const RECT& place)
    : m_window(ShowPlainWindow(kClassName, "DravelCheck caller", WS_OVERLAPPEDWINDOW, 0, nullptr, place))
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
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

bool CallerWindow::HasFocus() const
{
    return GetForegroundWindow() == m_window && GetActiveWindow() == m_window && GetFocus() == m_window;
}

CallerState CallerStateNow()
{
    return {CurrentDirectory(), GetErrorMode(), GetThreadLocale(), GetActiveWindow(), GetFocus()};
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
    if (after.active != before.active)
        changes.push_back("took the activation from the caller's window");
    else if (after.focus != before.focus)
        changes.push_back("took the focus from the caller's window");
    return changes;
}

void RestoreState(const CallerState& state, const CallerWindow& window)
{
    SetCurrentDirectoryA(state.directory.c_str());
    SetErrorMode(state.errorMode);
    SetThreadLocale(state.threadLocale);
    window.Activate();
}

}  // namespace check
