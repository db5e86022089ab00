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
#include "tests/run_console.h"

namespace {

using tavik::test::DialogDriver;
using tavik::test::FakeOverlay;
using tavik::test::RunConsole;
using tavik::test::WideText;

const int kResultFields[] = {IDC_OPEN_RESULT, IDC_CLOSE_RESULT, IDC_CLEAR_RESULT, IDC_SET_RESULT, IDC_MOVE_RESULT};

struct Command {
    const char* name;
    int button;
    int resultField;
    const char* call;
    const char* failureText;
    const char* caption;
};

const Command kCommands[] = {
    {"open", IDC_OPEN_RUN, IDC_OPEN_RESULT, "open", tavik::texts::kOpenFailed, tavik::texts::kOpenCaption},
    {"close", IDC_CLOSE_RUN, IDC_CLOSE_RESULT, "close", tavik::texts::kCloseFailed, tavik::texts::kCloseCaption},
    {"clear", IDC_CLEAR_RUN, IDC_CLEAR_RESULT, "clear", tavik::texts::kClearFailed, tavik::texts::kClearCaption},
    {"set & show", IDC_SET_SHOW_RUN, IDC_SET_RESULT, "set", tavik::texts::kSetShowFailed,
     tavik::texts::kSetShowCaption},
    {"move & show", IDC_MOVE_SHOW_RUN, IDC_MOVE_RESULT, "move", tavik::texts::kMoveShowFailed,
     tavik::texts::kMoveShowCaption},
};

// The texts of every result field but one.
std::vector<std::wstring> OtherResults(const DialogDriver& driver, int except)
{
    std::vector<std::wstring> texts;
    for (const int id : kResultFields)
        if (id != except) texts.push_back(WideText(driver.Item(id)));
    return texts;
}

TEST(ConsoleCommands, EachButtonCallsItsEntryPointAndReportsInItsOwnField)
{
    const struct {
        OverlayResult result;
        const wchar_t* text;
    } results[] = {{0, L"0x00000000"}, {1, L"0x00000001"}, {0xFFFFFFFF, L"0xffffffff"}};

    RunConsole([&](DialogDriver& driver) {
        std::size_t boxesBefore = 0;
        for (const Command& command : kCommands) {
            for (const auto& [result, text] : results) {
                SCOPED_TRACE(std::string(command.name) + " returning " + std::to_string(result));
                const std::vector<std::wstring> others = OtherResults(driver, command.resultField);
                FakeOverlay::Reset(result);

                driver.Click(command.button);

                EXPECT_EQ(FakeOverlay::calls, std::vector<std::string>{command.call});
                EXPECT_EQ(WideText(driver.Item(command.resultField)), text);
                EXPECT_EQ(OtherResults(driver, command.resultField), others) << "another result field changed";
                const auto boxes = driver.Boxes();
                ASSERT_EQ(boxes.size(), boxesBefore + (result != 0));
                if (result != 0) {
                    EXPECT_EQ(boxes.back().text, command.failureText);
                    EXPECT_EQ(boxes.back().caption, command.caption);
                    EXPECT_EQ(boxes.back().icon, LoadIconA(nullptr, IDI_HAND));
                }
                boxesBefore = boxes.size();
            }
        }
        driver.Click(IDOK);
    });
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
