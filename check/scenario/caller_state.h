// What the console, as the library's caller, expects to find unchanged after each call: its
// current directory (the next relative file name depends on it), the error mode, the thread's
// locale, and its window keeping activation and focus. The x87 and SSE state is the calling
// convention's part. The messages the library leaves in the caller's queue are told apart by
// CheckedLibrary as it dispatches them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace check {

// A visible top-level window standing in for the console, active and focused while it lives.
class CallerWindow {
public:
    explicit CallerWindow(const RECT& place = {0, 0, 200, 100});
    ~CallerWindow();
    CallerWindow(const CallerWindow&) = delete;
    CallerWindow& operator=(const CallerWindow&) = delete;

    HWND Handle() const { return m_window; }
    // Takes activation and focus back, as the user clicking the console would.
    void Activate() const;
    // Whether it is in the foreground, active and focused.
    bool HasFocus() const;

private:
    HWND m_window;
};

struct CallerState {
    std::string directory;
    UINT errorMode;
    LCID threadLocale;
    HWND active;
    HWND focus;
};

CallerState CallerStateNow();

// What changed from `before` to `after`, each as "changed ..." or "took ..."; empty when nothing.
std::vector<std::string> StateChanges(const CallerState& before, const CallerState& after);

// Puts back what the library changed, so that each change is told once, by the call that made it.
void RestoreState(const CallerState& state, const CallerWindow& window);

}  // namespace check
