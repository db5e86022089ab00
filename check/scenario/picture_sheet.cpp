#include "check/scenario/picture_sheet.h"

#include "check/scenario/outline.h"

namespace check {

namespace {

constexpr int kGap = 8;
constexpr int kLabelHeight = 18;
constexpr COLORREF kPaper = RGB(255, 255, 255);
constexpr COLORREF kFrame = RGB(128, 128, 128);

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void DrawRow(HDC dc, const SheetRow& row, std::uint32_t outline, int top)
{
    const ScreenImage image = row.asked ? Outlined(*row.image, *row.asked, outline) : *row.image;
    TextOutA(dc, kGap, top, row.label.c_str(), static_cast<int>(row.label.size()));
    const int y = top + kLabelHeight;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, image.Width(), -image.Height(), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, kGap, y, image.Width(), image.Height(), 0, 0, 0, image.Height(), image.pixels.data(), &info,
                      DIB_RGB_COLORS);
    RECT frame{kGap, y, kGap + image.Width(), y + image.Height()};
    InflateRect(&frame, 1, 1);
    const HBRUSH brush = CreateSolidBrush(kFrame);
    FrameRect(dc, &frame, brush);
    DeleteObject(brush);
}

}  // namespace

ScreenImage Outlined(const ScreenImage& image, const RECT& asked, std::uint32_t colour)
{
    ScreenImage outlined = image;
    DrawOutline(outlined.pixels, image.Width(),
                {asked.left - image.area.left, asked.top - image.area.top, asked.right - image.area.left,
                 asked.bottom - image.area.top},
                colour);
    return outlined;
}

ScreenImage PictureSheet(const std::vector<SheetRow>& rows)
{
    if (rows.empty()) return {};
    std::vector<const std::vector<std::uint32_t>*> images;
    for (const SheetRow& row : rows) images.push_back(&row.image->pixels);
    const std::uint32_t outline = UnusedColour(images);
    const int imageWidth = rows.front().image->Width();
    const int imageHeight = rows.front().image->Height();
    const int width = 2 * kGap + imageWidth;
    const int height = kGap + static_cast<int>(rows.size()) * (kLabelHeight + imageHeight + kGap);
    const RECT area{0, 0, width, height};
    return DrawnImage(area, [&](HDC dc) {
        const HGDIOBJ previousFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        Fill(dc, area, kPaper);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        for (std::size_t i = 0; i < rows.size(); ++i)
            DrawRow(dc, rows[i], outline, kGap + static_cast<int>(i) * (kLabelHeight + imageHeight + kGap));
        SelectObject(dc, previousFont);
    });
}

}  // namespace check
