#include "check/checked_library.h"

#include <algorithm>

#include "check/abi_probe.h"
#include "check/checks.h"
#include "check/protocol.h"

namespace check {

namespace {

constexpr const char* kNames[] = {"Open", "Close", "Set & show", "Move & show", "Clear setting"};

double Microseconds(LONGLONG ticks)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(frequency.QuadPart);
}

void DispatchPosted()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

struct OpenBoxes {
    std::vector<HWND> windows;
};

BOOL CALLBACK KeepOwnDialog(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && std::string(name) == "#32770")
        reinterpret_cast<OpenBoxes*>(found)->windows.push_back(window);
    return TRUE;
}

}  // namespace

std::string OrdinalLabel(int ordinal)
{
    return "ordinal " + std::to_string(ordinal) + " (" + CallName(ordinal) + ")";
}

std::string CallName(int ordinal)
{
    return kNames[ordinal - 1];
}

CheckedLibrary::CheckedLibrary(const std::string& path, std::uint32_t skip)
    : m_module(nullptr), m_skip(skip), m_entries{}
{
    SendCall(kNoOrdinal, "loading the library");
    m_module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (m_module == nullptr) return;
    for (const int ordinal : kAllOrdinals) m_entries[ordinal - 1] = GetProcAddress(m_module, MAKEINTRESOURCEA(ordinal));
}

std::optional<CallOutcome> CheckedLibrary::Call(int ordinal, const OverlaySurfaceParams* params,
                                                const OverlayRect* rect, const std::string& what)
{
    if (!Has(ordinal)) return std::nullopt;
    if (m_skip > 0) {
        --m_skip;
        return std::nullopt;
    }
    const std::string label = OrdinalLabel(ordinal) + (what.empty() ? "" : " " + what);
    SendCall(ordinal, label);
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
    SendDone(ordinal, code, Microseconds(end.QuadPart - start.QuadPart));

    DispatchPosted();
    OpenBoxes boxes;
    EnumWindows(KeepOwnDialog, reinterpret_cast<LPARAM>(&boxes));
    for (HWND box : boxes.windows) {
        if (std::find(m_reportedBoxes.begin(), m_reportedBoxes.end(), box) != m_reportedBoxes.end()) continue;
        m_reportedBoxes.push_back(box);
        char text[256] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        SendFinding({kFaultsCheck, ordinal, label, std::string("left a message box open: \"") + text + "\""});
    }
    return CallOutcome{code, AbiBreaches(state)};
}

}  // namespace check
