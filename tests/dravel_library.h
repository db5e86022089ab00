// DRAVEL.dll as its tests see it: loaded for one test and freed after it, so each test starts
// from a closed library and every test also unloads it. The entry points are bound by ordinal,
// as the program's imports bind them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "overlay/overlay_entry_points.h"
#include "overlay/overlay_ordinals.h"

namespace dravel::test {

class LoadedDravel {
public:
    LoadedDravel() : m_module(LoadLibraryA("DRAVEL.dll")) {}
    ~LoadedDravel() { Unload(); }
    LoadedDravel(const LoadedDravel&) = delete;
    LoadedDravel& operator=(const LoadedDravel&) = delete;

    // Null entries when the library or an ordinal is missing.
    OverlayEntryPoints EntryPoints() const
    {
        return {Ordinal<decltype(OverlayEntryPoints::open)>(overlay::kOpen),
                Ordinal<decltype(OverlayEntryPoints::close)>(overlay::kClose),
                Ordinal<decltype(OverlayEntryPoints::setAndShow)>(overlay::kSetAndShow),
                Ordinal<decltype(OverlayEntryPoints::moveAndShow)>(overlay::kMoveAndShow),
                Ordinal<decltype(OverlayEntryPoints::clearSetting)>(overlay::kClearSetting)};
    }

    void Unload()
    {
        if (m_module) FreeLibrary(m_module);
        m_module = nullptr;
    }

private:
    template <typename Function>
    Function Ordinal(int ordinal) const
    {
        if (!m_module) return nullptr;
        // Through a plain function pointer type, which GCC lets any function pointer become.
        return reinterpret_cast<Function>(
            reinterpret_cast<void (*)()>(GetProcAddress(m_module, MAKEINTRESOURCEA(ordinal))));
    }

    HMODULE m_module;
};

// The overlay window the library made in the process (its only layered window), or null.
inline HWND FindOverlayWindow(DWORD process = GetCurrentProcessId())
{
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED)) return window;
    }
    return nullptr;
}

// The OutputDebugStringA lines written while it lives, by any thread. They are taken from the
// exception that carries them, which a vectored handler sees before anything else.
class TraceCapture {
public:
    TraceCapture() : m_handler(AddVectoredExceptionHandler(1, Handler)) { Lines().clear(); }
    ~TraceCapture() { RemoveVectoredExceptionHandler(m_handler); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    static std::vector<std::string>& Lines()
    {
        static std::vector<std::string> lines;
        return lines;
    }

private:
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* exception)
    {
        const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
        if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2)
            Lines().emplace_back(reinterpret_cast<const char*>(record.ExceptionInformation[1]));
        return EXCEPTION_CONTINUE_SEARCH;
    }

    void* m_handler;
};

}  // namespace dravel::test
