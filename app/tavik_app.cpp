#include "app/tavik_app.h"

#include "console/tavik_dlg.h"
#include "overlay/overlay_entry_points.h"
#include "res/texts.h"

// The one application object, found by the entry through fw::CWinApp::Current().
CTavikApp theApp;

bool CTavikApp::InitInstance()
{
    // No hosted-control or 3-D dialog support to enable: neither exists on this platform.
    CTavikDlg console(ImportedOverlay());
    SetMainWindow(&console);
    // OK or Cancel, the program ends the same way.
    console.DoModal();
    return false;
}

const char* CTavikApp::HelpFailedText() const
{
    return tavik::texts::kHelpFailed;
}
