// Drives a running console from outside, for screenshots: waits for the window with the caption,
// then performs each step in order. A step "ID=TEXT" puts TEXT in field ID; a step "ID" clicks
// button ID. Clicks are posted, so a message box they raise does not block the driver.
//   drive_console.exe CAPTION STEP...
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CAPTION [ID=TEXT | ID]...\n", argv[0]);
        return 2;
    }
    HWND console = nullptr;
    for (int waited = 0; !(console = FindWindowA(nullptr, argv[1])) || !IsWindowVisible(console); waited += 50) {
        if (waited > 20000) {
            std::fprintf(stderr, "no window \"%s\"\n", argv[1]);
            return 1;
        }
        Sleep(50);
    }
    for (int i = 2; i < argc; ++i) {
        const int id = std::atoi(argv[i]);
        if (const char* text = std::strchr(argv[i], '=')) {
            SetDlgItemTextA(console, id, text + 1);
        } else {
            PostMessageA(console, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(console, id)));
            // Let the command run, and the overlay's window with it, before the next step.
            Sleep(300);
        }
    }
    return 0;
}
