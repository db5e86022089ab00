#include "tests/dialog_driver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/window_text.h"
#include "process/dialog_boxes.h"
#include "tests/message_box_hook.h"

namespace tavik::test {

namespace {

using namespace std::chrono_literals;

constexpr UINT kRunWork = WM_APP + 1;
constexpr UINT kSettle = WM_APP + 2;
constexpr UINT kCancelNow = WM_APP + 3;
constexpr UINT_PTR kWatchdogTimer = 1;
constexpr UINT kCancelEveryMs = 200;
constexpr auto kWaitLimit = 5s;
// How long a dialog may stay open after its script has ended.
constexpr auto kEndAfterScript = 2s;
const wchar_t kHelperClass[] = L"TavikDialogDriver";

// The driver of the dialog thread, for the hook and the helper window.
thread_local DialogDriver* t_driver = nullptr;

template <class Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit = kWaitLimit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

BOOL CALLBACK CancelDialog(HWND window, LPARAM)
{
    if (process::IsDialogBox(window)) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

HWND FindDialogOver(DWORD thread, HWND owner)
{
    for (const HWND box : process::DialogBoxesOfThread(thread))
        if (!MessageBoxHook::IsMessageBox(box) && GetWindow(box, GW_OWNER) == owner) return box;
    return nullptr;
}

}  // namespace

std::wstring WideText(HWND window)
{
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

DialogDriver::DialogDriver() : m_thread(GetCurrentThreadId())
{
    WNDCLASSW helperClass{};
    helperClass.lpfnWndProc = &HelperProc;
    helperClass.hInstance = GetModuleHandleW(nullptr);
    helperClass.lpszClassName = kHelperClass;
    RegisterClassW(&helperClass);  // fails harmlessly when an earlier run registered it
    m_helper =
        CreateWindowExW(0, kHelperClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    m_hook = SetWindowsHookExW(WH_CBT, &CbtHook, nullptr, m_thread);
    t_driver = this;
}

DialogDriver::~DialogDriver()
{
    t_driver = nullptr;
    UnhookWindowsHookEx(m_hook);
    DestroyWindow(m_helper);
}

INT_PTR DialogDriver::Run(const std::function<INT_PTR()>& runModal, const Script& script, UINT limitMs)
{
    DialogDriver driver;
    std::thread worker([&] {
        WaitFor([&] {
            driver.m_dialog = FindDialogOver(driver.m_thread, nullptr);
            return driver.m_dialog || driver.m_ended;
        });
        if (!driver.m_dialog) {
            ADD_FAILURE() << "The dialog did not appear";
            return;
        }
        script(driver);
        // A script that stopped early (a failed ASSERT) leaves the dialog open: cancel it now.
        if (!WaitFor([&] { return driver.m_ended.load(); }, kEndAfterScript))
            PostMessageA(driver.m_helper, kCancelNow, 0, 0);
    });
    SetTimer(driver.m_helper, kWatchdogTimer, limitMs, nullptr);
    const INT_PTR result = runModal();
    driver.m_ended = true;
    worker.join();
    return result;
}

HWND DialogDriver::Focus() const
{
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(m_thread, &info);
    return info.hwndFocus;
}

void DialogDriver::Click(int id) const
{
    SendMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
}

void DialogDriver::PostKey(HWND target, UINT virtualKey) const
{
    const LPARAM scanCode = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(target, WM_KEYDOWN, virtualKey, scanCode | 1);
    PostMessageA(target, WM_KEYUP, virtualKey, scanCode | 0xC0000001);
}

void DialogDriver::Type(HWND target, const std::string& text) const
{
    for (const char c : text) PostMessageA(target, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void DialogDriver::Settle()
{
    const unsigned mark = ++m_settlePosted;
    PostMessageA(m_helper, kSettle, mark, 0);
    EXPECT_TRUE(WaitFor([&] { return m_settleHandled >= mark; })) << "The dialog's thread stopped handling input";
}

void DialogDriver::OnDialogThread(const std::function<void()>& work) const
{
    SendMessageA(m_helper, kRunWork, 0, reinterpret_cast<LPARAM>(&work));
}

HWND DialogDriver::WaitForDialogOver(HWND owner) const
{
    HWND found = nullptr;
    WaitFor([&] { return (found = FindDialogOver(m_thread, owner)) != nullptr; });
    return found;
}

bool DialogDriver::WaitUntilGone(HWND window) const
{
    return WaitFor([&] { return !IsWindow(window); });
}

std::vector<ShownBox> DialogDriver::Boxes() const
{
    const std::lock_guard lock(m_mutex);
    return m_boxes;
}

LRESULT CALLBACK DialogDriver::CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && t_driver) t_driver->AnswerIfMessageBox(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void DialogDriver::AnswerIfMessageBox(HWND window)
{
    if (!MessageBoxHook::IsMessageBox(window)) return;
    {
        const std::lock_guard lock(m_mutex);
        // A box is activated again when a window it covered goes away.
        for (const HWND answered : m_answered)
            if (answered == window) return;
        m_answered.push_back(window);
        const auto icon = reinterpret_cast<HICON>(SendMessageA(GetDlgItem(window, 0x440), STM_GETICON, 0, 0));
        m_boxes.push_back({platform::WindowText(GetDlgItem(window, 0xFFFF)), platform::WindowText(window), icon});
    }
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
}

void DialogDriver::Watchdog()
{
    if (!m_overdue.exchange(true)) {
        ADD_FAILURE() << "A dialog was left open (time limit or end of script); the watchdog cancels it";
        SetTimer(m_helper, kWatchdogTimer, kCancelEveryMs, nullptr);
    }
    // Hidden ones too: a dialog stuck before it first shows would hang the run as well.
    EnumThreadWindows(m_thread, CancelDialog, 0);
}

LRESULT CALLBACK DialogDriver::HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
        case kRunWork:
            (*reinterpret_cast<const std::function<void()>*>(lParam))();
            return 0;
        case kSettle:
            if (t_driver) t_driver->m_settleHandled = static_cast<unsigned>(wParam);
            return 0;
        case WM_TIMER:
            if (wParam == kWatchdogTimer && t_driver) t_driver->Watchdog();
            return 0;
        case kCancelNow:
            if (t_driver) t_driver->Watchdog();
            return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tavik::test
