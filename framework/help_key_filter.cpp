#include "framework/help_key_filter.h"

#include <windows.h>

#include "framework/dialog.h"
#include "framework/win_app.h"

namespace fw {

namespace {

// Nested modal dialogs share the one hook of their thread.
thread_local HHOOK t_hook = nullptr;
thread_local int t_users = 0;

bool IsHeld(int virtualKey)
{
    return GetKeyState(virtualKey) < 0;
}

bool IsPlainF1(const MSG& message)
{
    return message.message == WM_KEYDOWN && message.wParam == VK_F1 && !IsHeld(VK_SHIFT) && !IsHeld(VK_CONTROL) &&
           !IsHeld(VK_MENU);
}

// True when the key was taken as the help command.
bool SendHelpCommand(const MSG& message)
{
    const CWinApp* const app = CWinApp::Current();
    const HWND mainWindow = app && app->MainWindow() ? app->MainWindow()->Hwnd() : nullptr;
    // Message boxes and the file dialog run the same loop; F1 there is theirs.
    if (!mainWindow || HelpContextOf(GetAncestor(message.hwnd, GA_ROOT)) == 0) return false;
    SendMessageA(mainWindow, WM_COMMAND, MAKEWPARAM(kHelpCommand, 0), 0);
    return true;
}

LRESULT CALLBACK FilterMessage(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_DIALOGBOX) {
        const MSG& message = *reinterpret_cast<const MSG*>(lParam);
        if (IsPlainF1(message) && SendHelpCommand(message)) return TRUE;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

HelpKeyFilter::HelpKeyFilter()
{
    if (t_users++ == 0) t_hook = SetWindowsHookExA(WH_MSGFILTER, &FilterMessage, nullptr, GetCurrentThreadId());
}

HelpKeyFilter::~HelpKeyFilter()
{
    if (--t_users == 0) UnhookWindowsHookEx(t_hook);
}

}  // namespace fw
