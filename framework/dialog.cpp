#include "framework/dialog.h"

#include <cassert>
#include <exception>

#include "framework/centre_window.h"
#include "framework/help_key_filter.h"
#include "framework/win_app.h"
#include "platform/window_text.h"

namespace fw {

INT_PTR CDialog::DoModal()
{
    const HelpKeyFilter helpKey;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), m_owner,
                                           &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    m_hWnd = nullptr;
    return result;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        reinterpret_cast<CDialog*>(lParam)->m_hWnd = window;
    }
    auto* const dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    // A few messages (WM_SETFONT among them) arrive before WM_INITDIALOG has brought the object.
    if (!dialog) return FALSE;
    try {
        return dialog->Dispatch({message, wParam, lParam});
    } catch (const std::exception& error) {
        // Nothing may unwind through the platform's frames: report it here and carry on.
        MessageBoxA(window, error.what(), nullptr, MB_ICONHAND | MB_OK);
        return TRUE;
    }
}

INT_PTR CDialog::Dispatch(const Message& message)
{
    for (const std::span<const MessageMapEntry> map : {MessageMap(), std::span<const MessageMapEntry>(kFrameworkMap)}) {
        for (const MessageMapEntry& row : map) {
            if (row.Matches(message)) return row.handler(*this, message);
        }
    }
    return FALSE;
}

// The framework places its dialogs, not their templates: each is centred once it is set up and
// before it is shown.
bool CDialog::HandleInitDialog()
{
    const bool focusFirstTabStop = OnInitDialog();
    CentreWindow(m_hWnd);
    return focusFirstTabStop;
}

void CDialog::OnOK()
{
    EndDialog(m_hWnd, IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(m_hWnd, IDCANCEL);
}

void CDialog::PassHelpToApplication()
{
    if (CWinApp* app = CWinApp::Current()) app->OnHelp();
}

LRESULT CDialog::HelpContext() const
{
    return kHelpContextBase + m_templateId;
}

HWND CDialog::Item(int id) const
{
    const HWND item = GetDlgItem(m_hWnd, id);
    assert(item && "no control with this id in the dialog");
    return item;
}

std::string CDialog::GetItemText(int id) const
{
    return platform::WindowText(Item(id));
}

void CDialog::SetItemText(int id, const std::string& text) const
{
    SetWindowTextA(Item(id), text.c_str());
}

}  // namespace fw
