// F1 in the console and in the version box, and the help file and application names.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/tavik_dlg.h"
#include "platform/module_path.h"
#include "framework/win_app.h"
#include "res/resource.h"
#include "res/texts.h"
#include "tests/dialog_driver.h"
#include "tests/fake_overlay.h"

namespace {

using tavik::test::DialogDriver;
using tavik::test::FakeOverlay;

class TestApp : public fw::CWinApp {
public:
    bool InitInstance() override { return false; }
    const char* HelpFailedText() const override { return tavik::texts::kHelpFailed; }
} theTestApp;

struct HelpRequest {
    HWND mainWindow;
    std::string file;
    UINT command;
    ULONG_PTR context;
};

std::vector<HelpRequest> g_requests;
BOOL g_viewerStarts = TRUE;

BOOL WINAPI FakeViewer(HWND mainWindow, LPCSTR file, UINT command, ULONG_PTR context)
{
    g_requests.push_back({mainWindow, file, command, context});
    return g_viewerStarts;
}

class ConsoleHelp : public testing::Test {
protected:
    void SetUp() override
    {
        FakeOverlay::Reset();
        g_requests.clear();
        g_viewerStarts = TRUE;
        theTestApp.SetHelpViewer(&FakeViewer);
    }

    INT_PTR Run(const DialogDriver::Script& script)
    {
        tavik::CTavikDlg console(FakeOverlay::table);
        theTestApp.SetMainWindow(&console);
        const INT_PTR result = DialogDriver::Run([&] { return console.DoModal(); }, script);
        theTestApp.SetMainWindow(nullptr);
        return result;
    }
};

// This exe's path, with ".exe" swapped for ".HLP".
std::string ExpectedHelpFile()
{
    char path[MAX_PATH] = {};
    const std::string exe(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
    EXPECT_EQ(exe.substr(exe.size() - 4), ".exe");
    return exe.substr(0, exe.size() - 4) + ".HLP";
}

TEST_F(ConsoleHelp, F1InTheConsoleAsksForTheConsolesContext)
{
    Run([](DialogDriver& driver) {
        driver.PostKey(driver.Focus(), VK_F1);
        // Also from a parameter field: the console is the dialog with the focus either way.
        const HWND field = driver.Item(IDC_SURFACE_WIDTH);
        SendMessageW(driver.Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        driver.PostKey(field, VK_F1);
        driver.Settle();
        ASSERT_EQ(g_requests.size(), 2u);
        for (const HelpRequest& request : g_requests) {
            EXPECT_EQ(request.mainWindow, driver.Dialog());
            EXPECT_EQ(request.file, ExpectedHelpFile());
            EXPECT_EQ(request.command, static_cast<UINT>(HELP_CONTEXT));
            EXPECT_EQ(request.context, 0x20066u);
        }
        EXPECT_TRUE(driver.Boxes().empty());
        driver.Click(IDOK);
    });
}

TEST_F(ConsoleHelp, F1WithShiftCtrlOrAltIsNotHelp)
{
    Run([](DialogDriver& driver) {
        for (const BYTE modifier : {VK_SHIFT, VK_CONTROL, VK_MENU}) {
            SCOPED_TRACE(modifier);
            auto hold = [&](bool down) {
                driver.OnDialogThread([&] {
                    BYTE keys[256];
                    GetKeyboardState(keys);
                    keys[modifier] = down ? 0x80 : 0;
                    SetKeyboardState(keys);
                });
            };
            hold(true);
            driver.PostKey(driver.Focus(), VK_F1);
            driver.Settle();
            hold(false);
            EXPECT_TRUE(g_requests.empty());
        }
        driver.Click(IDOK);
    });
}

TEST_F(ConsoleHelp, F1InTheVersionBoxAsksForTheBoxsContextFromTheMainWindow)
{
    Run([](DialogDriver& driver) {
        PostMessageW(driver.Dialog(), WM_SYSCOMMAND, IDM_VERSIONINFO, 0);
        const HWND box = driver.WaitForDialogOver(driver.Dialog());
        ASSERT_NE(box, nullptr);
        driver.PostKey(driver.Focus(), VK_F1);
        driver.Settle();
        ASSERT_EQ(g_requests.size(), 1u);
        EXPECT_EQ(g_requests[0].mainWindow, driver.Dialog());
        EXPECT_EQ(g_requests[0].file, ExpectedHelpFile());
        EXPECT_EQ(g_requests[0].context, 0x20064u);
        EXPECT_TRUE(IsWindow(box)) << "help leaves the box open";
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(driver.WaitUntilGone(box));
        driver.Click(IDOK);
    });
}

TEST_F(ConsoleHelp, AViewerThatDoesNotStartGivesTheStockBoxUnderTheApplicationsName)
{
    g_viewerStarts = FALSE;
    Run([](DialogDriver& driver) {
        driver.PostKey(driver.Focus(), VK_F1);
        driver.Settle();
        const auto boxes = driver.Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, tavik::texts::kHelpFailed);
        EXPECT_EQ(boxes[0].caption, "console_test");
        EXPECT_EQ(boxes[0].icon, LoadIconA(nullptr, IDI_EXCLAMATION));
        EXPECT_TRUE(IsWindow(driver.Dialog()));
        driver.Click(IDOK);
    });
    EXPECT_EQ(g_requests.size(), 1u);
}

// In code page 932 the second byte of "表" and "ソ" is '\\' (0x5C): the names must be found
// character by character.
TEST(ModulePath, NamesAreTakenFromWholeCharacters)
{
    ASSERT_EQ(GetACP(), 932u) << "the test environment runs in the Japanese code page";
    EXPECT_EQ(platform::FileStem("C:\\ソフト\\表.exe"), "表");
    EXPECT_EQ(platform::ReplaceExtension("C:\\ソフト\\表.exe", ".HLP"), "C:\\ソフト\\表.HLP");
    EXPECT_EQ(platform::FileStem("C:\\v1.2\\Tavik"), "Tavik");
    EXPECT_EQ(platform::ReplaceExtension("C:\\v1.2\\Tavik", ".HLP"), "C:\\v1.2\\Tavik.HLP");
    EXPECT_EQ(platform::ReplaceExtension("C:\\dir\\Tavik.tar.exe", ".HLP"), "C:\\dir\\Tavik.tar.HLP");
    EXPECT_EQ(theTestApp.AppName(), "console_test");
}

}  // namespace
