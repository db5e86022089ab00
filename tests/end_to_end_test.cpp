// Tavik.exe with the real DRAVEL.dll, as a process of its own, driven from here the way a person
// drives it: clicks on its buttons, its result fields and message boxes read back, and the overlay
// looked for on the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "dravel/dravel_codes.h"
#include "platform/module_path.h"
#include "process/dialog_boxes.h"
#include "res/resource.h"
#include "res/texts.h"
#include "tests/bmp_files.h"
#include "tests/dravel_library.h"
#include "tests/screen_shows.h"

namespace {

using namespace dravel::test;

constexpr DWORD kPatienceMs = 10000;

struct ShownBox {
    std::string text;
    std::string caption;
};

// Asked with WM_GETTEXT: GetWindowText gives only the caption of another process's window, not
// the text of its edit controls.
std::string TextOf(HWND window)
{
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

class RunningTavik {
public:
    explicit RunningTavik(const std::string& folder)
    {
        const std::string program = platform::ModuleFolder() + "Tavik.exe";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &m_process))
            return;
        for (const DWORD start = GetTickCount(); !m_console && GetTickCount() - start < kPatienceMs; Sleep(50)) {
            for (const HWND box : process::DialogBoxesOf(m_process.dwProcessId))
                if (TextOf(box) == "Tavik") m_console = box;
        }
    }
    ~RunningTavik()
    {
        if (!m_process.hProcess) return;
        if (!EndWithOk()) TerminateProcess(m_process.hProcess, 1);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    RunningTavik(const RunningTavik&) = delete;
    RunningTavik& operator=(const RunningTavik&) = delete;

    HWND Console() const { return m_console; }
    // Clicks the exit button, if the console came up; the program's exit code, or none when it did
    // not end.
    std::optional<DWORD> EndWithOk() const
    {
        if (m_console) PostMessageA(m_console, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        if (WaitForSingleObject(m_process.hProcess, kPatienceMs) != WAIT_OBJECT_0) return std::nullopt;
        DWORD exitCode = 1;
        GetExitCodeProcess(m_process.hProcess, &exitCode);
        return exitCode;
    }
    std::string Text(int id) const { return TextOf(GetDlgItem(m_console, id)); }

    // Clicks the button and returns once its handler has run. A message box it shows meanwhile
    // is read and answered with OK, and returned.
    std::optional<ShownBox> Click(int id) const
    {
        std::atomic<bool> handled = false;
        // Sent from a thread of its own: the send returns only after the handler, and a handler
        // showing a box waits for this thread to answer it.
        std::thread clicker([&] {
            SendMessageTimeoutA(m_console, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                reinterpret_cast<LPARAM>(GetDlgItem(m_console, id)), SMTO_NORMAL, kPatienceMs, nullptr);
            handled = true;
        });
        std::optional<ShownBox> shown;
        while (!handled) {
            if (const HWND box = MessageBox()) {
                shown = ShownBox{process::MessageBoxText(box), TextOf(box)};
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                while (IsWindow(box)) Sleep(10);
            }
            Sleep(10);
        }
        clicker.join();
        return shown;
    }

    // The library's overlay window in Tavik's process (its only layered window), or null.
    HWND Overlay() const { return FindOverlayWindow(m_process.dwProcessId); }

private:
    HWND MessageBox() const
    {
        for (const HWND box : process::DialogBoxesOf(m_process.dwProcessId))
            if (box != m_console) return box;
        return nullptr;
    }

    PROCESS_INFORMATION m_process{};
    HWND m_console = nullptr;
};

::testing::AssertionResult ShownAt(HWND window, const RECT& expected)
{
    if (!window || !IsWindowVisible(window)) return ::testing::AssertionFailure() << "no overlay on the screen";
    RECT shown;
    GetWindowRect(window, &shown);
    if (EqualRect(&shown, &expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "overlay at " << shown.left << ',' << shown.top << '-' << shown.right << ','
                                         << shown.bottom;
}

::testing::AssertionResult NoBox(const std::optional<ShownBox>& box)
{
    if (!box) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "a box said \"" << box->text << '"';
}

TEST(EndToEnd, EveryButtonReachesTheLibraryAndShowsItsCode)
{
    BmpFolder files;
    // The console's default file name, found in its current folder.
    files.Write(tavik::texts::kInitialBitmapFile, Bmp24(8, 8, QuarterColour));

    const RunningTavik tavik(files.Path().string());
    ASSERT_NE(tavik.Console(), nullptr) << "Tavik.exe did not show its console";

    // Close before Open: the library's code, and the failure box.
    const std::optional<ShownBox> box = tavik.Click(IDC_CLOSE_RUN);
    EXPECT_EQ(tavik.Text(IDC_CLOSE_RESULT), "0x80040201");
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, tavik::texts::kCloseFailed);
    EXPECT_EQ(box->caption, tavik::texts::kCloseCaption);

    const HWND foreground = GetForegroundWindow();
    EXPECT_TRUE(NoBox(tavik.Click(IDC_OPEN_RUN)));
    EXPECT_EQ(tavik.Text(IDC_OPEN_RESULT), "0x00000000");

    // The defaults: Image.bmp on a black 128 x 128 surface at 0,0-128,128. Typed fields reaching the
    // record are console_display_test's, and what the library draws dravel_screen_test's.
    EXPECT_TRUE(NoBox(tavik.Click(IDC_SET_SHOW_RUN)));
    EXPECT_EQ(tavik.Text(IDC_SET_RESULT), "0x00000000");
    EXPECT_TRUE(ShownAt(tavik.Overlay(), RECT{0, 0, 128, 128}));
    EXPECT_TRUE(ScreenShows({2, 2, 3, 3}, [](int, int) { return kRed; }));
    EXPECT_TRUE(ScreenShows({64, 64, 65, 65}, [](int, int) { return RGB(0, 0, 0); }));

    // The default move rectangle, 128,128-256,256.
    EXPECT_TRUE(NoBox(tavik.Click(IDC_MOVE_SHOW_RUN)));
    EXPECT_EQ(tavik.Text(IDC_MOVE_RESULT), "0x00000000");
    EXPECT_TRUE(ShownAt(tavik.Overlay(), RECT{128, 128, 256, 256}));

    EXPECT_TRUE(NoBox(tavik.Click(IDC_CLEAR_RUN)));
    EXPECT_EQ(tavik.Text(IDC_CLEAR_RESULT), "0x00000000");
    EXPECT_FALSE(IsWindowVisible(tavik.Overlay()));

    EXPECT_TRUE(NoBox(tavik.Click(IDC_CLOSE_RUN)));
    EXPECT_EQ(tavik.Text(IDC_CLOSE_RESULT), "0x00000000");
    EXPECT_EQ(tavik.Overlay(), nullptr);
    EXPECT_EQ(GetForegroundWindow(), foreground);
    EXPECT_EQ(tavik.EndWithOk(), DWORD{0});
}

}  // namespace
