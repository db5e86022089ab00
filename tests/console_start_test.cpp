// The console as it opens and ends, its texts whole in the dialog font as rendered here, and its
// system-menu item with the version box.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "res/resource.h"
#include "tests/dialog_driver.h"
#include "tests/fake_overlay.h"
#include "tests/run_console.h"

namespace {

using tavik::test::DialogDriver;
using tavik::test::FakeOverlay;
using tavik::test::RunConsole;
using tavik::test::TextsOf;
using tavik::test::WideText;

const int kResultFields[] = {IDC_OPEN_RESULT, IDC_CLOSE_RESULT, IDC_CLEAR_RESULT, IDC_SET_RESULT, IDC_MOVE_RESULT};

RECT WindowRect(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

// Centred within a pixel: halving an odd difference may round either way.
void ExpectCentredOver(const RECT& window, const RECT& area)
{
    EXPECT_NEAR(window.left - area.left, area.right - window.right, 1);
    EXPECT_NEAR(window.top - area.top, area.bottom - window.bottom, 1);
}

RECT WorkAreaOf(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

TEST(ConsoleStart, OpensCentredWithItsInitialFieldsAndTheFocusOnExit)
{
    FakeOverlay::Reset();
    const INT_PTR result = RunConsole([](DialogDriver& driver) {
        const HWND console = driver.Dialog();
        EXPECT_EQ(WideText(console), L"Tavik");
        ExpectCentredOver(WindowRect(console), WorkAreaOf(console));

        const std::pair<int, const wchar_t*> initial[] = {
            {IDC_SURFACE_WIDTH, L"128"},
            {IDC_SURFACE_HEIGHT, L"128"},
            {IDC_RED, L"0"},
            {IDC_GREEN, L"0"},
            {IDC_BLUE, L"0"},
            {IDC_BITMAP_FILE, L"Image.bmp"},
            {IDC_SET_START_X, L"0"},
            {IDC_SET_START_Y, L"0"},
            {IDC_SET_END_X, L"128"},
            {IDC_SET_END_Y, L"128"},
            {IDC_MOVE_START_X, L"128"},
            {IDC_MOVE_START_Y, L"128"},
            {IDC_MOVE_END_X, L"256"},
            {IDC_MOVE_END_Y, L"256"},
        };
        for (const auto& [id, text] : initial) EXPECT_EQ(WideText(driver.Item(id)), text) << "field " << id;
        for (const int id : kResultFields) EXPECT_EQ(WideText(driver.Item(id)), L"") << "result field " << id;

        EXPECT_EQ(driver.Focus(), driver.Item(IDOK));

        const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(console, WM_GETICON, ICON_BIG, 0)), icon);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(console, WM_GETICON, ICON_SMALL, 0)), icon);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(console, WM_QUERYDRAGICON, 0, 0)), icon);

        // Enter at start ends the console through the focused exit button.
        driver.PostKey(driver.Focus(), VK_RETURN);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(FakeOverlay::calls.empty());
}

// Pixels a label's or an edit's text needs beyond the room the control draws it in. Every label
// has room for one line, and a longer text wraps out of sight, so the text must fit on one line.
// An edit draws its line in its formatting rectangle: the client area less the margins (and less
// the sunken edge's inset).
SIZE TextOverrun(HWND control, const std::wstring& text, bool edit)
{
    const HDC dc = GetDC(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    RECT room;
    if (edit) {
        SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&room));
    } else {
        GetClientRect(control, &room);
    }
    return {std::max(0L, extent.cx - (room.right - room.left)), std::max(0L, extent.cy - (room.bottom - room.top))};
}

