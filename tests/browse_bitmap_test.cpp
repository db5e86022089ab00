#include <gtest/gtest.h>

#include "console/browse_bitmap.h"
#include "fake_console_window.h"
#include "res/resource.h"
#include "res/texts.h"

namespace tavik {
namespace {

using test::Box;
using test::FakeConsoleWindow;

struct FakeBitmapSource : BitmapSource {
    std::optional<std::string> chosen;
    std::optional<BitmapSize> size;
    std::vector<std::string> loaded;

    std::optional<std::string> ChooseBitmapFile() override { return chosen; }
    std::optional<BitmapSize> ReadBitmapSize(const std::string& path) override
    {
        loaded.push_back(path);
        return size;
    }
};

FakeConsoleWindow TypedConsole()
{
    FakeConsoleWindow window;
    const int ids[] = {IDC_SURFACE_WIDTH, IDC_SURFACE_HEIGHT, IDC_RED,        IDC_GREEN,       IDC_BLUE,
                       IDC_SET_START_X,   IDC_SET_START_Y,    IDC_SET_END_X,  IDC_SET_END_Y,   IDC_MOVE_START_X,
                       IDC_MOVE_START_Y,  IDC_MOVE_END_X,     IDC_MOVE_END_Y, IDC_OPEN_RESULT, IDC_CLOSE_RESULT,
                       IDC_CLEAR_RESULT,  IDC_SET_RESULT,     IDC_MOVE_RESULT};
    for (int id : ids) window.fields[id] = "typed " + std::to_string(id);
    window.fields[IDC_BITMAP_FILE] = "Image.bmp";
    return window;
}

TEST(BrowseBitmap, CancelChangesNothing)
{
    FakeConsoleWindow window = TypedConsole();
    const auto before = window.fields;
    FakeBitmapSource source;
    RunBrowseBitmap(window, source);
    EXPECT_EQ(window.fields, before);
    EXPECT_TRUE(source.loaded.empty());
    EXPECT_TRUE(window.boxes.empty());
}

TEST(BrowseBitmap, PictureSizeFillsSurfaceAndBothRectanglesInOrder)
{
    FakeConsoleWindow window = TypedConsole();
    const auto before = window.fields;
    FakeBitmapSource source;
    source.chosen = "C:\\pics\\photo.bmp";
    source.size = BitmapSize{640, 480};
    RunBrowseBitmap(window, source);

    const std::vector<std::string> expected{
        "write 1020 C:\\pics\\photo.bmp",
        "write 1013 640",
        "write 1014 480",
        "write 1022 0",
        "write 1023 0",
        "write 1024 640",
        "write 1025 480",
        "write 1034 128",
        "write 1035 128",
        "write 1036 768",
        "write 1037 608",
    };
    EXPECT_EQ(window.log, expected);
    EXPECT_EQ(source.loaded, std::vector<std::string>{"C:\\pics\\photo.bmp"});
    for (int id : {IDC_RED, IDC_GREEN, IDC_BLUE, IDC_OPEN_RESULT, IDC_SET_RESULT, IDC_MOVE_RESULT})
        EXPECT_EQ(window.fields[id], before.at(id)) << id;
}

TEST(BrowseBitmap, LoadFailureKeepsTheNewPathAndNothingElse)
{
    FakeConsoleWindow window = TypedConsole();
    auto expected = window.fields;
    FakeBitmapSource source;
    source.chosen = "C:\\broken.bmp";
    RunBrowseBitmap(window, source);

    expected[IDC_BITMAP_FILE] = "C:\\broken.bmp";
    EXPECT_EQ(window.fields, expected);
    EXPECT_EQ(window.boxes, std::vector<Box>({{texts::kBitmapLoadFailed, texts::kBitmapLoadCaption}}));
    EXPECT_EQ(window.log.front(), "write 1020 C:\\broken.bmp");  // path first, box after
}

TEST(BrowseBitmap, MoveRectangleWrapsInThirtyTwoBits)
{
    FakeConsoleWindow window = TypedConsole();
    FakeBitmapSource source;
    source.chosen = "big.bmp";
    source.size = BitmapSize{4294967200u, 4294967295u};
    RunBrowseBitmap(window, source);
    EXPECT_EQ(window.fields[IDC_SURFACE_WIDTH], "4294967200");
    EXPECT_EQ(window.fields[IDC_MOVE_END_X], "32");
    EXPECT_EQ(window.fields[IDC_MOVE_END_Y], "127");
}

}  // namespace
}  // namespace tavik
