#include "app/tavik_app.h"

#include "console/tavik_dlg.h"
#include "overlay/overlay_entry_points.h"
#include "res/texts.h"

namespace tavik {

// The one application object, found by the entry through fw::CWinApp::Current().
CTavikApp theApp;

bool CTavikApp::InitInstance()
{
    CTavikDlg console(ImportedOverlay());
    SetMainWindow(&console);
    // OK or Cancel, the program ends the same way.
    console.DoModal();
    return false;
}

const char* CTavikApp::HelpFailedText() const
{
    return texts::kHelpFailed;
}

}  // namespace tavik
