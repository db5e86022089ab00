// A modal dialog run from a template. The object stays in DWLP_USER while the window lives, and
// every message goes through the derived class's message map, then the framework's own rows, and
// otherwise to the default dialog handling.
#pragma once

#include <windows.h>

#include <span>

#include "framework/data_exchange.h"
#include "framework/message_map.h"

namespace fw {

// The help command: F1 in a dialog of this framework sends it to the application's main window,
// whose dialog hands it to the application.
inline constexpr int kHelpCommand = 57670;
// Help contexts of dialogs: this base plus the dialog's template id.
inline constexpr DWORD kHelpContextBase = 0x20000;
// Asks a window for its help context; only the dialogs of this framework answer (not 0).
inline constexpr UINT kQueryHelpContext = WM_APP + 0x100;

inline DWORD HelpContextOf(HWND window)
{
    return static_cast<DWORD>(SendMessageA(window, kQueryHelpContext, 0, 0));
}

class CDialog {
public:
    // owner: the window the dialog is modal over, or none for a top-level window.
    CDialog(int templateId, HWND owner) : m_templateId(templateId), m_owner(owner) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Shows the dialog and returns once it has ended, with the code it ended with.
    INT_PTR DoModal();

    HWND Hwnd() const { return m_hWnd; }

    // The rows of the derived class, looked up before the framework's own.
    virtual std::span<const MessageMapEntry> MessageMap() const { return {}; }

protected:
    // Binding of control members; called by OnInitDialog and OnOK.
    virtual void DoDataExchange(DataExchange&) {}
    // True lets the platform put the focus on the first tab stop.
    virtual bool OnInitDialog();

    void UpdateData()
    {
        DataExchange exchange(m_hWnd);
        DoDataExchange(exchange);
    }
    // Called by a handler that leaves the current message to the default dialog handling.
    void Default() { m_useDefault = true; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    INT_PTR Dispatch(const Message& message);

    bool HandleInitDialog();
    void OnOK();
    void OnCancel();
    void PassHelpToApplication();
    LRESULT HelpContext() const;

    int m_templateId;
    HWND m_owner;
    HWND m_hWnd = nullptr;
    bool m_useDefault = false;

    // clang-format off
    static constexpr MessageMapEntry kFrameworkMap[] = {
        OnWmInitDialog<&CDialog::HandleInitDialog>(),
        OnCommand<&CDialog::OnOK>(IDOK),
        OnCommand<&CDialog::OnCancel>(IDCANCEL),
        OnCommand<&CDialog::PassHelpToApplication>(kHelpCommand),
        OnQuery<&CDialog::HelpContext>(kQueryHelpContext),
    };
    // clang-format on
};

}  // namespace fw
