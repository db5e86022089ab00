// The console's file button, driven through the real open-file dialog from a DialogDriver script.
#pragma once

#include <windows.h>

#include <string>
#include <thread>

#include "tests/dialog_driver.h"

namespace tavik::test {

class FilePick {
public:
    // Clicks the file button and waits until its open-file dialog shows over the console.
    explicit FilePick(const DialogDriver& driver);
    // Cancels the dialog if nothing else ended it, and waits until the button's handler returns.
    ~FilePick();
    FilePick(const FilePick&) = delete;
    FilePick& operator=(const FilePick&) = delete;

    // The open-file dialog; nullptr when it did not show.
    HWND Dialog() const { return m_dialog; }
    // The edit inside the file-name box, and the list of file types.
    HWND NameEdit() const;
    HWND FileTypeList() const;

    // Enters the path and presses OK; returns once the handler has returned, boxes answered.
    void Choose(const std::wstring& path);
    // Presses Cancel; returns once the handler has returned.
    void Cancel();

private:
    void End(int button);

    const DialogDriver& m_driver;
    std::thread m_click;
    HWND m_dialog = nullptr;
};

// One whole pick of a file.
inline void PickFile(const DialogDriver& driver, const std::wstring& path)
{
    FilePick(driver).Choose(path);
}

}  // namespace tavik::test
