// The process entry. The application object already exists (static initialisation); the
// command line is not read.
#include <windows.h>

#include "framework/win_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    if (fw::CWinApp* app = fw::CWinApp::Current()) app->InitInstance();
    return 0;
}
