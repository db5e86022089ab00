#include "console/commands.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "console/result_report.h"
#include "res/resource.h"
#include "res/texts.h"

namespace tavik {

namespace {

constexpr CommandReport kOpen{IDC_OPEN_RESULT, texts::kOpenFailed, texts::kOpenCaption};
constexpr CommandReport kClose{IDC_CLOSE_RESULT, texts::kCloseFailed, texts::kCloseCaption};
constexpr CommandReport kClear{IDC_CLEAR_RESULT, texts::kClearFailed, texts::kClearCaption};
constexpr CommandReport kSetShow{IDC_SET_RESULT, texts::kSetShowFailed, texts::kSetShowCaption};
constexpr CommandReport kMoveShow{IDC_MOVE_RESULT, texts::kMoveShowFailed, texts::kMoveShowCaption};

struct NumberField {
    int id;
    const char* wrongText;
};

struct RectFields {
    NumberField startX, startY, endX, endY;
};

constexpr NumberField kWidth{IDC_SURFACE_WIDTH, texts::kWidthWrong};
constexpr NumberField kHeight{IDC_SURFACE_HEIGHT, texts::kHeightWrong};
constexpr NumberField kRed{IDC_RED, texts::kRedWrong};
constexpr NumberField kGreen{IDC_GREEN, texts::kGreenWrong};
constexpr NumberField kBlue{IDC_BLUE, texts::kBlueWrong};
constexpr RectFields kSetRect{{IDC_SET_START_X, texts::kStartXWrong},
                              {IDC_SET_START_Y, texts::kStartYWrong},
                              {IDC_SET_END_X, texts::kEndXWrong},
                              {IDC_SET_END_Y, texts::kEndYWrong}};
constexpr RectFields kMoveRect{{IDC_MOVE_START_X, texts::kStartXWrong},
                               {IDC_MOVE_START_Y, texts::kStartYWrong},
                               {IDC_MOVE_END_X, texts::kEndXWrong},
                               {IDC_MOVE_END_Y, texts::kEndYWrong}};

// Each reader stops at a wrong field with that field's box and reports false; the caller then
// ends the command without reading further or calling the library.
bool ReadNumber(ConsoleWindow& window, const NumberField& field, std::uint32_t& out)
{
    const std::optional<std::uint32_t> value = window.ReadUnsigned(field.id);
    if (!value) {
        window.ShowStopBox(field.wrongText, texts::kInputErrorCaption);
        return false;
    }
    out = *value;
    return true;
}

bool ReadColour(ConsoleWindow& window, const NumberField& field, std::uint8_t& out)
{
    std::uint32_t value = 0;
    if (!ReadNumber(window, field, value)) return false;
    out = static_cast<std::uint8_t>(std::min<std::uint32_t>(value, 255));
    return true;
}

// The name is copied byte for byte with its NUL; a name that cannot fit is refused rather than
// cut, so the library never sees a different file than the one typed.
bool ReadBitmapFile(ConsoleWindow& window, char (&out)[sizeof OverlaySurfaceParams::bitmapFile])
{
    const std::string name = window.ReadText(IDC_BITMAP_FILE);
    if (name.size() >= sizeof out) {
        window.ShowStopBox(texts::kBitmapFileWrong, texts::kInputErrorCaption);
        return false;
    }
    std::memcpy(out, name.c_str(), name.size() + 1);
    return true;
}

bool ReadRect(ConsoleWindow& window, const RectFields& fields, OverlayRect& rect)
{
    return ReadNumber(window, fields.startX, rect.startX) && ReadNumber(window, fields.startY, rect.startY) &&
           ReadNumber(window, fields.endX, rect.endX) && ReadNumber(window, fields.endY, rect.endY);
}

}  // namespace

void RunOpen(ConsoleWindow& window, const OverlayEntryPoints& overlay)
{
    ReportResult(window, kOpen, overlay.open());
}

void RunClose(ConsoleWindow& window, const OverlayEntryPoints& overlay)
{
    ReportResult(window, kClose, overlay.close());
}

void RunClearSetting(ConsoleWindow& window, const OverlayEntryPoints& overlay)
{
    ReportResult(window, kClear, overlay.clearSetting());
}

void RunSetAndShow(ConsoleWindow& window, const OverlayEntryPoints& overlay)
{
    OverlaySurfaceParams params;
    OverlayRect rect;
    std::memset(&params, 0, sizeof params);
    std::memset(&rect, 0, sizeof rect);

    const bool complete = ReadNumber(window, kWidth, params.width) && ReadNumber(window, kHeight, params.height) &&
                          ReadColour(window, kRed, params.red) && ReadColour(window, kGreen, params.green) &&
                          ReadColour(window, kBlue, params.blue) && ReadBitmapFile(window, params.bitmapFile) &&
                          ReadRect(window, kSetRect, rect);
    if (!complete) return;
    ReportResult(window, kSetShow, overlay.setAndShow(&params, &rect));
}

void RunMoveAndShow(ConsoleWindow& window, const OverlayEntryPoints& overlay)
{
    OverlayRect rect;
    std::memset(&rect, 0, sizeof rect);
    if (!ReadRect(window, kMoveRect, rect)) return;
    ReportResult(window, kMoveShow, overlay.moveAndShow(&rect));
}

}  // namespace tavik
