#pragma once

#include <windows.h>

#include "framework/edit.h"

namespace fw {

// Binds a dialog's control members to their controls; no values are exchanged.
class DataExchange {
public:
    explicit DataExchange(HWND dialog) : m_dialog(dialog) {}

    // Binds on the first exchange of this dialog window; later exchanges find it bound.
    void Control(int id, CEdit& edit) const
    {
        if (!edit.Hwnd() || !IsChild(m_dialog, edit.Hwnd())) edit.Attach(GetDlgItem(m_dialog, id));
    }

private:
    HWND m_dialog;
};

}  // namespace fw
