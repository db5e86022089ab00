// The file button on the real console, through the platform's open-file dialog and bitmap loader,
// with bitmap files the test writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/dialog_driver.h"
#include "tests/bmp_files.h"
#include "tests/fake_overlay.h"
#include "tests/file_pick.h"
#include "tests/picked_files.h"
#include "tests/run_console.h"

namespace {

using dravel::test::Bmp24;
using dravel::test::BmpFolder;
using tavik::test::DialogDriver;
using tavik::test::FakeOverlay;
using tavik::test::FilePick;
using tavik::test::InSystemCodePage;
using tavik::test::PickFile;
using tavik::test::RunConsole;
using tavik::test::TextsOf;
using tavik::test::WideText;
using tavik::test::WriteFile;
using Bytes = std::vector<std::uint8_t>;
using FieldTexts = std::map<int, std::wstring>;

Bytes Picture(int width, int height)
{
    return Bmp24(width, height, [](int x, int y) { return RGB(x, y, 99); });
}

// The texts after a picture was chosen: its path, and the sizes given in the order of the surface
// width and height, then the Set & show and the Move & show rectangles.
FieldTexts Sized(FieldTexts texts, const std::wstring& path, const std::vector<std::wstring>& sizes)
{
    const int sizeFields[] = {IDC_SURFACE_WIDTH, IDC_SURFACE_HEIGHT, IDC_SET_START_X,  IDC_SET_START_Y, IDC_SET_END_X,
                              IDC_SET_END_Y,     IDC_MOVE_START_X,   IDC_MOVE_START_Y, IDC_MOVE_END_X,  IDC_MOVE_END_Y};
    texts[IDC_BITMAP_FILE] = path;
    for (std::size_t i = 0; i < sizes.size(); ++i) texts[sizeFields[i]] = sizes[i];
    return texts;
}

TEST(ConsoleBrowse, DialogOffersBitmapsFromNoNameAndCancelChangesNothing)
{
    FakeOverlay::Reset();
    RunConsole([](DialogDriver& driver) {
        const FieldTexts before = TextsOf(driver);
        {
            FilePick pick(driver);
            EXPECT_EQ(WideText(pick.Dialog()), L"開く");
            EXPECT_EQ(WideText(pick.NameEdit()), L"");
            const HWND types = pick.FileTypeList();
            EXPECT_EQ(SendMessageW(types, CB_GETCOUNT, 0, 0), 1);
            std::wstring type(static_cast<std::size_t>(SendMessageW(types, CB_GETLBTEXTLEN, 0, 0)), L'\0');
            SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(type.data()));
            EXPECT_EQ(type, L"ビットマップ ファイル (*.bmp)");
            pick.Cancel();
        }
        EXPECT_EQ(TextsOf(driver), before);
        EXPECT_TRUE(driver.Boxes().empty());
        driver.Click(IDOK);
    });
    EXPECT_TRUE(FakeOverlay::calls.empty());
}

// Which fields a choice leaves alone is browse_bitmap_test's; here the platform's dialog and
// loader, with a double-byte folder and name where the system code page has them.
TEST(ConsoleBrowse, ChosenBitmapSizesTheSurfaceAndBothRectanglesAndNamesTheFile)
{
    const BmpFolder folder;
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> picks = {
        {WriteFile(folder.Path() / "picture.bmp", Picture(640, 480)),
         {L"640", L"480", L"0", L"0", L"640", L"480", L"128", L"128", L"768", L"608"}}};
    if (GetACP() == 932)
        picks.push_back({WriteFile(folder.Path() / L"画像フォルダ" / L"画像テスト.bmp", Picture(33, 17)),
                         {L"33", L"17", L"0", L"0", L"33", L"17", L"128", L"128", L"161", L"145"}});
    FakeOverlay::Reset();
    RunConsole([&](DialogDriver& driver) {
        for (const auto& [path, sizes] : picks) {
            SCOPED_TRACE(InSystemCodePage(path));
            const FieldTexts before = TextsOf(driver);
            PickFile(driver, path);
            EXPECT_EQ(TextsOf(driver), Sized(before, path, sizes));
            driver.Click(IDC_SET_SHOW_RUN);
            EXPECT_STREQ(FakeOverlay::lastParams.bitmapFile, InSystemCodePage(path).c_str());
        }
        EXPECT_TRUE(driver.Boxes().empty());
        driver.Click(IDOK);
    });
}

// A file cut short would crash the platform's loader; ending it on a page boundary makes any
// read past its end fault rather than find zeros.
TEST(ConsoleBrowse, UnreadableBitmapShowsTheLoadBoxAndKeepsTheSizes)
{
    const BmpFolder folder;
    const Bytes whole = Picture(640, 480);
    const std::wstring headerOnly = WriteFile(folder.Path() / "header.bmp", Bytes(whole.begin(), whole.begin() + 54));
    const std::wstring pageCut = WriteFile(folder.Path() / "cut.bmp", Bytes(whole.begin(), whole.begin() + 2 * 4096));

    FakeOverlay::Reset();
    RunConsole([&](DialogDriver& driver) {
        for (const std::wstring& path : {headerOnly, pageCut}) {
            SCOPED_TRACE(InSystemCodePage(path));
            FieldTexts expected = TextsOf(driver);
            expected[IDC_BITMAP_FILE] = path;
            const std::size_t boxes = driver.Boxes().size();

            PickFile(driver, path);

            EXPECT_EQ(TextsOf(driver), expected);
            ASSERT_EQ(driver.Boxes().size(), boxes + 1);
            EXPECT_EQ(driver.Boxes().back().text, "ビットマップファイルの読み込みに失敗しました。");
            EXPECT_EQ(driver.Boxes().back().caption, "ビットマップファイル読み込み");

            // The console goes on, and the next Set & show names the new file.
            driver.Click(IDC_SET_SHOW_RUN);
            EXPECT_STREQ(FakeOverlay::lastParams.bitmapFile, InSystemCodePage(path).c_str());
            EXPECT_EQ(FakeOverlay::lastParams.width, 128u);
        }
        driver.Click(IDOK);
    });
}

}  // namespace
