// Other programs on the display: one that takes the foreground or shows a window over the scene
// while a scenario watches is not the library. The scenario then stands aside and plays its calls
// again (turns.h); only what it sees on a turn no other program disturbed is judged.
#pragma once

#include <windows.h>

#include <optional>

namespace check {

// Watches, while it lives, for another process's window brought to the foreground (as another
// DravelCheck's caller, or the desktop once the display's focus went to a program outside this
// system) or shown, moved or raised over `area`. The system tells of each as this thread handles
// its messages.
class OtherProgramWatch {
public:
    explicit OtherProgramWatch(std::optional<RECT> area = std::nullopt);
    ~OtherProgramWatch();
    OtherProgramWatch(const OtherProgramWatch&) = delete;
    OtherProgramWatch& operator=(const OtherProgramWatch&) = delete;

    // Whether another program came in the way since the last Forget, as told or as seen now
    // (the foreground, or a window over the area above `ours`).
    bool Disturbed(HWND ours = nullptr) const;
    void Forget() const;

private:
    HWINEVENTHOOK m_foreground;
    HWINEVENTHOOK m_windows;
};

bool OfOtherProcess(HWND window);

// Waits a little longer on each later `turn`, and differently in each process, so that two
// checkers on one display fall out of step; then, for a while, until no other program holds the
// foreground, so that taking it back does not disturb another checker's turn in its turn.
void StandAside(int turn);

}  // namespace check
