// The console's template with what the console must do as it opens, done by a bare procedure:
// the version item on the system menu, both icons, the fourteen initial field values and the
// centring. What this program takes above the template alone is the platform's price for those
// effects; what Tavik takes above this program is the cost of its own code.
#include "bench/bare_dialog_proc.h"
#include "framework/centre_window.h"
#include "res/resource.h"
#include "res/texts.h"

namespace {

constexpr int kNumberFields[] = {
    IDC_SURFACE_WIDTH, IDC_SURFACE_HEIGHT, IDC_RED,          IDC_GREEN,        IDC_BLUE,
    IDC_SET_START_X,   IDC_SET_START_Y,    IDC_SET_END_X,    IDC_SET_END_Y,    IDC_MOVE_START_X,
    IDC_MOVE_START_Y,  IDC_MOVE_END_X,     IDC_MOVE_END_Y,
};

void ShowAsConsole(HWND dialog)
{
    const HMENU systemMenu = GetSystemMenu(dialog, FALSE);
    wchar_t item[128];
    LoadStringW(GetModuleHandleW(nullptr), IDS_VERSIONINFO, item, 128);
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_VERSIONINFO, item);

    const HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP));
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    for (const int id : kNumberFields) SetDlgItemInt(dialog, id, 128, FALSE);
    SetDlgItemTextA(dialog, IDC_BITMAP_FILE, tavik::texts::kInitialBitmapFile);
    fw::CentreWindow(dialog);
}

INT_PTR CALLBACK StartupFloorProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) ShowAsConsole(dialog);
    return BareDialogProc(dialog, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_TAVIK_DIALOG), nullptr, StartupFloorProc, 0);
    return 0;
}
