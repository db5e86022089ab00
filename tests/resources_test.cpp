// The resources linked into this exe, read back through the platform the way the console uses
// them: the dialogs are created from their templates, texts come back as UTF-16, positions are
// compared in pixels after mapping the expected dialog units through the dialog's own font.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "console/console_window.h"
#include "res/resource.h"
#include "tests/dialog_driver.h"

namespace {

using tavik::test::WideText;

const LANGID kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
const wchar_t kDialogFont[] = L"ＭＳ Ｐゴシック";

HMODULE Module()
{
    return GetModuleHandleW(nullptr);
}

// The RT_ constants follow the UNICODE setting; the calls here are the wide ones.
LPCWSTR Wide(LPCTSTR type)
{
    return MAKEINTRESOURCEW(reinterpret_cast<ULONG_PTR>(type));
}

enum class Kind { DefaultButton, Button, GroupBox, Label, Edit };

struct Control {
    int id;
    Kind kind;
    DWORD style;  // bits beyond those every control of the kind has
    const wchar_t* text;
    int x, y, w, h;
};

constexpr int kNoId = -1;
constexpr DWORD kNumber = ES_RIGHT;
constexpr DWORD kResult = ES_RIGHT | ES_READONLY | ES_AUTOHSCROLL;
constexpr DWORD kFileName = ES_AUTOHSCROLL;

// The console, in template (= tab) order.
const Control kConsole[] = {
    {IDOK, Kind::DefaultButton, 0, L"終了", 13, 272, 147, 25},
    {IDC_OPEN_RUN, Kind::Button, 0, L"オープン実行", 90, 17, 71, 21},
    {IDC_SET_SHOW_RUN, Kind::Button, 0, L"設定＆表示実行", 198, 275, 71, 21},
    {IDC_MOVE_SHOW_RUN, Kind::Button, 0, L"移動＆表示実行", 90, 238, 71, 21},
    {IDC_CLEAR_RUN, Kind::Button, 0, L"設定解除", 90, 99, 71, 21},
    {IDC_CLOSE_RUN, Kind::Button, 0, L"クローズ実行", 90, 57, 71, 21},
    {IDC_OPEN_GROUP, Kind::GroupBox, 0, L"オープン", 7, 7, 159, 35},
    {IDC_OPEN_RESULT, Kind::Edit, kResult, L"", 43, 22, 40, 14},
    {kNoId, Kind::Label, 0, L"リタン値", 13, 25, 27, 8},
    {kNoId, Kind::GroupBox, 0, L"設定＆表示", 169, 7, 128, 293},
    {kNoId, Kind::GroupBox, 0, L"移動＆表示", 7, 132, 159, 132},
    {kNoId, Kind::GroupBox, 0, L"クローズ", 7, 48, 159, 35},
    {kNoId, Kind::Label, 0, L"リタン値", 13, 65, 24, 8},
    {IDC_CLOSE_RESULT, Kind::Edit, kResult, L"", 43, 60, 40, 14},
    {kNoId, Kind::Label, 0, L"サーフェス幅", 182, 39, 62, 8},
    {IDC_SURFACE_WIDTH, Kind::Edit, kNumber, L"", 248, 33, 40, 14},
    {kNoId, Kind::Label, 0, L"赤(BYTE指定 0-255)", 182, 77, 62, 8},
    {IDC_SURFACE_HEIGHT, Kind::Edit, kNumber, L"", 248, 52, 40, 14},
    {kNoId, Kind::Label, 0, L"緑(BYTE指定 0-255)", 182, 96, 62, 8},
    {IDC_RED, Kind::Edit, kNumber, L"", 248, 71, 40, 14},
    {kNoId, Kind::Label, 0, L"青(BYTE指定 0-255)", 182, 115, 62, 8},
    {kNoId, Kind::Label, 0, L"サーフェス高さ", 182, 58, 62, 8},
    {IDC_GREEN, Kind::Edit, kNumber, L"", 248, 90, 40, 14},
    {IDC_BLUE, Kind::Edit, kNumber, L"", 248, 109, 40, 14},
    {kNoId, Kind::Label, 0, L"ビットマップファイル名", 181, 207, 62, 8},
    {IDC_BITMAP_FILE, Kind::Edit, kFileName, L"", 181, 220, 108, 14},
    {IDC_BROWSE_BITMAP, Kind::Button, 0, L"ファイル指定", 181, 238, 108, 14},
    {kNoId, Kind::Label, 0, L"開始X座標", 181, 133, 62, 8},
    {IDC_SET_START_X, Kind::Edit, kNumber, L"", 248, 127, 40, 14},
    {kNoId, Kind::Label, 0, L"開始Y座標", 181, 152, 62, 8},
    {kNoId, Kind::Label, 0, L"終了X座標", 181, 171, 62, 8},
    {kNoId, Kind::Label, 0, L"終了Y座標", 181, 190, 62, 8},
    {IDC_SET_START_Y, Kind::Edit, kNumber, L"", 248, 146, 40, 14},
    {IDC_SET_END_X, Kind::Edit, kNumber, L"", 248, 165, 40, 14},
    {IDC_SET_END_Y, Kind::Edit, kNumber, L"", 248, 184, 40, 14},
    {kNoId, Kind::Label, 0, L"リタン値", 182, 263, 24, 8},
    {IDC_SET_RESULT, Kind::Edit, ES_RIGHT | ES_READONLY, L"", 249, 257, 40, 14},
    {kNoId, Kind::Label, 0, L"リタン値", 13, 245, 24, 8},
    {IDC_MOVE_RESULT, Kind::Edit, kResult, L"", 43, 243, 40, 14},
    {kNoId, Kind::Label, 0, L"開始X座標", 11, 164, 62, 8},
    {IDC_MOVE_START_X, Kind::Edit, kNumber, L"", 81, 160, 40, 14},
    {kNoId, Kind::Label, 0, L"開始Y座標", 11, 183, 62, 8},
    {kNoId, Kind::Label, 0, L"終了X座標", 11, 202, 62, 8},
    {kNoId, Kind::Label, 0, L"終了Y座標", 11, 221, 62, 8},
    {IDC_MOVE_START_Y, Kind::Edit, kNumber, L"", 81, 177, 40, 14},
    {IDC_MOVE_END_X, Kind::Edit, kNumber, L"", 81, 196, 40, 14},
    {IDC_MOVE_END_Y, Kind::Edit, kNumber, L"", 81, 215, 40, 14},
    {kNoId, Kind::GroupBox, 0, L"設定解除", 7, 91, 159, 35},
    {kNoId, Kind::Label, 0, L"リタン値", 13, 110, 24, 8},
    {IDC_CLEAR_RESULT, Kind::Edit, kResult, L"", 43, 105, 40, 14},
    {kNoId, Kind::GroupBox, 0, L"●入力パラメータ(10進数指定)", 175, 21, 119, 234},
    {kNoId, Kind::GroupBox, 0, L"●入力パラメータ(10進数指定)", 7, 146, 119, 87},
};

// The version box's label and button; its icon is checked on its own.
const Control kVersionBoxTextAndButton[] = {
    {kNoId, Kind::Label, SS_NOPREFIX, L"DirectX オーバレイ表示ライブラリ用テストプログラム Version1.00.0.0", 34, 28,
     214, 14},
    {IDOK, Kind::DefaultButton, WS_GROUP, L"OK", 198, 7, 50, 14},
};

struct KindTraits {
    const wchar_t* windowClass;
    DWORD typeMask;  // the class-specific style bits compared
    DWORD type;
    bool tabStop;
    bool group;
};

KindTraits TraitsOf(Kind kind)
{
    constexpr DWORD kEditBits =
        ES_CENTER | ES_RIGHT | ES_MULTILINE | ES_PASSWORD | ES_AUTOHSCROLL | ES_READONLY | ES_NUMBER;
    switch (kind) {
        case Kind::DefaultButton:
            return {L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON, true, false};
        case Kind::Button:
            return {L"Button", BS_TYPEMASK, BS_PUSHBUTTON, true, false};
        case Kind::GroupBox:
            return {L"Button", BS_TYPEMASK, BS_GROUPBOX, false, false};
        case Kind::Label:
            return {L"Static", SS_TYPEMASK | SS_NOPREFIX, SS_LEFT, false, true};
        case Kind::Edit:
            return {L"Edit", kEditBits, 0, true, false};
    }
    return {};
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// A rectangle in pixels that GoogleTest can compare and print.
struct Box {
    LONG left, top, right, bottom;
    bool operator==(const Box&) const = default;
    friend void PrintTo(const Box& b, std::ostream* os)
    {
        *os << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
    }
};

Box BoxOf(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

// A window's rectangle in its dialog's client coordinates.
Box PlaceOf(HWND dialog, HWND window)
{
    RECT place;
    GetWindowRect(window, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    return BoxOf(place);
}

// Dialog units to pixels, by the dialog's own font. The dialog manager converts a control's
// corner and its size separately, so the far edge is mapped corner plus mapped size.
Box Pixels(HWND dialog, int x, int y, int w, int h)
{
    RECT corner_and_size{x, y, w, h};
    MapDialogRect(dialog, &corner_and_size);
    const auto& [left, top, width, height] = corner_and_size;
    return {left, top, left + width, top + height};
}

std::vector<HWND> ChildrenOf(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void ExpectControl(HWND dialog, HWND window, const Control& expected)
{
    const KindTraits traits = TraitsOf(expected.kind);
    const DWORD style = GetWindowLongW(window, GWL_STYLE);
    const DWORD exStyle = GetWindowLongW(window, GWL_EXSTYLE);

    EXPECT_EQ(GetDlgCtrlID(window), expected.id);
    EXPECT_EQ(_wcsicmp(ClassOf(window).c_str(), traits.windowClass), 0) << ClassOf(window);
    EXPECT_EQ(style & traits.typeMask, traits.type | (expected.style & traits.typeMask));
    // Visible, enabled tab stops in template order are the tab order, from the exit button round.
    EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE | WS_DISABLED), DWORD{WS_CHILD | WS_VISIBLE});
    EXPECT_EQ((style & WS_TABSTOP) != 0, traits.tabStop);
    EXPECT_EQ((style & WS_GROUP) != 0, traits.group || (expected.style & WS_GROUP) != 0);
    // The dialog manager may turn an edit's WS_BORDER into a sunken client edge.
    const bool bordered = (style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE);
    EXPECT_EQ(bordered, expected.kind == Kind::Edit);
    EXPECT_EQ(WideText(window), expected.text);
    EXPECT_EQ(PlaceOf(dialog, window), Pixels(dialog, expected.x, expected.y, expected.w, expected.h));
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

class DialogFrom : public ::testing::Test {
protected:
    void Open(int templateId)
    {
        m_dialog = CreateDialogParamW(Module(), MAKEINTRESOURCEW(templateId), nullptr, PlainDialogProc, 0);
        ASSERT_NE(m_dialog, nullptr) << "error " << GetLastError();
    }
    void TearDown() override
    {
        if (m_dialog) DestroyWindow(m_dialog);
    }
    void ExpectFrame(const wchar_t* caption, int w, int h)
    {
        EXPECT_EQ(WideText(m_dialog), caption);
        RECT client;
        GetClientRect(m_dialog, &client);
        EXPECT_EQ(BoxOf(client), Pixels(m_dialog, 0, 0, w, h));
        // Template position 0, 0 and no centring style: where the template puts it.
        RECT frame;
        GetWindowRect(m_dialog, &frame);
        EXPECT_EQ(frame.left, 0);
        EXPECT_EQ(frame.top, 0);
        const DWORD style = GetWindowLongW(m_dialog, GWL_STYLE);
        const DWORD frameBits = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        EXPECT_EQ(style & frameBits, frameBits);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | DS_CENTER | DS_ABSALIGN | WS_CHILD), 0u);
        EXPECT_EQ(GetMenu(m_dialog), nullptr);

        LOGFONTW font{};
        ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(m_dialog, WM_GETFONT, 0, 0)), sizeof font, &font));
        EXPECT_STREQ(font.lfFaceName, kDialogFont);
        HDC screen = GetDC(nullptr);
        EXPECT_EQ(font.lfHeight, -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72));
        ReleaseDC(nullptr, screen);
    }

    HWND m_dialog = nullptr;
};

