// The library under check, loaded into a scenario process and bound by ordinal as the console binds
// it. Every call goes through the ABI thunk and is announced to the checking process first.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "check/ordinals.h"
#include "overlay/overlay_api.h"

namespace check {

struct CallOutcome {
    OverlayResult code;
    std::vector<std::string> abiBreaches;
    // What the library did with the caller's queue: dispatched or took the caller's messages
    // during the call, left in it what is not its own windows' business (WM_QUIT, thread messages,
    // messages to windows of other modules), or flooded it.
    std::vector<std::string> callerQueue;
};

class CallerWindow;
class GuardedRecords;

class CheckedLibrary {
public:
    // The first `skip` calls asked for are passed over, as if the library did not export them.
    CheckedLibrary(const std::string& path, std::uint32_t skip = 0);
    CheckedLibrary(const CheckedLibrary&) = delete;
    CheckedLibrary& operator=(const CheckedLibrary&) = delete;

    bool IsLoaded() const { return m_module != nullptr; }
    HMODULE Module() const { return m_module; }
    // Why it did not load, as the loader said at once.
    DWORD LoadError() const { return m_loadError; }
    // Unloads it with FreeLibrary, as the console does at its end.
    void Unload();

    // The records lent for each call are withdrawn as it returns, before its messages are
    // dispatched.
    void WatchRecords(GuardedRecords& records) { m_records = &records; }
    // Each call is made with a probe in the caller's window's queue (CallerWindow::PostProbe).
    void WatchCaller(const CallerWindow& window) { m_caller = &window; }
    bool Has(int ordinal) const { return m_entries[ordinal - 1] != nullptr; }

    // One call with the records the entry point takes (the others are ignored); `what` describes
    // the arguments. Nullopt for an ordinal the library does not export. Afterwards the messages
    // the library posted are dispatched, as the console's loop would, a dialog it left open is
    // reported, and the heaps are validated: a corrupted one ends the process (heap_check.h).
    std::optional<CallOutcome> Call(int ordinal, const OverlaySurfaceParams* params, const OverlayRect* rect,
                                    const std::string& what = "");

private:
    HMODULE m_module;
    DWORD m_loadError;
    std::uint32_t m_skip;
    std::uint32_t m_asked = 0;  // calls asked for, made or not: the index of the next one
    FARPROC m_entries[kOrdinals];
    std::vector<HWND> m_reportedBoxes;
    GuardedRecords* m_records = nullptr;
    const CallerWindow* m_caller = nullptr;
};

}  // namespace check
