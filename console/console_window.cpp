#include "console/console_window.h"

#include <algorithm>
#include <cassert>

#include "console/unsigned_text.h"
#include "res/resource.h"

namespace tavik {

namespace {

constexpr int kFields[] = {
    IDC_OPEN_RESULT,  IDC_CLOSE_RESULT, IDC_CLEAR_RESULT,  IDC_SET_RESULT,   IDC_MOVE_RESULT,
    IDC_SURFACE_WIDTH, IDC_SURFACE_HEIGHT, IDC_RED,        IDC_GREEN,        IDC_BLUE,
    IDC_BITMAP_FILE,  IDC_SET_START_X,  IDC_SET_START_Y,   IDC_SET_END_X,    IDC_SET_END_Y,
    IDC_MOVE_START_X, IDC_MOVE_START_Y, IDC_MOVE_END_X,    IDC_MOVE_END_Y,
};

}  // namespace

bool IsConsoleField(int id)
{
    return std::find(std::begin(kFields), std::end(kFields), id) != std::end(kFields);
}

std::string ConsoleWindow::ReadText(int id)
{
    if (IsConsoleField(id)) return FieldText(id);
    Refuse(id);
    return {};
}

void ConsoleWindow::WriteText(int id, const std::string& text)
{
    if (IsConsoleField(id))
        SetFieldText(id, text);
    else
        Refuse(id);
}

std::optional<std::uint32_t> ConsoleWindow::ReadUnsigned(int id)
{
    return ParseUnsignedDecimal(ReadText(id));
}

void ConsoleWindow::WriteUnsigned(int id, std::uint32_t value)
{
    WriteText(id, std::to_string(value));
}

void ConsoleWindow::Refuse([[maybe_unused]] int id)
{
    assert(!"no console field has this id");
}

}  // namespace tavik
