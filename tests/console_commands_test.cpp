// The console's buttons through real clicks against a fake library, and its message map.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/tavik_dlg.h"
#include "res/resource.h"
#include "res/texts.h"
#include "tests/dialog_driver.h"
#include "tests/fake_overlay.h"
#include "tests/message_box_hook.h"
#include "tests/run_console.h"

namespace {

using tavik::test::DialogDriver;
using tavik::test::FakeOverlay;
using tavik::test::MessageBoxHook;
using tavik::test::RunConsole;
using tavik::test::WideText;

struct Command {
    int button;
    int resultField;
    const char* call;
    const char* failureText;
    const char* caption;
};

const Command kCommands[] = {
    {IDC_OPEN_RUN, IDC_OPEN_RESULT, "open", tavik::texts::kOpenFailed, tavik::texts::kOpenCaption},
    {IDC_CLOSE_RUN, IDC_CLOSE_RESULT, "close", tavik::texts::kCloseFailed, tavik::texts::kCloseCaption},
    {IDC_CLEAR_RUN, IDC_CLEAR_RESULT, "clear", tavik::texts::kClearFailed, tavik::texts::kClearCaption},
    {IDC_SET_SHOW_RUN, IDC_SET_RESULT, "set", tavik::texts::kSetShowFailed, tavik::texts::kSetShowCaption},
    {IDC_MOVE_SHOW_RUN, IDC_MOVE_RESULT, "move", tavik::texts::kMoveShowFailed, tavik::texts::kMoveShowCaption},
};

// What the commands report is commands_test's; here the dialog's part: each button reaches its
// command, the code is on the screen in its own field while the failure box, owned by the
// console with the stop icon, is up.
TEST(ConsoleCommands, EachButtonReachesItsCommandAndItsCodeShowsWhileTheBoxIsUp)
{
    for (const Command& command : kCommands) {
        SCOPED_TRACE(command.call);
        FakeOverlay::Reset(0xFFFFFFFF);
        // Set before the driver's hook, so it looks at each box after the driver has answered it
        // with a posted OK, while the box is still up. It runs on this thread, the console's.
        std::vector<std::wstring> seen;
        const MessageBoxHook watch(GetCurrentThreadId(), [&](HWND box) {
            seen.push_back(WideText(GetDlgItem(GetWindow(box, GW_OWNER), command.resultField)));
            return true;
        });
        RunConsole([&](DialogDriver& driver) {
            driver.Click(command.button);
            EXPECT_EQ(FakeOverlay::calls, std::vector<std::string>{command.call});
            ASSERT_EQ(driver.Boxes().size(), 1u);
            EXPECT_EQ(driver.Boxes()[0].text, command.failureText);
            EXPECT_EQ(driver.Boxes()[0].caption, command.caption);
            EXPECT_EQ(driver.Boxes()[0].icon, LoadIconA(nullptr, IDI_HAND));
            driver.Click(IDOK);
        });
        EXPECT_EQ(seen, std::vector<std::wstring>{L"0xffffffff"}) << "the code was not shown before the box";
    }
}

// A second row for the same message and control would never be reached.
TEST(ConsoleCommands, MessageMapHasNoDuplicatedRow)
{
    const tavik::CTavikDlg console(FakeOverlay::table);
    const auto map = console.MessageMap();
    ASSERT_FALSE(map.empty());
    for (std::size_t i = 0; i < map.size(); ++i)
        for (std::size_t j = i + 1; j < map.size(); ++j)
            EXPECT_FALSE(map[i].message == map[j].message && map[i].controlId == map[j].controlId)
                << "rows " << i << " and " << j;
}

}  // namespace
