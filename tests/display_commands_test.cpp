// Set & show and Move & show: field reading order, checks, and the bytes the library receives.
#include <gtest/gtest.h>

#include <algorithm>

#include "console/commands.h"
#include "fake_console_window.h"
#include "fake_overlay.h"
#include "res/resource.h"
#include "res/texts.h"

namespace tavik {
namespace {

using test::Box;
using test::BytesOf;
using test::FakeConsoleWindow;
using test::FakeOverlay;
using test::RectBytes;
using test::SurfaceBytes;

const std::vector<int> kSetOrder{IDC_SURFACE_WIDTH, IDC_SURFACE_HEIGHT, IDC_RED,         IDC_GREEN,     IDC_BLUE,
                                 IDC_BITMAP_FILE,   IDC_SET_START_X,    IDC_SET_START_Y, IDC_SET_END_X, IDC_SET_END_Y};
const std::vector<int> kMoveOrder{IDC_MOVE_START_X, IDC_MOVE_START_Y, IDC_MOVE_END_X, IDC_MOVE_END_Y};

// The console as it opens.
FakeConsoleWindow InitialConsole()
{
    FakeConsoleWindow window;
    window.fields = {{IDC_SURFACE_WIDTH, "128"},
                     {IDC_SURFACE_HEIGHT, "128"},
                     {IDC_RED, "0"},
                     {IDC_GREEN, "0"},
                     {IDC_BLUE, "0"},
                     {IDC_BITMAP_FILE, "Image.bmp"},
                     {IDC_SET_START_X, "0"},
                     {IDC_SET_START_Y, "0"},
                     {IDC_SET_END_X, "128"},
                     {IDC_SET_END_Y, "128"},
                     {IDC_MOVE_START_X, "128"},
                     {IDC_MOVE_START_Y, "128"},
                     {IDC_MOVE_END_X, "256"},
                     {IDC_MOVE_END_Y, "256"},
                     {IDC_SET_RESULT, "previous"},
                     {IDC_MOVE_RESULT, "previous"}};
    return window;
}

TEST(SetAndShow, InitialValuesReachTheLibraryByteForByte)
{
    FakeConsoleWindow window = InitialConsole();
    FakeOverlay::Reset(0);
    RunSetAndShow(window, FakeOverlay::table);

    EXPECT_EQ(window.reads, kSetOrder);
    EXPECT_EQ(FakeOverlay::calls, std::vector<std::string>{"set"});
    EXPECT_EQ(BytesOf(FakeOverlay::lastParams), SurfaceBytes(128, 128, 0, 0, 0, "Image.bmp"));
    EXPECT_EQ(BytesOf(FakeOverlay::lastRect), RectBytes(0, 0, 128, 128));
    EXPECT_EQ(window.fields[IDC_SET_RESULT], "0x00000000");
    EXPECT_TRUE(window.boxes.empty());
}

TEST(SetAndShow, ColoursAboveByteRangeAreCappedAndFieldTextKept)
{
    const struct {
        const char* typed;
        std::uint8_t passed;
    } cases[] = {{"300", 255}, {"256", 255}, {"255", 255}, {"7", 7}, {"4294967295", 255}};
    for (const auto& c : cases) {
        FakeConsoleWindow window = InitialConsole();
        window.fields[IDC_RED] = c.typed;
        window.fields[IDC_GREEN] = c.typed;
        window.fields[IDC_BLUE] = c.typed;
        FakeOverlay::Reset(0);
        RunSetAndShow(window, FakeOverlay::table);
        EXPECT_EQ(BytesOf(FakeOverlay::lastParams), SurfaceBytes(128, 128, c.passed, c.passed, c.passed, "Image.bmp"))
            << c.typed;
        EXPECT_EQ(window.fields[IDC_RED], c.typed);
    }
}

TEST(SetAndShow, NoFurtherChecksOnSizesOrRectangles)
{
    FakeConsoleWindow window = InitialConsole();
    window.fields[IDC_SURFACE_WIDTH] = "0";
    window.fields[IDC_SET_START_X] = "500";
    window.fields[IDC_SET_END_X] = "4294967295";
    window.fields[IDC_SET_END_Y] = "0";
    FakeOverlay::Reset(0);
    RunSetAndShow(window, FakeOverlay::table);
    EXPECT_EQ(FakeOverlay::lastParams.width, 0u);
    EXPECT_EQ(BytesOf(FakeOverlay::lastRect), RectBytes(500, 0, 4294967295u, 0));
}

TEST(SetAndShow, LibraryFailureIsReportedUnderItsCaption)
{
    FakeConsoleWindow window = InitialConsole();
    FakeOverlay::Reset(0x80040204);
    RunSetAndShow(window, FakeOverlay::table);
    EXPECT_EQ(window.fields[IDC_SET_RESULT], "0x80040204");
    EXPECT_EQ(window.boxes, std::vector<Box>({{texts::kSetShowFailed, texts::kSetShowCaption}}));
}

TEST(BitmapFileName, CopiedWithItsTerminatorAndZerosAfterIt)
{
    const std::string sjis = "\x95\x5C\x8E\xA6\\\x83\x65\x83\x58\x83\x67.bmp";  // double-byte names pass unchanged
    for (const std::string& name : {std::string(), std::string("C:\\pictures\\a b.bmp"), sjis,
                                    std::string("  spaces kept  "), std::string(259, 'x')}) {
        FakeConsoleWindow window = InitialConsole();
        window.fields[IDC_BITMAP_FILE] = name;
        FakeOverlay::Reset(0);
        RunSetAndShow(window, FakeOverlay::table);
        ASSERT_EQ(FakeOverlay::calls.size(), 1u) << name.size();
        EXPECT_EQ(BytesOf(FakeOverlay::lastParams), SurfaceBytes(128, 128, 0, 0, 0, name)) << name.size();
    }
}

TEST(BitmapFileName, TooLongForTheRecordIsRefusedBeforeTheRectangle)
{
    for (std::size_t length : {260u, 261u, 32000u}) {
        FakeConsoleWindow window = InitialConsole();
        window.fields[IDC_BITMAP_FILE] = std::string(length, '\x83');  // lead bytes of double-byte characters
        FakeOverlay::Reset(0);
        RunSetAndShow(window, FakeOverlay::table);
        EXPECT_TRUE(FakeOverlay::calls.empty()) << length;
        EXPECT_EQ(window.boxes, std::vector<Box>({{texts::kBitmapFileWrong, texts::kInputErrorCaption}})) << length;
        EXPECT_EQ(window.reads.back(), IDC_BITMAP_FILE);
        EXPECT_EQ(window.fields[IDC_SET_RESULT], "previous");
    }
}

TEST(MoveAndShow, InitialValuesGiveTheSecondRectangle)
{
    FakeConsoleWindow window = InitialConsole();
    FakeOverlay::Reset(0xFFFFFFFF);
    RunMoveAndShow(window, FakeOverlay::table);

    EXPECT_EQ(window.reads, kMoveOrder);
    EXPECT_EQ(FakeOverlay::calls, std::vector<std::string>{"move"});
    EXPECT_EQ(BytesOf(FakeOverlay::lastRect), RectBytes(128, 128, 256, 256));
    EXPECT_EQ(window.fields[IDC_MOVE_RESULT], "0xffffffff");
    EXPECT_EQ(window.boxes, std::vector<Box>({{texts::kMoveShowFailed, texts::kMoveShowCaption}}));
}

// Every numeric field of both commands, made wrong on its own: its own box, nothing read after
// it (so a later wrong field, or the file name after blue, is never reached), no call, the result
// field as it was.
struct WrongField {
    void (*run)(ConsoleWindow&, const OverlayEntryPoints&);
    const std::vector<int>* order;
    int id;
    const char* text;
    int resultField;
};

TEST(FirstWrongField, StopsTheCommandWithThatFieldsBox)
{
    const WrongField cases[] = {
        {RunSetAndShow, &kSetOrder, IDC_SURFACE_WIDTH, texts::kWidthWrong, IDC_SET_RESULT},
        {RunSetAndShow, &kSetOrder, IDC_SURFACE_HEIGHT, texts::kHeightWrong, IDC_SET_RESULT},
        {RunSetAndShow, &kSetOrder, IDC_RED, texts::kRedWrong, IDC_SET_RESULT},
        {RunSetAndShow, &kSetOrder, IDC_GREEN, texts::kGreenWrong, IDC_SET_RESULT},
        {RunSetAndShow, &kSetOrder, IDC_BLUE, texts::kBlueWrong, IDC_SET_RESULT},
        {RunSetAndShow, &kSetOrder, IDC_SET_START_X, texts::kStartXWrong, IDC_SET_RESULT},
        {RunSetAndShow, &kSetOrder, IDC_SET_START_Y, texts::kStartYWrong, IDC_SET_RESULT},
        {RunSetAndShow, &kSetOrder, IDC_SET_END_X, texts::kEndXWrong, IDC_SET_RESULT},
        {RunSetAndShow, &kSetOrder, IDC_SET_END_Y, texts::kEndYWrong, IDC_SET_RESULT},
        {RunMoveAndShow, &kMoveOrder, IDC_MOVE_START_X, texts::kStartXWrong, IDC_MOVE_RESULT},
        {RunMoveAndShow, &kMoveOrder, IDC_MOVE_START_Y, texts::kStartYWrong, IDC_MOVE_RESULT},
        {RunMoveAndShow, &kMoveOrder, IDC_MOVE_END_X, texts::kEndXWrong, IDC_MOVE_RESULT},
        {RunMoveAndShow, &kMoveOrder, IDC_MOVE_END_Y, texts::kEndYWrong, IDC_MOVE_RESULT},
    };
    for (const auto& c : cases) {
        for (const char* wrong : {"", "-1", "12abc", "0x10", "4294967296"}) {
            SCOPED_TRACE(testing::Message() << "field " << c.id << " holding \"" << wrong << '"');
            FakeConsoleWindow window = InitialConsole();
            window.fields[c.id] = wrong;
            FakeOverlay::Reset(0);
            c.run(window, FakeOverlay::table);

            const auto& order = *c.order;
            const auto upTo = std::find(order.begin(), order.end(), c.id) + 1;
            EXPECT_EQ(window.reads, std::vector<int>(order.begin(), upTo));
            EXPECT_EQ(window.boxes, std::vector<Box>({{c.text, texts::kInputErrorCaption}}));
            EXPECT_TRUE(FakeOverlay::calls.empty());
            EXPECT_EQ(window.fields[c.resultField], "previous");
            EXPECT_EQ(window.fields[c.id], wrong);
        }
    }
}

}  // namespace
}  // namespace tavik
