// The test console: the main window, built from template 102. It gives the commands their
// window operations over its controls and sends each button to its command.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "console/console_window.h"
#include "framework/dialog.h"
#include "framework/edit.h"
#include "overlay/overlay_entry_points.h"
#include "res/resource.h"

class CTavikDlg : public fw::CDialog, public tavik::ConsoleWindow {
public:
    // overlay: the library the buttons call (the ordinal imports in the program, a fake in tests).
    explicit CTavikDlg(const OverlayEntryPoints& overlay);

    std::span<const fw::MessageMapEntry> MessageMap() const override { return kMessageMap; }

    std::optional<std::uint32_t> ReadUnsigned(int id) override;
    void WriteUnsigned(int id, std::uint32_t value) override;
    std::string ReadText(int id) override;
    void ReplaceText(int id, const std::string& text) override;
    void ShowStopBox(const char* text, const char* caption) override;

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    bool OnInitDialog() override;

private:
    void OnSysCommand(UINT command, LPARAM param);
    void OnPaint();
    HICON OnQueryDragIcon() { return m_hIcon; }
    void OnOpenRun();
    void OnCloseRun();
    void OnSetShowRun();
    void OnMoveShowRun();
    void OnClearRun();
    void OnBrowseBitmap();

    const fw::CEdit& Edit(int id) const;

    const OverlayEntryPoints& m_overlay;
    fw::CEdit m_editOpenResult;
    fw::CEdit m_editMoveResult;
    fw::CEdit m_editClearResult;
    fw::CEdit m_editSetResult;
    fw::CEdit m_editCloseResult;
    fw::CEdit m_editBitmapFile;
    HICON m_hIcon;  // shared icon from the program's resources: never destroyed

    // The fields read and written as text, in the order they are bound.
    static constexpr std::pair<int, fw::CEdit CTavikDlg::*> kEditFields[] = {
        {IDC_OPEN_RESULT, &CTavikDlg::m_editOpenResult},   {IDC_MOVE_RESULT, &CTavikDlg::m_editMoveResult},
        {IDC_CLEAR_RESULT, &CTavikDlg::m_editClearResult}, {IDC_SET_RESULT, &CTavikDlg::m_editSetResult},
        {IDC_CLOSE_RESULT, &CTavikDlg::m_editCloseResult}, {IDC_BITMAP_FILE, &CTavikDlg::m_editBitmapFile},
    };

    static constexpr fw::MessageMapEntry kMessageMap[] = {
        fw::OnWmSysCommand<&CTavikDlg::OnSysCommand>(),
        fw::OnWmPaint<&CTavikDlg::OnPaint>(),
        fw::OnWmQueryDragIcon<&CTavikDlg::OnQueryDragIcon>(),
        fw::OnCommand<&CTavikDlg::OnOpenRun>(IDC_OPEN_RUN),
        fw::OnCommand<&CTavikDlg::OnCloseRun>(IDC_CLOSE_RUN),
        fw::OnCommand<&CTavikDlg::OnSetShowRun>(IDC_SET_SHOW_RUN),
        fw::OnCommand<&CTavikDlg::OnMoveShowRun>(IDC_MOVE_SHOW_RUN),
        fw::OnCommand<&CTavikDlg::OnClearRun>(IDC_CLEAR_RUN),
        fw::OnCommand<&CTavikDlg::OnBrowseBitmap>(IDC_BROWSE_BITMAP),
    };
};
