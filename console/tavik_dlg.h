// The test console: the main window, built from template 102. It gives the commands their
// window operations over its controls and sends each button to its command.
#pragma once

#include <windows.h>

#include <span>
#include <string>

#include "console/console_window.h"
#include "framework/dialog.h"
#include "overlay/overlay_entry_points.h"
#include "res/resource.h"

namespace tavik {

class CTavikDlg : public fw::CDialog {
public:
    // overlay: the library the buttons call (the ordinal imports in the program, a fake in tests).
    explicit CTavikDlg(const OverlayEntryPoints& overlay);

    std::span<const fw::MessageMapEntry> MessageMap() const override { return kMessageMap; }

protected:
    bool OnInitDialog() override;

private:
    // The window the commands see: the fields through this dialog's item helpers, the boxes owned
    // by it. The dialog itself reaches its fields only through this too.
    class ConsoleAdapter final : public ConsoleWindow {
    public:
        explicit ConsoleAdapter(CTavikDlg& dialog) : m_dialog(dialog) {}
        void ShowStopBox(const char* text, const char* caption) override;

    private:
        std::string FieldText(int id) override { return m_dialog.GetItemText(id); }
        void SetFieldText(int id, const std::string& text) override { m_dialog.SetItemText(id, text); }

        CTavikDlg& m_dialog;
    };

    bool OnSysCommand(UINT command, POINT cursor);
    bool OnPaint();
    HICON OnQueryDragIcon() { return m_hIcon; }
    void OnOpenRun();
    void OnCloseRun();
    void OnSetShowRun();
    void OnMoveShowRun();
    void OnClearRun();
    void OnBrowseBitmap();

    ConsoleAdapter m_console{*this};
    const OverlayEntryPoints& m_overlay;
    HICON m_hIcon;  // shared icon from the program's resources: never destroyed

    static constexpr fw::MessageMapEntry kMessageMap[] = {
        fw::OnWmSysCommand<&CTavikDlg::OnSysCommand>(),
        fw::OnWmPaint<&CTavikDlg::OnPaint>(),
        fw::OnWmQueryDragIcon<&CTavikDlg::OnQueryDragIcon>(),
        fw::OnWmCommand<&CTavikDlg::OnOpenRun>(IDC_OPEN_RUN),
        fw::OnWmCommand<&CTavikDlg::OnCloseRun>(IDC_CLOSE_RUN),
        fw::OnWmCommand<&CTavikDlg::OnSetShowRun>(IDC_SET_SHOW_RUN),
        fw::OnWmCommand<&CTavikDlg::OnMoveShowRun>(IDC_MOVE_SHOW_RUN),
        fw::OnWmCommand<&CTavikDlg::OnClearRun>(IDC_CLEAR_RUN),
        fw::OnWmCommand<&CTavikDlg::OnBrowseBitmap>(IDC_BROWSE_BITMAP),
    };
};

}  // namespace tavik
