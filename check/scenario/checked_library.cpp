#include "check/scenario/checked_library.h"

#include <algorithm>

#include "check/checks.h"
#include "check/numbers.h"
#include "check/scenario/abi_probe.h"
#include "check/scenario/send.h"
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

// Painting and input come from the system, not from a post.
bool FromTheSystem(UINT message)
{
    return message == WM_PAINT || (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

// Dispatches what the library posted, as the console's loop would, and notes what was not for
// the library's own windows.
std::vector<std::string> DispatchPosted(HMODULE library)
{
    std::vector<std::string> foreign;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            foreign.push_back("posted WM_QUIT to the caller's thread (the caller's message loop ends)");
        else if (message.hwnd == nullptr)
            foreign.push_back("posted thread message " + Hex(message.message) + " to the caller's thread");
        else if (!FromTheSystem(message.message) &&
                 reinterpret_cast<HMODULE>(GetWindowLongPtrA(message.hwnd, GWLP_HINSTANCE)) != library)
            foreign.push_back("posted message " + Hex(message.message) + " to a window it does not own");
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return foreign;
}

}  // namespace

CheckedLibrary::CheckedLibrary(const std::string& path, std::uint32_t skip)
    : m_module(nullptr), m_skip(skip), m_entries{}
{
    // Blamed on the first call not passed over.
    SendCall(kNoOrdinal, m_skip, "loading the library");
    m_module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (m_module == nullptr) return;
    for (const int ordinal : kAllOrdinals) m_entries[ordinal - 1] = GetProcAddress(m_module, MAKEINTRESOURCEA(ordinal));
}

std::optional<CallOutcome> CheckedLibrary::Call(int ordinal, const OverlaySurfaceParams* params,
                                                const OverlayRect* rect, const std::string& what)
{
    // A call to an entry point not exported counts too: the index is the one the planned calls
    // have.
    const std::uint32_t index = m_asked++;
    if (index < m_skip || !Has(ordinal)) return std::nullopt;
    const std::string label = OrdinalLabel(ordinal) + (what.empty() ? "" : " " + what);
    SendCall(ordinal, index, label);
    ForgetThrows();
    // Set & show takes (params, rect), Move & show (rect); the others take nothing.
    const auto first = reinterpret_cast<std::uintptr_t>(ordinal == kMoveAndShow ? static_cast<const void*>(rect)
                                                                                : static_cast<const void*>(params));
    const auto second = reinterpret_cast<std::uintptr_t>(rect);
    AbiState state = MarkedState();
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const OverlayResult code =
        CheckedCall(reinterpret_cast<const void*>(m_entries[ordinal - 1]), first, second, &state);
    QueryPerformanceCounter(&end);
    SendReturned(ordinal, code, Microseconds(end.QuadPart - start.QuadPart));

    std::vector<std::string> foreign = DispatchPosted(m_module);
    for (const HWND box : process::DialogBoxesOf(GetCurrentProcessId())) {
        if (std::find(m_reportedBoxes.begin(), m_reportedBoxes.end(), box) != m_reportedBoxes.end()) continue;
        m_reportedBoxes.push_back(box);
        SendFinding(
            {kFaultsCheck, ordinal, label, "left a message box open: \"" + process::MessageBoxText(box) + "\""});
    }
    return CallOutcome{code, AbiBreaches(state), std::move(foreign)};
}

}  // namespace check
