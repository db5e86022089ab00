#pragma once

#include <windows.h>

#include <string>

#include "framework/window_text.h"

namespace fw {

// An edit control of a dialog, bound once by DataExchange; its text is read and written through
// it, in the system code page.
class CEdit {
public:
    void Attach(HWND control) { m_hWnd = control; }
    HWND Hwnd() const { return m_hWnd; }

    std::string Text() const { return WindowText(m_hWnd); }
    void SetText(const std::string& text) const { SetWindowTextA(m_hWnd, text.c_str()); }

private:
    HWND m_hWnd = nullptr;
};

}  // namespace fw
