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
    // What the library left in the caller's queue that is not its own windows' business: WM_QUIT,
    // thread messages, messages to windows of other modules.
    std::vector<std::string> foreignMessages;
};

class CheckedLibrary {
public:
    // The first `skip` calls asked for are passed over, as if the library did not export them.
    CheckedLibrary(const std::string& path, std::uint32_t skip = 0);
    CheckedLibrary(const CheckedLibrary&) = delete;
    CheckedLibrary& operator=(const CheckedLibrary&) = delete;

    bool IsLoaded() const { return m_module != nullptr; }
    bool Has(int ordinal) const { return m_entries[ordinal - 1] != nullptr; }

    // One call with the records the entry point takes (the others are ignored); `what` describes
    // the arguments. Nullopt for an ordinal the library does not export. Afterwards the messages
    // the library posted are dispatched, as the console's loop would, and a dialog it left open
    // is reported.
    std::optional<CallOutcome> Call(int ordinal, const OverlaySurfaceParams* params, const OverlayRect* rect,
                                    const std::string& what = "");

private:
    HMODULE m_module;
    std::uint32_t m_skip;
    std::uint32_t m_asked = 0;  // calls asked for, made or not: the index of the next one
    FARPROC m_entries[kOrdinals];
    std::vector<HWND> m_reportedBoxes;
};

}  // namespace check
