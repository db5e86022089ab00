#pragma once

#include <windows.h>

#include "framework/dialog.h"
#include "res/resource.h"

namespace tavik {

// The version information box, opened from the console's system menu. Everything it does (OK,
// Escape and its close box end it) is the framework's default handling.
class CVersionInfoDlg : public fw::CDialog {
public:
    explicit CVersionInfoDlg(HWND owner) : CDialog(IDD_VERSIONINFO, owner) {}
};

}  // namespace tavik