// Lists every clipped label and field by its place in the template, with the pixels it lacks.
TEST(ConsoleStart, EveryLabelAndFieldShowsItsWholeText)
{
    FakeOverlay::Reset();
    RunConsole([](DialogDriver& driver) {
        // Every result is written as "0x%08x": ten characters.
        for (const int id : kResultFields) SetWindowTextW(driver.Item(id), L"0x00000000");
        int place = 0;
        for (HWND control = GetWindow(driver.Dialog(), GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            ++place;
            wchar_t kind[8] = {};
            GetClassNameW(control, kind, 8);
            const bool edit = _wcsicmp(kind, L"Edit") == 0;
            const std::wstring text = WideText(control);
            if (text.empty() || !(edit || _wcsicmp(kind, L"Static") == 0)) continue;
            const SIZE overrun = TextOverrun(control, text, edit);
            if (overrun.cx > 0 || overrun.cy > 0)
                ADD_FAILURE() << "control " << place << " \"" << text << "\" clipped: " << overrun.cx
                              << " px too wide, " << overrun.cy << " px too tall";
        }
        driver.Click(IDOK);
    });
}

TEST(ConsoleStart, EndsOnEnterInAFieldEscapeAndTheCloseBoxWithoutCallingTheLibrary)
{
    enum class Way { EnterInAField, Escape, CloseBox };
    const struct {
        Way way;
        const char* name;
        INT_PTR result;
    } cases[] = {
        {Way::EnterInAField, "Enter typed in a parameter field", IDOK},
        {Way::Escape, "Escape", IDCANCEL},
        {Way::CloseBox, "close box", IDCANCEL},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeOverlay::Reset();
        std::wstring typed;
        const INT_PTR result = RunConsole([&](DialogDriver& driver) {
            switch (c.way) {
                case Way::EnterInAField: {
                    const HWND field = driver.Item(IDC_SET_START_X);
                    SendMessageW(driver.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
                    driver.Type(field, "7");
                    driver.Settle();
                    typed = WideText(field);
                    driver.PostKey(field, VK_RETURN);
                    break;
                }
                case Way::Escape:
                    driver.PostKey(driver.Focus(), VK_ESCAPE);
                    break;
                case Way::CloseBox:
                    PostMessageW(driver.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
                    break;
            }
        });
        EXPECT_EQ(result, c.result);
        if (c.way == Way::EnterInAField) {
            EXPECT_NE(typed.find(L'7'), std::wstring::npos) << "the typing reached the field";
        }
        EXPECT_TRUE(FakeOverlay::calls.empty());
    }
}

TEST(ConsoleStart, SystemMenuOpensTheVersionBoxWhichClosesThreeWays)
{
    FakeOverlay::Reset();
    RunConsole([](DialogDriver& driver) {
        const HWND console = driver.Dialog();
        const HMENU menu = GetSystemMenu(console, FALSE);
        ASSERT_NE(menu, nullptr);
        const int count = GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        MENUITEMINFOW separator{};
        separator.cbSize = sizeof separator;
        separator.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(menu, count - 2, TRUE, &separator);
        EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
        EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_VERSIONINFO));
        wchar_t item[64] = {};
        GetMenuStringW(menu, count - 1, item, 64, MF_BYPOSITION);
        EXPECT_STREQ(item, L"Tavik のﾊﾞｰｼﾞｮﾝ情報(&A)...");

        const std::map<int, std::wstring> before = TextsOf(driver);
        enum class Close { Ok, Escape, CloseBox };
        for (const Close close : {Close::Ok, Close::Escape, Close::CloseBox}) {
            SCOPED_TRACE(static_cast<int>(close));
            // The low four bits are the platform's: the item is known whatever they hold.
            PostMessageW(console, WM_SYSCOMMAND, IDM_VERSIONINFO | static_cast<int>(close), 0);
            const HWND box = driver.WaitForDialogOver(console);
            ASSERT_NE(box, nullptr) << "the version box did not open";
            EXPECT_EQ(WideText(box), L"Tavikのﾊﾞｰｼﾞｮﾝ情報");
            EXPECT_NE(FindWindowExW(box, nullptr, L"Static",
                                    L"DirectX オーバレイ表示ライブラリ用テストプログラム Version1.00.0.0"),
                      nullptr);
            EXPECT_EQ(WideText(GetDlgItem(box, IDOK)), L"OK");
            ExpectCentredOver(WindowRect(box), WindowRect(console));
            switch (close) {
                case Close::Ok:
                    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
                    break;
                case Close::Escape:
                    driver.PostKey(driver.Focus(), VK_ESCAPE);
                    break;
                case Close::CloseBox:
                    PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0);
                    break;
            }
            EXPECT_TRUE(driver.WaitUntilGone(box));
            EXPECT_TRUE(IsWindowVisible(console));
        }
        EXPECT_EQ(TextsOf(driver), before);
        driver.Click(IDOK);
    });
    EXPECT_TRUE(FakeOverlay::calls.empty());
}

}  // namespace
