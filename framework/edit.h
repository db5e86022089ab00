#pragma once

#include <windows.h>

namespace fw {

// An edit control of a dialog, bound once by DataExchange; its text is read and written through
// its window.
class CEdit {
public:
    void Attach(HWND control) { m_hWnd = control; }
    HWND Hwnd() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};

}  // namespace fw
