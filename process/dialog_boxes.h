// The dialog boxes a process has on the screen: a library that waits on a message box hangs its
// caller, and a test finds the window a program it started has opened.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace process {

// Whether `window` is of the system's dialog class, as dialogs and message boxes are.
bool IsDialogBox(HWND window);

// The visible top-level dialog boxes of the process `processId`, topmost first.
std::vector<HWND> DialogBoxesOf(DWORD processId);
// The same of one thread.
std::vector<HWND> DialogBoxesOfThread(DWORD threadId);

// The text a message box shows.
std::string MessageBoxText(HWND box);

}  // namespace process
