#include "process/dialog_boxes.h"

#include <cstring>

namespace process {

namespace {

// The id a message box gives its text.
constexpr int kMessageBoxTextId = 0xFFFF;
// The system's dialog class, the class of dialogs and message boxes.
constexpr char kDialogClass[] = "#32770";

BOOL CALLBACK KeepDialogBox(HWND window, LPARAM boxes)
{
    if (IsWindowVisible(window) && IsDialogBox(window)) reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    return TRUE;
}

}  // namespace

bool IsDialogBox(HWND window)
{
    char name[8] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, kDialogClass) == 0;
}

// Asked for the dialog class alone, the window server leaves the other windows out: under Wine each
// of them would cost a round trip to the server, and this runs after every call of a library.
std::vector<HWND> DialogBoxesOf(DWORD processId)
{
    std::vector<HWND> boxes;
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, kDialogClass, nullptr)) != nullptr;) {
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (owner == processId && IsWindowVisible(box)) boxes.push_back(box);
    }
    return boxes;
}

std::vector<HWND> DialogBoxesOfThread(DWORD threadId)
{
    std::vector<HWND> boxes;
    EnumThreadWindows(threadId, KeepDialogBox, reinterpret_cast<LPARAM>(&boxes));
    return boxes;
}

std::string MessageBoxText(HWND box)
{
    char text[256] = {};
    GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
    return text;
}

}  // namespace process
