// The console's icon painting while minimised.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "tests/dialog_driver.h"
#include "tests/fake_overlay.h"
#include "tests/run_console.h"

namespace {

using tavik::test::DialogDriver;
using tavik::test::FakeOverlay;

using Pixels = std::vector<COLORREF>;

// width × height pixels of a device context from (x, y), row by row.
Pixels ReadPixels(HDC source, int x, int y, int width, int height)
{
    const HDC memory = CreateCompatibleDC(source);
    const HBITMAP bitmap = CreateCompatibleBitmap(source, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
    Pixels pixels;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column) pixels.push_back(GetPixel(memory, column, row));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

// The icon drawn over a background of one colour, to tell its opaque pixels from its mask.
Pixels IconOver(HICON icon, COLORREF background, int width, int height)
{
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const HBRUSH brush = CreateSolidBrush(background);
    const RECT all{0, 0, width, height};
    FillRect(memory, &all, brush);
    DrawIcon(memory, 0, 0, icon);
    Pixels pixels = ReadPixels(memory, 0, 0, width, height);
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return pixels;
}

// What one paint of the minimised console left on screen.
struct MinimisedPaint {
    bool iconic = false;
    RECT client{};
    Pixels pixels;  // client.right × client.bottom from the window's top-left corner
};

// A minimised window has no client area under Wine, so nothing it paints could be read back. The
// minimised state is therefore set on the window's style alone, for one paint: the paint sees
// IsIconic while the client area stays whole. Wine soon restores such a window, so setting,
// painting and reading happen in one go on the dialog's thread. The frame is first grown by a
// pixel where needed to make client size minus icon size odd, where the "+ 1" matters.
MinimisedPaint PaintMinimised(HWND window, int iconWidth, int iconHeight)
{
    MinimisedPaint paint;
    RECT frame;
    GetWindowRect(window, &frame);
    GetClientRect(window, &paint.client);
    const int growX = (paint.client.right - iconWidth) % 2 == 0;
    const int growY = (paint.client.bottom - iconHeight) % 2 == 0;
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + growX, frame.bottom - frame.top + growY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(window, &paint.client);

    const LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, style | WS_MINIMIZE);
    // Without WS_CLIPCHILDREN the console's own paint covers its controls too.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN);
    paint.iconic = IsIconic(window);
    // An iconic window is painted through a DC of its whole window, frame included.
    const HDC dc = GetWindowDC(window);
    paint.pixels = ReadPixels(dc, 0, 0, paint.client.right, paint.client.bottom);
    ReleaseDC(window, dc);
    SetWindowLongA(window, GWL_STYLE, style);
    return paint;
}

TEST(ConsolePaint, MinimisedConsoleDrawsItsIconCentredInTheClientArea)
{
    const int iconWidth = GetSystemMetrics(SM_CXICON), iconHeight = GetSystemMetrics(SM_CYICON);
    FakeOverlay::Reset();
    MinimisedPaint paint;
    tavik::test::RunConsole([&](DialogDriver& driver) {
        driver.OnDialogThread([&] { paint = PaintMinimised(driver.Dialog(), iconWidth, iconHeight); });
        driver.Click(IDOK);
    });

    ASSERT_TRUE(paint.iconic);
    ASSERT_EQ((paint.client.right - iconWidth) % 2, 1);
    ASSERT_EQ((paint.client.bottom - iconHeight) % 2, 1);
    const int x = (paint.client.right - iconWidth + 1) / 2;
    const int y = (paint.client.bottom - iconHeight + 1) / 2;

    // Every opaque pixel of the icon (the same over black and over white) is where it belongs.
    const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
    const Pixels overBlack = IconOver(icon, RGB(0, 0, 0), iconWidth, iconHeight);
    const Pixels overWhite = IconOver(icon, RGB(255, 255, 255), iconWidth, iconHeight);
    int opaque = 0, matching = 0;
    for (int row = 0; row < iconHeight; ++row) {
        for (int column = 0; column < iconWidth; ++column) {
            const std::size_t i = static_cast<std::size_t>(row * iconWidth + column);
            if (overBlack[i] != overWhite[i]) continue;
            ++opaque;
            const std::size_t at = static_cast<std::size_t>((y + row) * paint.client.right + x + column);
            matching += paint.pixels[at] == overBlack[i];
        }
    }
    EXPECT_GT(opaque, iconWidth * iconHeight / 4) << "the icon should be mostly opaque";
    EXPECT_EQ(matching, opaque) << "icon pixels at (" << x << ", " << y << ")";
}

}  // namespace
