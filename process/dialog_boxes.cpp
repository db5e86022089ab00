#include "process/dialog_boxes.h"

#include <cstring>

namespace process {

namespace {

// The id a message box gives its text.
constexpr int kMessageBoxTextId = 0xFFFF;

struct Found {
    DWORD processId;  // 0 for any
    std::vector<HWND> boxes;
};

BOOL CALLBACK KeepDialogBox(HWND window, LPARAM found)
{
    auto& into = *reinterpret_cast<Found*>(found);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((into.processId == 0 || owner == into.processId) && IsWindowVisible(window) && IsDialogBox(window))
        into.boxes.push_back(window);
    return TRUE;
}

}  // namespace

bool IsDialogBox(HWND window)
{
    char name[8] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "#32770") == 0;
}

std::vector<HWND> DialogBoxesOf(DWORD processId)
{
    Found found{processId, {}};
    EnumWindows(KeepDialogBox, reinterpret_cast<LPARAM>(&found));
    return found.boxes;
}

std::vector<HWND> DialogBoxesOfThread(DWORD threadId)
{
    Found found{0, {}};
    EnumThreadWindows(threadId, KeepDialogBox, reinterpret_cast<LPARAM>(&found));
    return found.boxes;
}

std::string MessageBoxText(HWND box)
{
    char text[256] = {};
    GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
    return text;
}

}  // namespace process
