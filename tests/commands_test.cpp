#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "console/commands.h"
#include "fake_console_window.h"
#include "fake_overlay.h"
#include "overlay/overlay_result_text.h"
#include "res/resource.h"
#include "res/texts.h"

namespace tavik {
namespace {

using test::Box;
using test::FakeConsoleWindow;
using test::FakeOverlay;

TEST(ResultText, TenCharactersLowerCaseZeroPadded)
{
    EXPECT_EQ(overlay::ResultText(0), "0x00000000");
    EXPECT_EQ(overlay::ResultText(1), "0x00000001");
    EXPECT_EQ(overlay::ResultText(0x80040201), "0x80040201");
    EXPECT_EQ(overlay::ResultText(0xFFFFFFFF), "0xffffffff");
    EXPECT_EQ(overlay::ResultText(0x00ABCDEF), "0x00abcdef");
}

// The three commands without parameters share one shape: call, field, box only on failure.
struct ParameterlessCommand {
    const char* name;
    void (*run)(ConsoleWindow&, const OverlayEntryPoints&);
    const char* call;
    int resultField;
    const char* failureText;
    const char* caption;
};

const ParameterlessCommand kParameterless[] = {
    {"Open", RunOpen, "open", IDC_OPEN_RESULT, texts::kOpenFailed, texts::kOpenCaption},
    {"Close", RunClose, "close", IDC_CLOSE_RESULT, texts::kCloseFailed, texts::kCloseCaption},
    {"ClearSetting", RunClearSetting, "clear", IDC_CLEAR_RESULT, texts::kClearFailed, texts::kClearCaption},
};

class ParameterlessCommands : public ::testing::TestWithParam<ParameterlessCommand> {};

TEST_P(ParameterlessCommands, SuccessWritesZeroCodeAndShowsNoBox)
{
    const auto& command = GetParam();
    FakeConsoleWindow window;
    FakeOverlay::Reset(0);
    command.run(window, FakeOverlay::table);

    EXPECT_EQ(FakeOverlay::calls, std::vector<std::string>{command.call});
    EXPECT_EQ(window.log, std::vector<std::string>{"write " + std::to_string(command.resultField) + " 0x00000000"});
    EXPECT_TRUE(window.reads.empty());
}

TEST_P(ParameterlessCommands, FailureWritesFieldBeforeItsOneBox)
{
    const auto& command = GetParam();
    for (OverlayResult code : {1u, 0x80040201u, 0xFFFFFFFFu}) {
        FakeConsoleWindow window;
        FakeOverlay::Reset(code);
        command.run(window, FakeOverlay::table);

        const std::vector<std::string> expected{
            "write " + std::to_string(command.resultField) + " " + overlay::ResultText(code),
            std::string("box ") + command.caption};
        EXPECT_EQ(window.log, expected);
        EXPECT_EQ(window.boxes, std::vector<Box>({{command.failureText, command.caption}}));
    }
}

TEST_P(ParameterlessCommands, RunningTwiceOverwritesOnlyItsOwnField)
{
    const auto& command = GetParam();
    FakeConsoleWindow window;
    const int others[] = {IDC_OPEN_RESULT, IDC_CLOSE_RESULT, IDC_CLEAR_RESULT, IDC_SET_RESULT, IDC_MOVE_RESULT};
    for (int id : others) window.fields[id] = "untouched";

    FakeOverlay::Reset(0);
    command.run(window, FakeOverlay::table);
    FakeOverlay::Reset(0x80040202);
    command.run(window, FakeOverlay::table);

    for (int id : others) EXPECT_EQ(window.fields[id], id == command.resultField ? "0x80040202" : "untouched") << id;
}

// The dialog has no other controls for the commands to reach: an id that is no field is refused
// before the window sees it, reads as empty and takes no text.
TEST(ConsoleWindow, RefusesAnIdThatIsNoField)
{
    FakeConsoleWindow window;
    EXPECT_NONFATAL_FAILURE(window.WriteUnsigned(IDC_OPEN_RUN, 1), "no console field");
    std::optional<std::uint32_t> read = 0;
    EXPECT_NONFATAL_FAILURE(read = window.ReadUnsigned(IDC_BROWSE_BITMAP), "no console field");
    EXPECT_FALSE(read);
    EXPECT_TRUE(window.log.empty());
}

INSTANTIATE_TEST_SUITE_P(All, ParameterlessCommands, ::testing::ValuesIn(kParameterless),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tavik
