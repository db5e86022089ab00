#include "check/scenario/checked_library.h"

#include <algorithm>

#include "check/checks.h"
#include "check/system_names.h"
#include "check/scenario/abi_probe.h"
#include "check/scenario/caller_state.h"
#include "check/scenario/failing_calls.h"
#include "check/scenario/guarded_records.h"
#include "check/scenario/heap_check.h"
#include "check/scenario/own_module.h"
#include "check/scenario/send.h"
#include "check/scenario/thread_ledger.h"
#include "check/scenario/throw_watch.h"
#include "process/dialog_boxes.h"

namespace check {

namespace {

double Microseconds(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// Painting, timers and input come from the system, not from a post; where the mouse goes (a
// cursor clip moves it) is the system's to tell, over a window's frame as inside it.
bool FromTheSystem(UINT message)
{
    return message == WM_PAINT || message == WM_TIMER || (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||
           (message >= WM_NCMOUSEHOVER && message <= WM_MOUSELEAVE);
}

// More messages than this after one call flood the caller's queue: its loop would never be idle.
constexpr int kFlood = 1000;

std::string FloodText(const MSG& message)
{
    char className[64] = {};
    if (message.hwnd != nullptr) GetClassNameA(message.hwnd, className, sizeof className);
    return "flooded the caller's queue with " +
           (message.message == WM_TIMER && message.hwnd == nullptr
                ? std::string("the WM_TIMER of thread timers it set and did not kill")
                : MessageText(message.message) + (message.hwnd == nullptr
                                                      ? std::string(" to the caller's thread")
                                                      : " to a window of class \"" + std::string(className) + "\"")) +
           " (" + std::to_string(kFlood) + " and more after one call)";
}

// Dispatches what the library posted, as the console's loop would, and notes what was not for
// the library's own windows. A flood is named and cut short: the thread timers the library left
// are killed, so that the checks go on. `dispatched` counts the messages.
std::vector<std::string> DispatchPosted(HMODULE library, int& dispatched)
{
    std::vector<std::string> foreign;
    MSG message;
    for (dispatched = 0; dispatched < 2 * kFlood && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++dispatched) {
        if (dispatched == kFlood) {
            foreign.push_back(FloodText(message));
            KillThreadTimers();
        }
        // A thread timer's WM_TIMER comes from the system; the timers the library leaves are told
        // by the ledger (thread_ledger.h).
        const bool posted = !FromTheSystem(message.message);
        if (message.message == WM_QUIT)
            foreign.push_back("posted WM_QUIT to the caller's thread (the caller's message loop ends)");
        else if (posted && message.hwnd == nullptr)
            foreign.push_back("posted thread message " + MessageText(message.message) + " to the caller's thread");
        else if (posted && reinterpret_cast<HMODULE>(GetWindowLongPtrA(message.hwnd, GWLP_HINSTANCE)) != library)
            foreign.push_back("posted " + MessageText(message.message) + " to a window it does not own");
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return foreign;
}

}  // namespace

CheckedLibrary::CheckedLibrary(const std::string& path, std::uint32_t skip)
    : m_module(nullptr), m_loadError(0), m_skip(skip), m_entries{}
{
    // Blamed on the first call not passed over.
    SendStep(Step::kLoading, m_skip);
    m_module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (m_module == nullptr) m_loadError = GetLastError();
    // What the scenario does before its first call is its own, not held to the hang limit.
    SendReturned(kNoOrdinal, 0, 0);
    if (m_module == nullptr) return;
    for (const int ordinal : kAllOrdinals) m_entries[ordinal - 1] = GetProcAddress(m_module, MAKEINTRESOURCEA(ordinal));
    WatchThreadImports(m_module);
}

void CheckedLibrary::Unload()
{
    if (m_module == nullptr) return;
    SendStep(Step::kUnloading, m_asked);
    FreeLibrary(m_module);
    SendReturned(kNoOrdinal, 0, 0);
    m_module = nullptr;
    std::fill(std::begin(m_entries), std::end(m_entries), nullptr);
}

std::optional<CallOutcome> CheckedLibrary::Call(int ordinal, const OverlaySurfaceParams* params,
                                                const OverlayRect* rect, const std::string& what)
{
    // A call to an entry point not exported counts too: the index is the one the planned calls
    // have.
    const std::uint32_t index = m_asked++;
    if (index < m_skip || !Has(ordinal)) return std::nullopt;
    // A thread of the library's may have unloaded it since the last call returned: that call is
    // still the last one announced, and is blamed.
    if (!ModuleLoaded(m_module)) EndForSelfUnload();
    const std::string label = OrdinalLabel(ordinal) + (what.empty() ? "" : " " + what);
    SendCall(ordinal, index, label);
    ForgetThrows();
    // Set & show takes (params, rect), Move & show (rect); the others take nothing.
    const auto first = reinterpret_cast<std::uintptr_t>(ordinal == kMoveAndShow ? static_cast<const void*>(rect)
                                                                                : static_cast<const void*>(params));
    const auto second = reinterpret_cast<std::uintptr_t>(rect);
    if (m_caller) m_caller->PostProbe();
    NoteCallInProgress(ordinal);
    AbiState state = MarkedState();
    LARGE_INTEGER start, end;
    BeginWrappedCalls(ordinal);
    QueryPerformanceCounter(&start);
    const OverlayResult code =
        CheckedCall(reinterpret_cast<const void*>(m_entries[ordinal - 1]), first, second, &state);
    QueryPerformanceCounter(&end);
    EndWrappedCalls();
    // Before anything reaches into its image again: its windows' procedures, its imports.
    if (!ModuleLoaded(m_module)) EndForSelfUnload();
    // Before this process allocates anything more from a heap the library may have corrupted.
    if (!HeapsValid()) EndForCorruptHeap();
    if (m_records) m_records->Withdraw();
    std::vector<std::string> queue;
    if (m_caller)
        if (auto probe = m_caller->TakeProbe()) queue.push_back(std::move(*probe));
    SendReturned(ordinal, code, Microseconds(end.QuadPart - start.QuadPart));

    int dispatched = 0;
    for (std::string& foreign : DispatchPosted(m_module, dispatched)) queue.push_back(std::move(foreign));
    NoteCallInProgress(kNoOrdinal);
    // The library's window procedures ran: validated again, so their harm is blamed on this call.
    if (dispatched > 0 && !HeapsValid()) EndForCorruptHeap();
    for (const HWND box : process::DialogBoxesOf(GetCurrentProcessId())) {
        if (std::find(m_reportedBoxes.begin(), m_reportedBoxes.end(), box) != m_reportedBoxes.end()) continue;
        m_reportedBoxes.push_back(box);
        SendFinding(
            {kFaultsCheck, ordinal, label, "left a message box open: \"" + process::MessageBoxText(box) + "\""});
    }
    return CallOutcome{code, AbiBreaches(state), std::move(queue)};
}

}  // namespace check
