#pragma once

#include <windows.h>

#include <string>

#include "framework/window_text.h"

namespace fw {

// An edit control of a dialog, bound once by DataExchange and used through its text.
class CEdit {
public:
    void Attach(HWND control) { m_hWnd = control; }
    HWND Hwnd() const { return m_hWnd; }

    std::string Text() const { return WindowText(m_hWnd); }
    void SetText(const char* text) const { SetWindowTextA(m_hWnd, text); }

private:
    HWND m_hWnd = nullptr;
};

}  // namespace fw
