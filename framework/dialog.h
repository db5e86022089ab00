// A modal dialog run from a template. The object stays in DWLP_USER while the window lives, and
// every message goes through the derived class's message map, then the framework's own rows, and
// otherwise to the default dialog handling.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "framework/message_map.h"

namespace fw {

// The help command: F1 in a dialog of this framework sends it to the application's main window,
// whose dialog hands it to the application. 57670 is 0xE146, in the range 0xE000-0xEFFF that
// application frameworks keep for their standard commands, so no control or command id of an
// application (all below 0xE000) can take it.
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
    // True lets the platform put the focus on the first tab stop.
    virtual bool OnInitDialog() { return true; }

    // The one route to a control's text, in the system code page. The id must be a control of
    // the template: another is a fault of the caller, stopped by an assertion in debug builds;
    // in release it reads as empty and takes no text.
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;

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
    HWND Item(int id) const;

    HWND m_hWnd = nullptr;

    // clang-format off
    static constexpr MessageMapEntry kFrameworkMap[] = {
        OnWmInitDialog<&CDialog::HandleInitDialog>(),
        OnWmCommand<&CDialog::OnOK>(IDOK),
        OnWmCommand<&CDialog::OnCancel>(IDCANCEL),
        OnWmCommand<&CDialog::PassHelpToApplication>(kHelpCommand),
        OnWmApp<&CDialog::HelpContext>(kQueryHelpContext),
    };
    // clang-format on
};

}  // namespace fw
