#include "console/tavik_dlg.h"

#include "console/browse_bitmap.h"
#include "console/commands.h"
#include "console/open_file_bitmap_source.h"
#include "console/picture_fields.h"
#include "console/version_info_dlg.h"
#include "res/texts.h"

namespace tavik {

namespace {

// The console opens as if a 128 × 128 picture had been picked, in black.
constexpr std::uint32_t kInitialPictureSide = 128;
constexpr NumberWrite kInitialColour[] = {{IDC_RED, 0}, {IDC_GREEN, 0}, {IDC_BLUE, 0}};

// The menu string is UTF-16 in the resources; the wide calls keep it exact whatever the system
// code page.
void AddVersionItem(HMENU systemMenu)
{
    const wchar_t* text = nullptr;
    // A zero buffer size returns a pointer to the resource text itself, not NUL-terminated.
    const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_VERSIONINFO, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0) return;
    const std::wstring item(text, static_cast<std::size_t>(length));
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, IDM_VERSIONINFO, item.c_str());
}

}  // namespace

CTavikDlg::CTavikDlg(const OverlayEntryPoints& overlay)
    : CDialog(IDD_TAVIK_DIALOG, nullptr),
      m_overlay(overlay),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP)))
{
}

bool CTavikDlg::OnInitDialog()
{
    if (const HMENU systemMenu = GetSystemMenu(Hwnd(), FALSE)) AddVersionItem(systemMenu);
    SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    const PictureFields picture = FieldsForPicture(kInitialPictureSide, kInitialPictureSide);
    WriteNumbers(m_console, picture.surface);
    WriteNumbers(m_console, kInitialColour);
    m_console.WriteText(IDC_BITMAP_FILE, texts::kInitialBitmapFile);
    WriteNumbers(m_console, picture.rectangles);
    return true;
}

bool CTavikDlg::OnSysCommand(UINT command, POINT)
{
    if (command != IDM_VERSIONINFO) return false;
    CVersionInfoDlg(Hwnd()).DoModal();
    return true;
}

// The console has no minimise box, but the platform can still minimise it; it then shows its
// icon centred in what is left of the client area.
bool CTavikDlg::OnPaint()
{
    if (!IsIconic(Hwnd())) return false;
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Hwnd(), &paint);
    SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(Hwnd(), &paint);
    return true;
}

void CTavikDlg::OnOpenRun()
{
    RunOpen(m_console, m_overlay);
}

void CTavikDlg::OnCloseRun()
{
    RunClose(m_console, m_overlay);
}

void CTavikDlg::OnSetShowRun()
{
    RunSetAndShow(m_console, m_overlay);
}

void CTavikDlg::OnMoveShowRun()
{
    RunMoveAndShow(m_console, m_overlay);
}

void CTavikDlg::OnClearRun()
{
    RunClearSetting(m_console, m_overlay);
}

void CTavikDlg::OnBrowseBitmap()
{
    OpenFileBitmapSource files(Hwnd());
    RunBrowseBitmap(m_console, files);
}

void CTavikDlg::ConsoleAdapter::ShowStopBox(const char* text, const char* caption)
{
    MessageBoxA(m_dialog.Hwnd(), text, caption, MB_ICONHAND | MB_OK);
}

}  // namespace tavik
