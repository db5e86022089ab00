// Drives a modal dialog the way a person would, for the tests of the real dialogs: the test's
// thread runs the dialog while a script on a second thread clicks, types and reads it back.
// Every message box shown meanwhile is recorded and answered with OK, and a watchdog cancels
// whatever is still open after a time limit or shortly after the script has ended, so one
// mistake never hangs the run.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace tavik::test {

// A message box as it was shown, read from its controls before it was answered.
struct ShownBox {
    std::string text;  // system code page
    std::string caption;
    HICON icon;
};

class DialogDriver {
public:
    using Script = std::function<void(DialogDriver&)>;

    // Calls runModal (which shows a dialog modally and returns its result) on this thread; once
    // the dialog is visible, runs script on a driver thread. The script should end the dialog.
    // limitMs: time after which the watchdog cancels whatever is still open.
    static INT_PTR Run(const std::function<INT_PTR()>& runModal, const Script& script, UINT limitMs = 10000);

    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }
    // The window that holds the focus on the dialog's thread.
    HWND Focus() const;

    // A button click as the platform sends it; returns once the handler has run.
    void Click(int id) const;
    // Key press (down and up) and typed characters, queued as the keyboard would queue them.
    void PostKey(HWND target, UINT virtualKey) const;
    void Type(HWND target, const std::string& text) const;
    // Waits until everything posted to the dialog's thread so far has been handled. Not for
    // input that ends the dialog: nothing is handled after that.
    void Settle();
    // Runs work on the dialog's thread (for the state only that thread sees, such as its keys).
    void OnDialogThread(const std::function<void()>& work) const;

    // A dialog (not a message box) opened over owner, once it is visible; nullptr on timeout.
    HWND WaitForDialogOver(HWND owner) const;
    // True once the window is gone.
    bool WaitUntilGone(HWND window) const;

    std::vector<ShownBox> Boxes() const;

private:
    DialogDriver();
    ~DialogDriver();

    static LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    void AnswerIfMessageBox(HWND window);
    void Watchdog();

    DWORD m_thread;
    HWND m_helper = nullptr;
    HHOOK m_hook = nullptr;
    HWND m_dialog = nullptr;
    std::atomic<bool> m_ended{false};
    std::atomic<bool> m_overdue{false};
    std::atomic<unsigned> m_settlePosted{0};
    std::atomic<unsigned> m_settleHandled{0};
    mutable std::mutex m_mutex;
    std::vector<ShownBox> m_boxes;
    std::vector<HWND> m_answered;
};

// Text of a window as UTF-16, for comparing with the resources' own texts.
std::wstring WideText(HWND window);

}  // namespace tavik::test
