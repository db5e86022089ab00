// What this process holds of the platform, for the leak checks of the GUI tests.
#pragma once

#include <cstddef>

namespace tavik::test {

// A count the platform gives no way to take is 0, which no process with a window really holds: a
// leak check asserts each count is plausible before it compares two.
struct ProcessUsage {
    std::size_t gdiObjects;
    // USER objects; where the platform cannot count them, the process's windows.
    std::size_t userObjects;
    // Committed private memory the process has touched.
    std::size_t privateBytes;
};

// Taken once the object counts hold still: the open-file dialog lets go of a few GDI objects
// only after it has gone.
ProcessUsage SettledUsage();

}  // namespace tavik::test
