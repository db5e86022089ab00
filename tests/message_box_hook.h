// Sees each message box of one thread as it comes up, ahead of the hooks set before it (such as
// a DialogDriver's, which records and answers every box).
#pragma once

#include <windows.h>

#include <functional>

namespace tavik::test {

class MessageBoxHook {
public:
    // onBox runs on that thread while the box is up; it returns true to pass the box on to the
    // earlier hooks, false when it has dealt with the box itself. One hook at a time.
    MessageBoxHook(DWORD thread, std::function<bool(HWND box)> onBox);
    ~MessageBoxHook();
    MessageBoxHook(const MessageBoxHook&) = delete;
    MessageBoxHook& operator=(const MessageBoxHook&) = delete;

    static bool IsMessageBox(HWND window);

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    std::function<bool(HWND)> m_onBox;
    HHOOK m_hook;
    // A box is activated again when a window over it goes away; it is then treated as before.
    HWND m_lastBox = nullptr;
    bool m_passOn = true;
};

}  // namespace tavik::test
