// What the real DRAVEL.dll puts on the screen, read back from the screen itself: the surface
// stretched over the rectangle, moved, hidden, kept above other windows, never in the way of
// clicks and never taking the foreground.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "check/scenario/outline.h"
#include "check/scenario/picture_sheet.h"
#include "dravel/dravel_codes.h"
#include "tests/bmp_files.h"
#include "tests/dravel_library.h"
#include "tests/screen_shows.h"
#include "tests/surface_params.h"

namespace {

using namespace dravel;
using namespace dravel::test;

constexpr COLORREF kBackdrop = RGB(200, 0, 200);
constexpr COLORREF kFill = RGB(255, 128, 0);
// The whole screen, so that what lies around a window reaching off it is known too.
const RECT kBackdropArea{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

// A plain window of one colour under the overlay, counting the clicks that reach it.
class Backdrop {
public:
    Backdrop(const RECT& area, COLORREF colour, DWORD extendedStyle = 0) : m_brush(CreateSolidBrush(colour))
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "DravelTestBackdrop";
        RegisterClassA(&windowClass);
        m_window = CreateWindowExA(extendedStyle, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, area.left,
                                   area.top, area.right - area.left, area.bottom - area.top, nullptr, nullptr,
                                   windowClass.hInstance, m_brush);
    }
    ~Backdrop()
    {
        DestroyWindow(m_window);
        DeleteObject(m_brush);
    }
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    HWND Window() const { return m_window; }
    static inline int clicks = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        switch (message) {
            case WM_NCCREATE:
                SetWindowLongPtrA(window, GWLP_USERDATA,
                                  reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
                break;
            case WM_ERASEBKGND: {
                RECT client;
                GetClientRect(window, &client);
                FillRect(reinterpret_cast<HDC>(wParam), &client,
                         reinterpret_cast<HBRUSH>(GetWindowLongPtrA(window, GWLP_USERDATA)));
                return 1;
            }
            case WM_LBUTTONDOWN:
                ++clicks;
                break;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HBRUSH m_brush;
    HWND m_window;
};

// A 32-bit top-down DIB section selected into a memory DC of its own.
class Dib {
public:
    Dib(int width, int height) : m_width(width), m_dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<std::uint32_t*>(bits);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~Dib()
    {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    HDC Dc() const { return m_dc; }
    COLORREF Get(int x, int y) const
    {
        const std::uint32_t pixel = m_bits[static_cast<std::size_t>(y) * m_width + x];
        return RGB(pixel >> 16 & 0xFF, pixel >> 8 & 0xFF, pixel & 0xFF);
    }
    void Set(int x, int y, COLORREF colour)
    {
        m_bits[static_cast<std::size_t>(y) * m_width + x] =
            GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
    }

private:
    int m_width;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_previous;
    std::uint32_t* m_bits;
};

// The area with a one-pixel margin, so a picture one pixel too large or misplaced shows; only what
// lies on the screen.
RECT WithMargin(const OverlayRect& rect)
{
    return {static_cast<LONG>(rect.startX) - 1, static_cast<LONG>(rect.startY) - 1,
            std::min<LONG>(rect.endX + 1, kBackdropArea.right), std::min<LONG>(rect.endY + 1, kBackdropArea.bottom)};
}

// The surface of the quarters picture on the fill colour, stretched over rect, backdrop around: the
// whole surface drawn and then stretched whole with COLORONCOLOR, as the library once drew it.
ScreenPicture Stretched(int surfaceWidth, int surfaceHeight, const OverlayRect& rect)
{
    Dib surface(surfaceWidth, surfaceHeight);
    for (int y = 0; y < surfaceHeight; ++y)
        for (int x = 0; x < surfaceWidth; ++x) surface.Set(x, y, x < 8 && y < 8 ? QuarterColour(x, y) : kFill);
    const int width = static_cast<int>(rect.endX - rect.startX);
    const int height = static_cast<int>(rect.endY - rect.startY);
    const auto image = std::make_shared<Dib>(width, height);
    SetStretchBltMode(image->Dc(), COLORONCOLOR);
    StretchBlt(image->Dc(), 0, 0, width, height, surface.Dc(), 0, 0, surfaceWidth, surfaceHeight, SRCCOPY);
    GdiFlush();
    return [=](int x, int y) {
        if (x < static_cast<int>(rect.startX) || x >= static_cast<int>(rect.endX) ||
            y < static_cast<int>(rect.startY) || y >= static_cast<int>(rect.endY))
            return kBackdrop;
        return image->Get(x - static_cast<int>(rect.startX), y - static_cast<int>(rect.startY));
    };
}

ScreenPicture Only(COLORREF colour)
{
    return [=](int, int) { return colour; };
}

class DravelScreen : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(overlay.open, nullptr) << "DRAVEL.dll or its ordinals are missing";
        SetForegroundWindow(backdrop.Window());
        ASSERT_TRUE(ScreenShows(kBackdropArea, Only(kBackdrop)));
        ASSERT_EQ(GetForegroundWindow(), backdrop.Window());
        ASSERT_EQ(overlay.open(), kOk);
    }
    void TearDown() override { overlay.close(); }

    OverlayResult Set(int width, int height, const OverlayRect& rect, const std::string& file)
    {
        const OverlaySurfaceParams params =
            SurfaceParams(width, height, file, GetRValue(kFill), GetGValue(kFill), GetBValue(kFill));
        return overlay.setAndShow(&params, &rect);
    }
    OverlayResult Move(const OverlayRect& rect) { return overlay.moveAndShow(&rect); }

    const Backdrop backdrop{kBackdropArea, kBackdrop};
    LoadedDravel library;
    const OverlayEntryPoints overlay = library.EntryPoints();
    BmpFolder files;
    const std::string quarters = files.Quarters();
};

TEST_F(DravelScreen, SetAndShowStretchesTheSurfaceOverTheRectangle)
{
    const OverlayRect rect{150, 150, 182, 182};
    ASSERT_EQ(Set(16, 16, rect, quarters), kOk);
    EXPECT_TRUE(ScreenShows(WithMargin(rect), Stretched(16, 16, rect)));
    // DravelCheck's pictures outline the asked rectangle on such a capture: on its edge, nowhere else.
    const check::ScreenImage capture = check::ReadScreen(WithMargin(rect));
    const RECT asked{150, 150, 182, 182};
    const std::uint32_t colour = check::UnusedColour(std::vector{&capture.pixels});
    const check::ScreenImage outlined = check::Outlined(capture, asked, colour);
    int off = 0;
    for (std::size_t i = 0; i < outlined.pixels.size(); ++i) {
        const LONG x = capture.area.left + static_cast<LONG>(i) % capture.Width();
        const LONG y = capture.area.top + static_cast<LONG>(i) / capture.Width();
        const bool edge = PtInRect(&asked, {x, y}) && (x == 150 || x == 181 || y == 150 || y == 181);
        off += (outlined.pixels[i] == colour) != edge;
    }
    EXPECT_EQ(off, 0) << "pixels off the asked rectangle's edge or missing from it";

    const HWND window = FindOverlayWindow();
    RECT placed;
    GetWindowRect(window, &placed);
    EXPECT_EQ(placed.left, 150);
    EXPECT_EQ(placed.top, 150);
    EXPECT_EQ(placed.right, 182);
    EXPECT_EQ(placed.bottom, 182);
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetTopWindow(nullptr), window);
}

// Pixel for pixel what stretching the whole surface shows, at odd scales both ways and with the
// window reaching off the screen; moved so that more of it comes into view, too.
TEST_F(DravelScreen, EveryScaleShowsWhatTheWholeSurfaceStretchedShows)
{
    const struct {
        int width, height;
        OverlayRect rect;
    } cases[] = {
        {6, 5, {150, 150, 156, 155}},        // 1:1, the bitmap cut to the surface
        {12, 12, {150, 150, 178, 178}},      // 3:7
        {6, 6, {150, 150, 178, 178}},        // 3:14, a new surface in the same place
        {28, 28, {150, 150, 162, 162}},      // 7:3
        {12, 28, {150, 150, 178, 162}},      // 3:7 across, 7:3 down
        {8192, 8192, {150, 150, 152, 151}},  // 8192:1
        {1, 8, {150, 150, 8342, 182}},       // 1:8192 across, most of it off the screen: moved below
    };
    for (const auto& [width, height, rect] : cases) {
        SCOPED_TRACE(::testing::Message()
                     << width << 'x' << height << " at " << rect.endX - rect.startX << 'x' << rect.endY - rect.startY);
        ASSERT_EQ(Set(width, height, rect, quarters), kOk);
        EXPECT_TRUE(ScreenShows(WithMargin(rect), Stretched(width, height, rect)));
    }
    const OverlayRect left{20, 150, 8212, 182};
    ASSERT_EQ(Move(left), kOk);
    EXPECT_TRUE(ScreenShows(WithMargin(left), Stretched(1, 8, left)));
}

TEST_F(DravelScreen, MoveAndShowMovesAndResizesAndClearSettingTakesItOff)
{
    const OverlayRect first{150, 150, 166, 166};
    const OverlayRect sameSize{200, 160, 216, 176};
    const OverlayRect second{300, 200, 348, 248};
    ASSERT_EQ(Set(16, 16, first, quarters), kOk);
    ASSERT_TRUE(ScreenShows(WithMargin(first), Stretched(16, 16, first)));
    // The window keeps its picture when only its place changes.
    ASSERT_EQ(Move(sameSize), kOk);
    EXPECT_TRUE(ScreenShows(WithMargin(sameSize), Stretched(16, 16, sameSize)));
    ASSERT_EQ(Move(second), kOk);
    EXPECT_TRUE(ScreenShows(WithMargin(second), Stretched(16, 16, second)));
    EXPECT_TRUE(ScreenShows(WithMargin(first), Only(kBackdrop)));
    ASSERT_EQ(overlay.clearSetting(), kOk);
    EXPECT_TRUE(ScreenShows(WithMargin(second), Only(kBackdrop)));
    EXPECT_FALSE(IsWindowVisible(FindOverlayWindow()));
}

TEST_F(DravelScreen, FailedCallsLeaveThePictureAsItWas)
{
    const OverlayRect shown{150, 150, 182, 182};
    const OverlayRect elsewhere{300, 200, 316, 216};
    ASSERT_EQ(Set(16, 16, shown, quarters), kOk);
    ASSERT_EQ(Set(8, 8, elsewhere, (files.Path() / "missing.bmp").string()), kBadBitmap);
    ASSERT_EQ(Move(OverlayRect{300, 200, 300, 216}), kBadRect);
    EXPECT_TRUE(ScreenShows(WithMargin(shown), Stretched(16, 16, shown)));
    EXPECT_TRUE(ScreenShows(WithMargin(elsewhere), Only(kBackdrop)));
}

// Checked in the window list: once messages are handled, Wine may reorder the list without
// restacking the screen, so the screen cannot tell here.
TEST_F(DravelScreen, ShowingLiftsItAboveLaterTopmostWindows)
{
    const OverlayRect rect{150, 150, 182, 182};
    ASSERT_EQ(Set(16, 16, rect, quarters), kOk);
    const Backdrop topmost{RECT{140, 140, 200, 200}, kGreen, WS_EX_TOPMOST | WS_EX_NOACTIVATE};
    ASSERT_EQ(GetTopWindow(nullptr), topmost.Window());
    ASSERT_EQ(Move(rect), kOk);
    EXPECT_EQ(GetTopWindow(nullptr), FindOverlayWindow());
}

TEST_F(DravelScreen, ClicksGoThroughToTheWindowBeneath)
{
    const OverlayRect rect{150, 150, 182, 182};
    ASSERT_EQ(Set(16, 16, rect, quarters), kOk);
    ASSERT_TRUE(ScreenShows(WithMargin(rect), Stretched(16, 16, rect)));
    EXPECT_EQ(WindowFromPoint(POINT{166, 166}), backdrop.Window());

    Backdrop::clicks = 0;
    SetCursorPos(166, 166);
    INPUT click[2]{};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, click, sizeof(INPUT)), 2u);
    for (const DWORD start = GetTickCount(); Backdrop::clicks == 0 && GetTickCount() - start < 3000; Sleep(20))
        PumpMessages();
    EXPECT_EQ(Backdrop::clicks, 1);
}

TEST_F(DravelScreen, TheForegroundWindowNeverChanges)
{
    const OverlayRect rect{150, 150, 182, 182};
    const std::function<OverlayResult()> calls[] = {
        [&] { return Set(16, 16, rect, quarters); },
        [&] {
            return Move(OverlayRect{200, 200, 264, 264});
        },
        [&] { return overlay.clearSetting(); },
        [&] { return Set(8, 8, rect, quarters); },
        [&] { return overlay.close(); },
        [&] { return overlay.open(); },
    };
    for (std::size_t i = 0; i < std::size(calls); ++i) {
        ASSERT_EQ(calls[i](), kOk) << "call " << i;
        PumpMessages();
        Sleep(50);
        PumpMessages();
        EXPECT_EQ(GetForegroundWindow(), backdrop.Window()) << "after call " << i;
        EXPECT_EQ(GetActiveWindow(), backdrop.Window()) << "after call " << i;
    }
}

}  // namespace
