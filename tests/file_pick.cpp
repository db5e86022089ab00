#include "tests/file_pick.h"

#include <gtest/gtest.h>

#include "res/resource.h"

namespace tavik::test {

namespace {

// Control ids of the platform's open-file dialog.
constexpr int kFileNameBox = 0x47c;  // ComboBoxEx32, holding a ComboBox, holding the Edit
constexpr int kFileTypeList = 0x470;

}  // namespace

FilePick::FilePick(const DialogDriver& driver) : m_driver(driver)
{
    // The click returns only when the handler does, after the dialog and any box that follows,
    // so it is sent from a thread of its own while this one works the dialog.
    m_click = std::thread([this] { m_driver.Click(IDC_BROWSE_BITMAP); });
    m_dialog = m_driver.WaitForDialogOver(m_driver.Dialog());
    if (m_dialog == nullptr) ADD_FAILURE() << "The open-file dialog did not show";
}

FilePick::~FilePick()
{
    if (m_click.joinable()) End(IDCANCEL);
}

HWND FilePick::NameEdit() const
{
    const HWND combo = FindWindowExW(GetDlgItem(m_dialog, kFileNameBox), nullptr, L"ComboBox", nullptr);
    return FindWindowExW(combo, nullptr, L"Edit", nullptr);
}

HWND FilePick::FileTypeList() const
{
    return GetDlgItem(m_dialog, kFileTypeList);
}

void FilePick::Choose(const std::wstring& path)
{
    SetWindowTextW(NameEdit(), path.c_str());
    End(IDOK);
}

void FilePick::Cancel()
{
    End(IDCANCEL);
}

void FilePick::End(int button)
{
    if (m_dialog != nullptr) {
        PostMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        // A name the dialog refuses keeps it open, behind a box of its own.
        if (!m_driver.WaitUntilGone(m_dialog)) {
            ADD_FAILURE() << "The open-file dialog stayed open";
            PostMessageW(m_dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
    }
    // Whatever is still open, the driver's watchdog cancels, so the handler does return.
    m_click.join();
}

}  // namespace tavik::test
