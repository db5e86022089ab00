#include "check/scenario/thread_ledger.h"

#include <algorithm>
#include <iterator>

#include "check/scenario/import_slots.h"

namespace check {

namespace {

struct Set {
    int ordinal;
    bool timer;
    UINT_PTR id;  // the timer's id or the hook's handle
    std::string what;
};

// One library per scenario process; its imports reach the ledger through here. Only what is done on
// the caller's thread is noted: the library's own threads are theirs to keep.
std::vector<Set> g_set;
int g_ordinal = 0;
DWORD g_callerThread = 0;

bool OnCallerThread()
{
    return GetCurrentThreadId() == g_callerThread;
}

void Forget(bool timer, UINT_PTR id)
{
    if (OnCallerThread()) std::erase_if(g_set, [&](const Set& set) { return set.timer == timer && set.id == id; });
}

UINT_PTR WINAPI NotedSetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC proc)
{
    const UINT_PTR timer = SetTimer(window, id, milliseconds, proc);
    if (window == nullptr && timer != 0 && OnCallerThread()) {
        Forget(true, timer);
        g_set.push_back({g_ordinal, true, timer, "a thread timer"});
    }
    return timer;
}

BOOL WINAPI NotedKillTimer(HWND window, UINT_PTR id)
{
    if (window == nullptr) Forget(true, id);
    return KillTimer(window, id);
}

std::string HookName(int type)
{
    constexpr const char* kNames[] = {
        "WH_MSGFILTER",   "WH_JOURNALRECORD", "WH_JOURNALPLAYBACK", "WH_KEYBOARD",       "WH_GETMESSAGE",
        "WH_CALLWNDPROC", "WH_CBT",           "WH_SYSMSGFILTER",    "WH_MOUSE",          "WH_HARDWARE",
        "WH_DEBUG",       "WH_SHELL",         "WH_FOREGROUNDIDLE",  "WH_CALLWNDPROCRET", "WH_KEYBOARD_LL",
        "WH_MOUSE_LL"};
    const int index = type + 1;
    return index >= 0 && index < static_cast<int>(std::size(kNames)) ? kNames[index] : "type " + std::to_string(type);
}

HHOOK Noted(HHOOK hook, int type, DWORD thread)
{
    const char* where = thread == GetCurrentThreadId() ? " hook on the caller's thread"
                        : thread == 0                  ? " hook on every thread"
                                                       : " hook on another thread";
    if (hook != nullptr && OnCallerThread())
        g_set.push_back({g_ordinal, false, reinterpret_cast<UINT_PTR>(hook), "a " + HookName(type) + where});
    return hook;
}

HHOOK WINAPI NotedSetHookA(int type, HOOKPROC proc, HINSTANCE module, DWORD thread)
{
    return Noted(SetWindowsHookExA(type, proc, module, thread), type, thread);
}

HHOOK WINAPI NotedSetHookW(int type, HOOKPROC proc, HINSTANCE module, DWORD thread)
{
    return Noted(SetWindowsHookExW(type, proc, module, thread), type, thread);
}

BOOL WINAPI NotedUnhook(HHOOK hook)
{
    Forget(false, reinterpret_cast<UINT_PTR>(hook));
    return UnhookWindowsHookEx(hook);
}

void TakeAway(const Set& set)
{
    if (set.timer)
        KillTimer(nullptr, set.id);
    else
        UnhookWindowsHookEx(reinterpret_cast<HHOOK>(set.id));
}

}  // namespace

void WatchThreadImports(HMODULE library)
{
    g_callerThread = GetCurrentThreadId();
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    const struct {
        const char* name;
        const void* ours;
    } kNoted[] = {
        {"SetTimer", reinterpret_cast<const void*>(NotedSetTimer)},
        {"KillTimer", reinterpret_cast<const void*>(NotedKillTimer)},
        {"SetWindowsHookExA", reinterpret_cast<const void*>(NotedSetHookA)},
        {"SetWindowsHookExW", reinterpret_cast<const void*>(NotedSetHookW)},
        {"UnhookWindowsHookEx", reinterpret_cast<const void*>(NotedUnhook)},
    };
    // The loader bound each import slot to the function's address; a slot holding one of these
    // is pointed at its stand-in, whatever name or ordinal it was imported by.
    ForEachImportSlot(library, [&](const char*, ULONG_PTR& slot) {
        for (const auto& noted : kNoted)
            if (slot == reinterpret_cast<ULONG_PTR>(GetProcAddress(user32, noted.name))) PointSlot(slot, noted.ours);
    });
}

void NoteCallInProgress(int ordinal)
{
    g_ordinal = ordinal;
}

std::vector<LeftOnThread> TakeLeftOnThread()
{
    std::vector<LeftOnThread> left;
    for (const Set& set : g_set) {
        TakeAway(set);
        left.push_back({set.ordinal, set.what, set.timer});
    }
    g_set.clear();
    return left;
}

void KillThreadTimers()
{
    for (const Set& set : g_set)
        if (set.timer) TakeAway(set);
    std::erase_if(g_set, [](const Set& set) { return set.timer; });
}

}  // namespace check
