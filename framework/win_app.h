// The application object: one global instance, constructed before the entry runs, which the
// entry then starts through InitInstance.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class CDialog;

class CWinApp {
public:
    // The platform's help viewer call; replaceable so tests never start the real viewer.
    using HelpViewer = BOOL(WINAPI*)(HWND mainWindow, LPCSTR helpFile, UINT command, ULONG_PTR data);

    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    static CWinApp* Current() { return s_current; }

    // Runs the application; true would ask for a message loop of the application's own, which
    // this framework does not have, so the program ends once it returns.
    virtual bool InitInstance() = 0;

    // The window that receives the help command.
    CDialog* MainWindow() const { return m_mainWindow; }
    void SetMainWindow(CDialog* window) { m_mainWindow = window; }

    // The executable's file name without folder and extension.
    std::string AppName() const;

    // The standard help handler: asks the help viewer for the help file named after the
    // executable, at the context of the dialog that holds the focus. When the viewer does not
    // start it says so in a box with HelpFailedText().
    void OnHelp();
    // The text of that box, in the application's language and code page.
    virtual const char* HelpFailedText() const = 0;
    void SetHelpViewer(HelpViewer viewer) { m_helpViewer = viewer; }

private:
    static inline CWinApp* s_current = nullptr;

    CDialog* m_mainWindow = nullptr;
    HelpViewer m_helpViewer = &WinHelpA;
};

}  // namespace fw