TEST_F(DialogFrom, ConsoleTemplateFrame)
{
    ASSERT_NO_FATAL_FAILURE(Open(IDD_TAVIK_DIALOG));
    ExpectFrame(L"Tavik", 303, 303);
    EXPECT_TRUE(GetWindowLongW(m_dialog, GWL_STYLE) & WS_VISIBLE);
    EXPECT_TRUE(GetWindowLongW(m_dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(DialogFrom, ConsoleTemplateControls)
{
    ASSERT_NO_FATAL_FAILURE(Open(IDD_TAVIK_DIALOG));
    const std::vector<HWND> children = ChildrenOf(m_dialog);
    ASSERT_EQ(children.size(), std::size(kConsole));
    for (size_t i = 0; i < children.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "control " << i + 1 << " (id " << kConsole[i].id << ")");
        ExpectControl(m_dialog, children[i], kConsole[i]);
        // The fields the commands may name are the template's edits, so the fake refuses what
        // the dialog lacks.
        EXPECT_EQ(tavik::IsConsoleField(kConsole[i].id), kConsole[i].kind == Kind::Edit);
    }
}

TEST_F(DialogFrom, VersionBoxTemplate)
{
    ASSERT_NO_FATAL_FAILURE(Open(IDD_VERSIONINFO));
    ExpectFrame(L"Tavikのﾊﾞｰｼﾞｮﾝ情報", 255, 55);

    const std::vector<HWND> children = ChildrenOf(m_dialog);
    ASSERT_EQ(children.size(), 3u);
    // A static icon sizes itself to its picture, so only its corner is fixed.
    HWND icon = children[0];
    EXPECT_EQ(_wcsicmp(ClassOf(icon).c_str(), L"Static"), 0);
    const DWORD iconStyle = GetWindowLongW(icon, GWL_STYLE);
    EXPECT_EQ(iconStyle & (SS_TYPEMASK | WS_TABSTOP | WS_GROUP), DWORD{SS_ICON});
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
    const Box iconPlace = PlaceOf(m_dialog, icon);
    const Box expectedCorner = Pixels(m_dialog, 11, 17, 0, 0);
    EXPECT_EQ(iconPlace.left, expectedCorner.left);
    EXPECT_EQ(iconPlace.top, expectedCorner.top);

    for (size_t i = 0; i < std::size(kVersionBoxTextAndButton); ++i) {
        SCOPED_TRACE(testing::Message() << "control " << i + 2);
        ExpectControl(m_dialog, children[i + 1], kVersionBoxTextAndButton[i]);
    }
}

TEST(Resources, AllAreJapanese)
{
    struct Resource {
        LPCTSTR type;
        int name;
    };
    const Resource resources[] = {
        {RT_DIALOG, IDD_TAVIK_DIALOG}, {RT_DIALOG, IDD_VERSIONINFO},  {RT_STRING, IDS_VERSIONINFO / 16 + 1},
        {RT_GROUP_ICON, IDI_APP},      {RT_VERSION, VS_VERSION_INFO},
    };
    for (const Resource& r : resources) {
        EXPECT_NE(FindResourceExW(Module(), Wide(r.type), MAKEINTRESOURCEW(r.name), kJapanese), nullptr)
            << "resource " << r.name;
    }
}

const void* ResourceData(LPCTSTR type, int name, DWORD* size = nullptr)
{
    HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(name), Wide(type));
    if (!found) return nullptr;
    if (size) *size = SizeofResource(Module(), found);
    return LockResource(LoadResource(Module(), found));
}

TEST(Resources, IconHasSixteenColourImagesOf32And16Pixels)
{
    // The group directory: three WORDs, then 14-byte entries.
    DWORD size = 0;
    const auto* group = static_cast<const BYTE*>(ResourceData(RT_GROUP_ICON, IDI_APP, &size));
    ASSERT_NE(group, nullptr);
    WORD count = 0;
    std::memcpy(&count, group + 4, sizeof count);
    ASSERT_EQ(count, 2);
    ASSERT_GE(size, 6u + 14u * count);

    const int sizes[] = {32, 16};
    for (int i = 0; i < count; ++i) {
        const int expected = sizes[i];
        SCOPED_TRACE(testing::Message() << expected << " px image");
        const BYTE* entry = group + 6 + 14 * i;
        WORD bitCount = 0, imageId = 0;
        std::memcpy(&bitCount, entry + 6, sizeof bitCount);
        std::memcpy(&imageId, entry + 12, sizeof imageId);
        EXPECT_EQ(entry[0], expected);
        EXPECT_EQ(entry[1], expected);
        EXPECT_EQ(entry[2], 16);  // colours
        EXPECT_EQ(bitCount, 4);

        BITMAPINFOHEADER header{};
        const void* image = ResourceData(RT_ICON, imageId);
        ASSERT_NE(image, nullptr);
        std::memcpy(&header, image, sizeof header);
        EXPECT_EQ(header.biWidth, expected);
        EXPECT_EQ(header.biHeight, 2 * expected);  // colour rows and mask rows
        EXPECT_EQ(header.biBitCount, 4);

        HICON icon =
            static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, expected, expected, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask{};
        GetObjectW(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, expected);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        DestroyIcon(icon);
    }
}

// The version record's fixed part, its one Japanese Unicode translation and its strings.
TEST(Resources, VersionRecord)
{
    wchar_t path[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path, &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(block.size()), block.data()));
    // The value at key, or nullptr when absent.
    const auto query = [&block](const wchar_t* key, UINT* length) -> const void* {
        void* value = nullptr;
        return VerQueryValueW(block.data(), key, &value, length) ? value : nullptr;
    };

    UINT length = 0;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\", &length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u);
    EXPECT_EQ(fixed->dwFileOS, DWORD{VOS__WINDOWS32});
    EXPECT_EQ(fixed->dwFileType, DWORD{VFT_APP});

    const auto* pairs = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation", &length));
    ASSERT_NE(pairs, nullptr);
    ASSERT_EQ(length, 2 * sizeof(WORD));
    EXPECT_EQ(pairs[0], kJapanese);
    EXPECT_EQ(pairs[1], 1200);

    const std::pair<const wchar_t*, const wchar_t*> entries[] = {
        {L"Comments", L"DirectX オーバレイ表示ライブラリ用テストプログラム"},
        {L"FileDescription", L"Test program for DirectX overlay display library"},
        {L"FileVersion", L"1.00.0.0"},
        {L"InternalName", L"Tavik"},
        {L"OriginalFilename", L"Tavik.exe"},
        {L"ProductName", L"Tavikアプリケーション"},
        {L"ProductVersion", L"1.00.0.0"},
        {L"CompanyName", L""},
        {L"LegalCopyright", L""},
        {L"LegalTrademarks", L""},
        {L"PrivateBuild", L""},
        {L"SpecialBuild", L""},
    };
    for (const auto& [name, expected] : entries) {
        SCOPED_TRACE(testing::Message() << name);
        const std::wstring key = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
        const auto* value = static_cast<const wchar_t*>(query(key.c_str(), &length));
        ASSERT_NE(value, nullptr);
        // The length may or may not count the terminator.
        std::wstring text(value, length);
        if (!text.empty() && text.back() == L'\0') text.pop_back();
        EXPECT_EQ(text, expected);
    }
}

}  // namespace
