#include "process/dialog_boxes.h"

#include <cstring>

namespace process {

namespace {

// The id a message box gives its text.
constexpr int kMessageBoxTextId = 0xFFFF;
// The system's dialog class, the class of dialogs and message boxes.
constexpr char kDialogClass[] = "#32770";

// The visible top-level dialog boxes whose thread and process `mine` takes, topmost first. Asked
// for the dialog class alone, the window server leaves the other windows out: under Wine each of
// them would cost a round trip to the server, and this runs after every call of a library.
template <typename Mine>
std::vector<HWND> DialogBoxesWhere(Mine mine)
{
    std::vector<HWND> boxes;
    for (HWND box = nullptr; (box = FindWindowExA(nullptr, box, kDialogClass, nullptr)) != nullptr;) {
        DWORD processId = 0;
        const DWORD threadId = GetWindowThreadProcessId(box, &processId);
        if (mine(threadId, processId) && IsWindowVisible(box)) boxes.push_back(box);
    }
    return boxes;
}

}  // namespace

bool IsDialogBox(HWND window)
{
    char name[8] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, kDialogClass) == 0;
}

std::vector<HWND> DialogBoxesOf(DWORD processId)
{
    return DialogBoxesWhere([processId](DWORD, DWORD process) { return process == processId; });
}

std::vector<HWND> DialogBoxesOfThread(DWORD threadId)
{
    return DialogBoxesWhere([threadId](DWORD thread, DWORD) { return thread == threadId; });
}

std::string MessageBoxText(HWND box)
{
    char text[256] = {};
    GetDlgItemTextA(box, kMessageBoxTextId, text, sizeof text);
    return text;
}

}  // namespace process
