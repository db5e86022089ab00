// What this process holds of the platform: GDI objects, USER objects (or windows) and private
// memory. Counted so that it works under Wine too, where GetGuiResources returns 0 and
// PrivateUsage is 0. A count of 0 means the method failed, never that nothing is there.
#pragma once

#include <cstddef>

namespace process {

struct Usage {
    std::size_t gdiObjects;
    // USER objects; where the platform cannot count them, the process's windows.
    std::size_t userObjects;
    // Committed private memory the process has touched.
    std::size_t privateBytes;

    // False when some count could not be taken (it is 0).
    bool IsCounted() const { return gdiObjects != 0 && userObjects != 0 && privateBytes != 0; }
};

// Taken once the object counts hold still: a dialog that has just gone lets go of a few GDI
// objects a moment later.
Usage SettledUsage();

}  // namespace process
