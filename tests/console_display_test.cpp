// Set & show and Move & show on the real console, clicked as a person would, against a fake
// library that keeps the exact bytes it was given.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"
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
using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The surface record as the library must receive it, laid out byte by byte.
Bytes SurfaceBytes(std::uint32_t width, std::uint32_t height, std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                   const std::string& name)
{
    Bytes bytes(271, 0);
    Put32(bytes, 0, width);
    Put32(bytes, 4, height);
    bytes[8] = red;
    bytes[9] = green;
    bytes[10] = blue;
    std::copy(name.begin(), name.end(), bytes.begin() + 11);
    return bytes;
}

Bytes RectBytes(std::uint32_t startX, std::uint32_t startY, std::uint32_t endX, std::uint32_t endY)
{
    Bytes bytes(16, 0);
    Put32(bytes, 0, startX);
    Put32(bytes, 4, startY);
    Put32(bytes, 8, endX);
    Put32(bytes, 12, endY);
    return bytes;
}

template <class Record>
Bytes BytesOf(const Record& record)
{
    const auto* begin = reinterpret_cast<const std::uint8_t*>(&record);
    return Bytes(begin, begin + sizeof record);
}

// Replaces a field's text with keystrokes, as typed into an emptied field.
void TypeInto(DialogDriver& driver, int id, const std::string& text)
{
    SetWindowTextA(driver.Item(id), "");
    driver.Type(driver.Item(id), text);
    driver.Settle();
}

TEST(ConsoleDisplay, InitialFieldsReachTheLibraryExactly)
{
    FakeOverlay::Reset();
    RunConsole([](DialogDriver& driver) {
        driver.Click(IDC_SET_SHOW_RUN);
        EXPECT_EQ(FakeOverlay::calls, std::vector<std::string>{"set"});
        EXPECT_EQ(BytesOf(FakeOverlay::lastParams), SurfaceBytes(128, 128, 0, 0, 0, "Image.bmp"));
        EXPECT_EQ(BytesOf(FakeOverlay::lastRect), RectBytes(0, 0, 128, 128));
        EXPECT_EQ(WideText(driver.Item(IDC_SET_RESULT)), L"0x00000000");

        FakeOverlay::Reset();
        driver.Click(IDC_MOVE_SHOW_RUN);
        EXPECT_EQ(FakeOverlay::calls, std::vector<std::string>{"move"});
        EXPECT_EQ(BytesOf(FakeOverlay::lastRect), RectBytes(128, 128, 256, 256));
        EXPECT_EQ(WideText(driver.Item(IDC_MOVE_RESULT)), L"0x00000000");

        EXPECT_TRUE(driver.Boxes().empty());
        driver.Click(IDOK);
    });
}

TEST(ConsoleDisplay, FailureCodeIsInItsFieldWhileTheFailureBoxIsUp)
{
    const struct {
        int button;
        int resultField;
        const char* text;
        const char* caption;
    } commands[] = {
        {IDC_SET_SHOW_RUN, IDC_SET_RESULT, "設定＆表示に失敗しました。", "設定＆表示結果"},
        {IDC_MOVE_SHOW_RUN, IDC_MOVE_RESULT, "設定＆移動に失敗しました。", "設定＆移動結果"},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.caption);
        FakeOverlay::Reset(0x80004005);
        // Set before the driver's hook, so it looks at each box after the driver has answered it
        // with a posted OK, while the box is still up. It runs on this thread, the console's.
        std::vector<std::wstring> seen;
        const MessageBoxHook watch(GetCurrentThreadId(), [&](HWND box) {
            seen.push_back(WideText(GetDlgItem(GetWindow(box, GW_OWNER), command.resultField)));
            return true;
        });
        RunConsole([&](DialogDriver& driver) {
            driver.Click(command.button);
            ASSERT_EQ(driver.Boxes().size(), 1u);
            EXPECT_EQ(driver.Boxes()[0].text, command.text);
            EXPECT_EQ(driver.Boxes()[0].caption, command.caption);
            EXPECT_EQ(driver.Boxes()[0].icon, LoadIconA(nullptr, IDI_HAND));
            EXPECT_EQ(WideText(driver.Item(command.resultField)), L"0x80004005");
            driver.Click(IDOK);
        });
        EXPECT_EQ(seen, std::vector<std::wstring>{L"0x80004005"}) << "the code was not shown before the box";
    }
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
        // The platform's own integer read takes "-1" as 4294967295 and "12abc" as 12.
        {IDC_SURFACE_WIDTH, "-1", IDC_SET_SHOW_RUN, IDC_SET_RESULT, "サーフェス幅の入力値が間違っています。"},
        {IDC_SURFACE_WIDTH, "12abc", IDC_SET_SHOW_RUN, IDC_SET_RESULT, "サーフェス幅の入力値が間違っています。"},
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
            EXPECT_EQ(boxes.back().icon, LoadIconA(nullptr, IDI_HAND));
            EXPECT_EQ(WideText(driver.Item(c.resultField)), L"0x00000007");
            EXPECT_EQ(WideText(driver.Item(c.field)), std::wstring(c.typed, c.typed + std::strlen(c.typed)));
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

// The record holds 259 bytes of name and its NUL; a longer name typed by hand is refused, not
// cut, so the library never gets a file other than the one named.
TEST(ConsoleDisplay, BitmapFileNameIsPassedWholeOrRefused)
{
    const auto name = [](std::size_t length) { return "C:\\" + std::string(length - 7, 'n') + ".bmp"; };
    std::string japanese = "C:\\";
    for (int i = 0; i < 126; ++i) japanese += "画";  // two bytes each in code page 932
    japanese += ".bmp";
    ASSERT_EQ(japanese.size(), 259u);

    FakeOverlay::Reset();
    RunConsole([&](DialogDriver& driver) {
        const HWND field = driver.Item(IDC_BITMAP_FILE);
        TypeInto(driver, IDC_BITMAP_FILE, name(259));
        driver.Click(IDC_SET_SHOW_RUN);
        EXPECT_EQ(BytesOf(FakeOverlay::lastParams), SurfaceBytes(128, 128, 0, 0, 0, name(259)));

        SetWindowTextA(field, japanese.c_str());
        driver.Click(IDC_SET_SHOW_RUN);
        EXPECT_EQ(BytesOf(FakeOverlay::lastParams), SurfaceBytes(128, 128, 0, 0, 0, japanese));
        EXPECT_TRUE(driver.Boxes().empty());

        for (const std::size_t length : {260, 300}) {
            SCOPED_TRACE(std::to_string(length) + " bytes");
            TypeInto(driver, IDC_BITMAP_FILE, name(length));
            ASSERT_EQ(GetWindowTextLengthA(field), static_cast<int>(length)) << "the field did not take it all";
            FakeOverlay::Reset();
            const std::size_t boxesBefore = driver.Boxes().size();

            driver.Click(IDC_SET_SHOW_RUN);

            EXPECT_TRUE(FakeOverlay::calls.empty());
            const auto boxes = driver.Boxes();
            ASSERT_EQ(boxes.size(), boxesBefore + 1);
            EXPECT_EQ(boxes.back().text, "ビットマップファイル名の入力値が間違っています。");
            EXPECT_EQ(boxes.back().caption, "入力値異常");
            EXPECT_EQ(WideText(driver.Item(IDC_SET_RESULT)), L"0x00000000");
        }
        driver.Click(IDOK);
    });
}

}  // namespace
