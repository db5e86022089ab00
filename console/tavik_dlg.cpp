#include "console/tavik_dlg.h"

#include "console/browse_bitmap.h"
#include "console/commands.h"
#include "console/open_file_bitmap_source.h"
#include "console/picture_fields.h"
#include "console/unsigned_text.h"
#include "console/version_info_dlg.h"
#include "framework/window_text.h"
#include "res/texts.h"

namespace {

// The console opens as if a 128 × 128 picture had been picked, in black.
constexpr std::uint32_t kInitialPictureSide = 128;
constexpr tavik::NumberWrite kInitialColour[] = {{IDC_RED, 0}, {IDC_GREEN, 0}, {IDC_BLUE, 0}};

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

void CTavikDlg::DoDataExchange(fw::DataExchange& exchange)
{
    for (const auto& [id, edit] : kEditFields) exchange.Control(id, this->*edit);
}

bool CTavikDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    if (const HMENU systemMenu = GetSystemMenu(Hwnd(), FALSE)) AddVersionItem(systemMenu);
    SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    const tavik::PictureFields picture = tavik::FieldsForPicture(kInitialPictureSide, kInitialPictureSide);
    tavik::WriteNumbers(*this, picture.surface);
    tavik::WriteNumbers(*this, kInitialColour);
    ReplaceText(IDC_BITMAP_FILE, tavik::texts::kInitialBitmapFile);
    tavik::WriteNumbers(*this, picture.rectangles);
    return true;
}

void CTavikDlg::OnSysCommand(UINT command, LPARAM)
{
    // The platform keeps the low four bits of a system command for itself.
    if ((command & 0xFFF0) == IDM_VERSIONINFO) {
        CVersionInfoDlg(Hwnd()).DoModal();
        return;
    }
    Default();
}

// The console has no minimise box, but the platform can still minimise it; it then shows its
// icon centred in what is left of the client area.
void CTavikDlg::OnPaint()
{
    if (!IsIconic(Hwnd())) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Hwnd(), &paint);
    SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, m_hIcon);
    EndPaint(Hwnd(), &paint);
}

void CTavikDlg::OnOpenRun()
{
    tavik::RunOpen(*this, m_overlay);
}

void CTavikDlg::OnCloseRun()
{
    tavik::RunClose(*this, m_overlay);
}

void CTavikDlg::OnSetShowRun()
{
    tavik::RunSetAndShow(*this, m_overlay);
}

void CTavikDlg::OnMoveShowRun()
{
    tavik::RunMoveAndShow(*this, m_overlay);
}

void CTavikDlg::OnClearRun()
{
    tavik::RunClearSetting(*this, m_overlay);
}

void CTavikDlg::OnBrowseBitmap()
{
    tavik::OpenFileBitmapSource files(Hwnd());
    tavik::RunBrowseBitmap(*this, files);
}

// Read as text and parsed strictly: the platform's own integer read takes "-1" and "12abc".
std::optional<std::uint32_t> CTavikDlg::ReadUnsigned(int id)
{
    return tavik::ParseUnsignedDecimal(fw::WindowText(GetDlgItem(Hwnd(), id)));
}

void CTavikDlg::WriteUnsigned(int id, std::uint32_t value)
{
    SetDlgItemInt(Hwnd(), id, value, FALSE);
}

std::string CTavikDlg::ReadText(int id)
{
    return Edit(id).Text();
}

void CTavikDlg::ReplaceText(int id, const std::string& text)
{
    Edit(id).SetText(text);
}

void CTavikDlg::ShowStopBox(const char* text, const char* caption)
{
    MessageBoxA(Hwnd(), text, caption, MB_ICONHAND | MB_OK);
}

// Text goes through the bound member of its field; the commands read and write text in no other.
// The program throws nothing, so another id meets an edit bound to no window: it reads as empty
// and takes no text.
const fw::CEdit& CTavikDlg::Edit(int id) const
{
    static const fw::CEdit unbound;
    for (const auto& [fieldId, edit] : kEditFields)
        if (fieldId == id) return this->*edit;
    return unbound;
}
