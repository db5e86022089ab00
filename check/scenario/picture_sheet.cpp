#include "check/scenario/picture_sheet.h"

namespace check {

namespace {

constexpr int kGap = 8;
constexpr int kLabelHeight = 18;
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kPanel = RGB(232, 232, 232);
constexpr COLORREF kFrame = RGB(128, 128, 128);
constexpr COLORREF kOutline = RGB(220, 0, 0);

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

// A frame `width` pixels thick just outside `rect`.
void Outline(HDC dc, RECT rect, COLORREF colour, int width)
{
    const HBRUSH brush = CreateSolidBrush(colour);
    for (int i = 0; i < width; ++i) {
        InflateRect(&rect, 1, 1);
        FrameRect(dc, &rect, brush);
    }
    DeleteObject(brush);
}

void DrawRow(HDC dc, const SheetRow& row, int top)
{
    const ScreenImage& image = *row.image;
    TextOutA(dc, kGap, top, row.label.c_str(), static_cast<int>(row.label.size()));
    const int y = top + kLabelHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, image.Width(), -image.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, kGap, y, image.Width(), image.Height(), 0, 0, 0, image.Height(), image.pixels.data(), &info,
                      DIB_RGB_COLORS);
    const RECT shown{kGap, y, kGap + image.Width(), y + image.Height()};
    RECT panel = shown;
    OffsetRect(&panel, image.Width() + kGap, 0);
    Fill(dc, panel, kPanel);
    Outline(dc, shown, kFrame, 1);
    Outline(dc, panel, kFrame, 1);
    if (!row.asked) return;
    RECT asked = *row.asked;
    OffsetRect(&asked, panel.left - image.area.left, panel.top - image.area.top);
    // The asked rectangle's own pixels lie just inside the outline.
    const HRGN clip = CreateRectRgnIndirect(&panel);
    SelectClipRgn(dc, clip);
    Outline(dc, asked, kOutline, 2);
    SelectClipRgn(dc, nullptr);
    DeleteObject(clip);
}

}  // namespace

ScreenImage PictureSheet(const std::vector<SheetRow>& rows)
{
    if (rows.empty()) return {};
    const int imageWidth = rows.front().image->Width();
    const int imageHeight = rows.front().image->Height();
    const int width = 3 * kGap + 2 * imageWidth;
    const int height = kGap + static_cast<int>(rows.size()) * (kLabelHeight + imageHeight + kGap);
    const RECT area{0, 0, width, height};
    return DrawnImage(area, [&](HDC dc) {
        const HGDIOBJ previousFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        Fill(dc, area, kPaper);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        for (std::size_t i = 0; i < rows.size(); ++i)
            DrawRow(dc, rows[i], kGap + static_cast<int>(i) * (kLabelHeight + imageHeight + kGap));
        SelectObject(dc, previousFont);
    });
}

}  // namespace check
