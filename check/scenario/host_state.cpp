#include "check/scenario/host_state.h"

#include "check/system_names.h"

namespace check {

namespace {

// With a window of its own: a thread that opened the clipboard for no window may find it opened
// again by any other that asks for no window too.
DWORD WINAPI TryClipboard(void* opened)
{
    const HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    *static_cast<bool*>(opened) = OpenClipboard(window) && CloseClipboard();
    DestroyWindow(window);
    return 0;
}

// Asked from another thread: the thread that holds the clipboard open may open it again itself.
bool ClipboardHeld()
{
    bool opened = false;
    const HANDLE thread = CreateThread(nullptr, 0, TryClipboard, &opened, 0, nullptr);
    if (thread == nullptr) return false;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return !opened;
}

std::string DllDirectory()
{
    char path[MAX_PATH * 4] = {};
    const DWORD length = GetDllDirectoryA(sizeof path, path);
    return length > 0 && length < sizeof path ? path : "";
}

std::string Quoted(const std::string& path)
{
    return path.empty() ? "none" : "\"" + path + "\"";
}

}  // namespace

HostState HostStateNow(HWND caller)
{
    return {GetWindowLongPtrA(caller, GWLP_WNDPROC),
            ClipboardHeld(),
            GetClipboardOwner(),
            DllDirectory(),
            GetThreadPriority(GetCurrentThread()),
            GetPriorityClass(GetCurrentProcess())};
}

std::vector<std::string> HostStateChanges(const HostState& before, const HostState& after)
{
    std::vector<std::string> changes;
    if (after.windowProcedure != before.windowProcedure)
        changes.push_back("replaced the window procedure of the caller's window and did not put it back");
    if (after.clipboardHeld && !before.clipboardHeld)
        changes.push_back("kept the clipboard open: no other thread or process can open it");
    if (after.clipboardOwner != before.clipboardOwner)
        changes.push_back("emptied the clipboard and took it over (its owner changed)");
    if (after.dllDirectory != before.dllDirectory)
        changes.push_back("changed the DLL search path (SetDllDirectory " + Quoted(before.dllDirectory) + " -> " +
                          Quoted(after.dllDirectory) +
                          ") and did not restore it: the console's later LoadLibrary "
                          "looks there");
    if (after.threadPriority != before.threadPriority)
        changes.push_back(std::string(after.threadPriority > before.threadPriority ? "raised" : "lowered") +
                          " the caller thread's priority " + ThreadPriorityText(before.threadPriority) + " -> " +
                          ThreadPriorityText(after.threadPriority) + " and left it there");
    if (after.priorityClass != before.priorityClass)
        changes.push_back("changed the process's priority class " + PriorityClassText(before.priorityClass) + " -> " +
                          PriorityClassText(after.priorityClass) + " and left it there");
    return changes;
}

void RestoreHostState(const HostState& state, HWND caller)
{
    if (GetWindowLongPtrA(caller, GWLP_WNDPROC) != state.windowProcedure)
        SetWindowLongPtrA(caller, GWLP_WNDPROC, state.windowProcedure);
    // Closes it where this thread holds it open (and fails harmlessly where it does not); another
    // thread's hold cannot be taken.
    if (!state.clipboardHeld) CloseClipboard();
    SetDllDirectoryA(state.dllDirectory.empty() ? nullptr : state.dllDirectory.c_str());
    SetThreadPriority(GetCurrentThread(), state.threadPriority);
    SetPriorityClass(GetCurrentProcess(), state.priorityClass);
}

}  // namespace check
