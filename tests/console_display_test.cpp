// Set & show and Move & show on the real console, clicked as a person would, against a fake
// library that keeps the exact bytes it was given. What the commands do with the fields is
// display_commands_test's; here only what the dialog adds: its controls' texts as they reach the
// library, the focus and selection it keeps, the box it owns.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/dialog_driver.h"
#include "tests/fake_overlay.h"
#include "tests/run_console.h"

namespace {

using tavik::test::BytesOf;
using tavik::test::DialogDriver;
using tavik::test::FakeOverlay;
using tavik::test::RectBytes;
using tavik::test::RunConsole;
using tavik::test::SurfaceBytes;
using tavik::test::WideText;

// Replaces a field's text with keystrokes, as typed into an emptied field.
void TypeInto(DialogDriver& driver, int id, const std::string& text)
{
    SetWindowTextA(driver.Item(id), "");
    driver.Type(driver.Item(id), text);
    driver.Settle();
}

// Every value distinct, so that two fields swapped on the way show.
TEST(ConsoleDisplay, TypedFieldsReachTheLibraryInTheirOwnPlaces)
{
    FakeOverlay::Reset();
    RunConsole([](DialogDriver& driver) {
        const std::pair<int, const char*> typed[] = {
            {IDC_SURFACE_WIDTH, "640"}, {IDC_SURFACE_HEIGHT, "480"}, {IDC_RED, "300"},
            {IDC_GREEN, "7"},           {IDC_BLUE, "200"},           {IDC_BITMAP_FILE, "C:\\pics\\two words.bmp"},
            {IDC_SET_START_X, "1"},     {IDC_SET_START_Y, "2"},      {IDC_SET_END_X, "3"},
            {IDC_SET_END_Y, "4"},       {IDC_MOVE_START_X, "5"},     {IDC_MOVE_START_Y, "6"},
            {IDC_MOVE_END_X, "7"},      {IDC_MOVE_END_Y, "8"},
        };
        for (const auto& [id, text] : typed) TypeInto(driver, id, text);

        driver.Click(IDC_SET_SHOW_RUN);
        EXPECT_EQ(BytesOf(FakeOverlay::lastParams), SurfaceBytes(640, 480, 255, 7, 200, "C:\\pics\\two words.bmp"));
        EXPECT_EQ(BytesOf(FakeOverlay::lastRect), RectBytes(1, 2, 3, 4));
        EXPECT_EQ(WideText(driver.Item(IDC_RED)), L"300") << "the capped colour is not written back";

        driver.Click(IDC_MOVE_SHOW_RUN);
        EXPECT_EQ(BytesOf(FakeOverlay::lastRect), RectBytes(5, 6, 7, 8));
        EXPECT_EQ(FakeOverlay::calls, (std::vector<std::string>{"set", "move"}));
        driver.Click(IDOK);
    });
}

TEST(ConsoleDisplay, WrongNumberShowsItsBoxAndChangesNothingElse)
{
    const struct {
        int field;
        const char* typed;
        int button;
        int resultField;
        const char* text;
    } cases[] = {
        // The platform's own integer read takes "-1" as 4294967295 and "0x10" as 0.
        {IDC_SURFACE_WIDTH, "-1", IDC_SET_SHOW_RUN, IDC_SET_RESULT, "サーフェス幅の入力値が間違っています。"},
        {IDC_BLUE, "0x10", IDC_SET_SHOW_RUN, IDC_SET_RESULT, "青の入力値が間違っています。"},
        {IDC_MOVE_START_Y, "", IDC_MOVE_SHOW_RUN, IDC_MOVE_RESULT, "開始Y座標の入力値が間違っています。"},
    };
    FakeOverlay::Reset(7);
    RunConsole([&](DialogDriver& driver) {
        // Earlier results, which a refused command must leave standing.
        driver.Click(IDC_SET_SHOW_RUN);
        driver.Click(IDC_MOVE_SHOW_RUN);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string("typed \"") + c.typed + "\" into " + std::to_string(c.field));
            TypeInto(driver, c.field, c.typed);
            // The focus where the user left it, on the exit button.
            const HWND focus = driver.Item(IDOK);
            driver.OnDialogThread([&] { SetFocus(focus); });
            ASSERT_EQ(driver.Focus(), focus);
            const std::size_t boxesBefore = driver.Boxes().size();
            FakeOverlay::Reset();

            driver.Click(c.button);

            EXPECT_TRUE(FakeOverlay::calls.empty());
            const auto boxes = driver.Boxes();
            ASSERT_EQ(boxes.size(), boxesBefore + 1);
            EXPECT_EQ(boxes.back().text, c.text);
            EXPECT_EQ(boxes.back().caption, "入力値異常");
            EXPECT_EQ(WideText(driver.Item(c.resultField)), L"0x00000007");
            EXPECT_EQ(driver.Focus(), focus) << "the focus moved";
            DWORD start = 0;
            DWORD end = 0;
            SendMessageA(driver.Item(c.field), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, end) << "text was selected";

            SetWindowTextA(driver.Item(c.field), "1");
        }
        driver.Click(IDOK);
    });
}

// The field takes a name too long for the record, which is then refused.
TEST(ConsoleDisplay, BitmapFileNameTooLongIsRefused)
{
    FakeOverlay::Reset();
    RunConsole([&](DialogDriver& driver) {
        const HWND field = driver.Item(IDC_BITMAP_FILE);
        TypeInto(driver, IDC_BITMAP_FILE, "C:\\" + std::string(293, 'n') + ".bmp");
        ASSERT_EQ(GetWindowTextLengthA(field), 300) << "the field did not take it all";
        driver.Click(IDC_SET_SHOW_RUN);
        EXPECT_TRUE(FakeOverlay::calls.empty());
        ASSERT_EQ(driver.Boxes().size(), 1u);
        EXPECT_EQ(driver.Boxes()[0].text, "ビットマップファイル名の入力値が間違っています。");
        driver.Click(IDOK);
    });
}

}  // namespace
