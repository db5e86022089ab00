#include "framework/win_app.h"

#include "framework/dialog.h"
#include "platform/module_path.h"

namespace fw {

CWinApp::CWinApp()
{
    s_current = this;
}

CWinApp::~CWinApp()
{
    s_current = nullptr;
}

std::string CWinApp::AppName() const
{
    return platform::FileStem(platform::ModuleFileName());
}

void CWinApp::OnHelp()
{
    const HWND mainWindow = m_mainWindow ? m_mainWindow->Hwnd() : nullptr;
    HWND dialog = GetAncestor(GetFocus(), GA_ROOT);
    if (HelpContextOf(dialog) == 0) dialog = mainWindow;

    const std::string helpFile = platform::ReplaceExtension(platform::ModuleFileName(), ".HLP");
    if (!m_helpViewer(mainWindow, helpFile.c_str(), HELP_CONTEXT, HelpContextOf(dialog)))
        MessageBoxA(dialog, HelpFailedText(), AppName().c_str(), MB_ICONEXCLAMATION | MB_OK);
}

}  // namespace fw
