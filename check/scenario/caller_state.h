// What the console, as the library's caller, expects to find unchanged after each call: its
// current directory (the next relative file name depends on it), the error mode, the thread's
// locale, the process's unhandled-exception filter, the mouse (free of a cursor clip and of a
// capture), its window keeping activation and focus, and what host_state.h adds. The x87 and SSE
// state is the calling convention's part. The messages the library leaves in the caller's queue
// are told apart by CheckedLibrary as it dispatches them; the timers and hooks it leaves on the
// thread are noted by thread_ledger.h.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "check/scenario/host_state.h"

namespace check {

// "(left,top)-(right,bottom)".
std::string RectText(const RECT& rect);

// A visible top-level window standing in for the console, active and focused while it lives. By
// default it stands clear of the scene's area, over which it would come and go when another
// checker runs on the same display.
class CallerWindow {
public:
    explicit CallerWindow(const RECT& place = {560, 480, 760, 580});
    ~CallerWindow();
    CallerWindow(const CallerWindow&) = delete;
    CallerWindow& operator=(const CallerWindow&) = delete;

    HWND Handle() const { return m_window; }
    // Takes activation and focus back, as the user clicking the console would.
    void Activate() const;
    // Whether it is in the foreground, active and focused.
    bool HasFocus() const;

    // A message posted to the window just before a call. Still queued when the call returns, it
    // tells that the library left the caller's queue alone; otherwise what the library did with
    // the caller's messages is returned ("dispatched the caller's messages during the call: ...").
    void PostProbe() const;
    std::optional<std::string> TakeProbe() const;

private:
    HWND m_window;
};

struct CallerState {
    std::string directory;
    UINT errorMode;
    LCID threadLocale;
    HWND active;
    HWND focus;
    LPTOP_LEVEL_EXCEPTION_FILTER exceptionFilter;
    RECT cursorClip;
    HWND capture;
    HostState host;
};

CallerState CallerStateNow(const CallerWindow& window);

// What changed from `before` to `after` but the activation and focus, each as "changed ..." or
// "took ..."; empty when nothing.
std::vector<std::string> StateChanges(const CallerState& before, const CallerState& after);

// The activation or focus taken from the caller's window, and whether it went to no window: so it
// goes too when another program takes the foreground and closes its window.
struct FocusTaken {
    std::string what;
    bool toNoWindow;
};
std::optional<FocusTaken> FocusChange(const CallerState& before, const CallerState& after);

// Puts back what the library changed, so that each change is told once, by the call that made it.
void RestoreState(const CallerState& state, const CallerWindow& window);

}  // namespace check
