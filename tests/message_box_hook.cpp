#include "tests/message_box_hook.h"

#include <atomic>
#include <utility>

#include "process/dialog_boxes.h"

namespace tavik::test {

namespace {

std::atomic<MessageBoxHook*> g_hook{nullptr};

}  // namespace

MessageBoxHook::MessageBoxHook(DWORD thread, std::function<bool(HWND box)> onBox) : m_onBox(std::move(onBox))
{
    g_hook = this;
    m_hook = SetWindowsHookExW(WH_CBT, &Hook, nullptr, thread);
}

MessageBoxHook::~MessageBoxHook()
{
    UnhookWindowsHookEx(m_hook);
    g_hook = nullptr;
}

// A message box has an icon static (0x440) and a text static (0xFFFF); the console has labels
// of id 0xFFFF too, but no icon static.
bool MessageBoxHook::IsMessageBox(HWND window)
{
    const HWND icon = GetDlgItem(window, 0x440);
    return process::IsDialogBox(window) && icon && (GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
           GetDlgItem(window, 0xFFFF);
}

LRESULT CALLBACK MessageBoxHook::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxHook* const self = g_hook;
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE && self && IsMessageBox(window)) {
        if (window != self->m_lastBox) {
            self->m_lastBox = window;
            self->m_passOn = self->m_onBox(window);
        }
        if (!self->m_passOn) return 0;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace tavik::test
