// The real DRAVEL.dll called as the console calls it: the codes of the lifecycle and of bad
// records, a failed Set & show keeping the previous setting, calls from another thread, the trace
// lines and unloading.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <thread>

#include "dravel/dravel_codes.h"
#include "tests/bmp_files.h"
#include "tests/dravel_library.h"
#include "tests/surface_params.h"

namespace {

using namespace dravel;
using namespace dravel::test;

class DravelCalls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(overlay.open, nullptr) << "DRAVEL.dll or its ordinals are missing"; }

    OverlayResult Set(const OverlaySurfaceParams& params, const OverlayRect& rect)
    {
        return overlay.setAndShow(&params, &rect);
    }
    OverlayResult Move(const OverlayRect& rect) { return overlay.moveAndShow(&rect); }

    LoadedDravel library;
    const OverlayEntryPoints overlay = library.EntryPoints();
    BmpFolder files;
    const std::string quarters = files.Quarters();
    const OverlaySurfaceParams good = SurfaceParams(16, 16, quarters);
    const OverlayRect rect{100, 100, 132, 132};
};

TEST_F(DravelCalls, EverythingButOpenNeedsTheLibraryOpenAndMoveAndClearASurface)
{
    EXPECT_EQ(overlay.close(), kNotOpen);
    EXPECT_EQ(Set(good, rect), kNotOpen);
    EXPECT_EQ(Move(rect), kNotOpen);
    EXPECT_EQ(overlay.clearSetting(), kNotOpen);

    EXPECT_EQ(overlay.open(), kOk);
    EXPECT_EQ(overlay.open(), kAlreadyOpen);
    EXPECT_EQ(Move(rect), kNothingSet);
    EXPECT_EQ(overlay.clearSetting(), kNothingSet);
    EXPECT_EQ(Set(good, rect), kOk);
    EXPECT_EQ(Move(OverlayRect{0, 0, 8, 8}), kOk);
    EXPECT_EQ(overlay.clearSetting(), kOk);
    EXPECT_EQ(overlay.clearSetting(), kNothingSet);
    EXPECT_EQ(Move(rect), kNothingSet);
    // The library stays open after Clear setting, and the largest surface is made.
    EXPECT_EQ(Set(SurfaceParams(8192, 8192, quarters), rect), kOk);
    EXPECT_EQ(overlay.close(), kOk);
    EXPECT_EQ(overlay.close(), kNotOpen);
    EXPECT_EQ(Set(good, rect), kNotOpen);
    // Closing forgets everything; opening again starts afresh.
    EXPECT_EQ(overlay.open(), kOk);
    EXPECT_EQ(Move(rect), kNothingSet);
    EXPECT_EQ(overlay.close(), kOk);
}

TEST_F(DravelCalls, OpenMakesAHiddenWindowAndCloseRemovesIt)
{
    ASSERT_EQ(overlay.open(), kOk);
    const HWND window = FindOverlayWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    ASSERT_EQ(Set(good, rect), kOk);
    EXPECT_TRUE(IsWindowVisible(window));
    ASSERT_EQ(overlay.close(), kOk);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DravelCalls, BadRecordsAreRefused)
{
    ASSERT_EQ(overlay.open(), kOk);
    EXPECT_EQ(overlay.setAndShow(nullptr, &rect), kPointer);
    EXPECT_EQ(overlay.setAndShow(&good, nullptr), kPointer);
    EXPECT_EQ(overlay.moveAndShow(nullptr), kPointer);

    // The limits themselves are the rules' tests; here each check is reached through the library,
    // with "-1" as the console sends it.
    EXPECT_EQ(Set(SurfaceParams(4294967295u, 16, quarters), rect), kBadSize);
    EXPECT_EQ(Set(SurfaceParams(16, 4294967295u, quarters), rect), kBadSize);
    EXPECT_EQ(Set(good, OverlayRect{10, 10, 20, 5}), kBadRect);
    EXPECT_EQ(Move(OverlayRect{32760, 0, 32768, 16}), kBadRect);
    EXPECT_EQ(Set(SurfaceParams(16, 16, ""), rect), kBadPath);
    OverlaySurfaceParams unterminated = good;
    std::memset(unterminated.bitmapFile, 'a', sizeof unterminated.bitmapFile);
    EXPECT_EQ(Set(unterminated, rect), kBadPath);
    EXPECT_EQ(overlay.close(), kOk);
}

TEST_F(DravelCalls, FilesThatDoNotLoadAreRefused)
{
    const std::vector<std::uint8_t> whole = Bmp24(256, 256, [](int x, int y) { return RGB(x, y, 0); });
    // Cut-short files can crash the platform's loader; they must never reach it.
    const std::string unloadable[] = {
        (files.Path() / "missing.bmp").string(),
        files.Path().string(),
        files.Write("empty.bmp", {}),
        files.Write("header_only.bmp", {whole.begin(), whole.begin() + 54}),
        files.Write("a_third.bmp", {whole.begin(), whole.begin() + whole.size() / 3}),
        files.Write("png.bmp", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13}),
    };
    ASSERT_EQ(overlay.open(), kOk);
    for (const std::string& file : unloadable) EXPECT_EQ(Set(SurfaceParams(16, 16, file), rect), kBadBitmap) << file;
    EXPECT_EQ(Move(rect), kNothingSet);
    EXPECT_EQ(overlay.close(), kOk);
}

TEST_F(DravelCalls, RelativeNamesAreFoundInTheCurrentFolder)
{
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(files.Path().string().c_str()));
    ASSERT_EQ(overlay.open(), kOk);
    EXPECT_EQ(Set(SurfaceParams(16, 16, "quarters.bmp"), rect), kOk);
    EXPECT_EQ(Set(SurfaceParams(16, 16, "Image.bmp"), rect), kBadBitmap);
    EXPECT_EQ(overlay.close(), kOk);
    SetCurrentDirectoryA(previous);
}

TEST_F(DravelCalls, AFailedSetAndShowKeepsThePreviousSetting)
{
    ASSERT_EQ(overlay.open(), kOk);
    ASSERT_EQ(Set(good, rect), kOk);
    const HWND window = FindOverlayWindow();
    EXPECT_EQ(Set(SurfaceParams(16, 16, (files.Path() / "missing.bmp").string()), OverlayRect{0, 0, 64, 64}),
              kBadBitmap);
    EXPECT_EQ(Set(SurfaceParams(0, 16, quarters), OverlayRect{0, 0, 64, 64}), kBadSize);
    EXPECT_EQ(Set(good, OverlayRect{0, 0, 0, 64}), kBadRect);

    EXPECT_TRUE(IsWindowVisible(window));
    RECT shown;
    GetWindowRect(window, &shown);
    EXPECT_EQ(shown.left, 100);
    EXPECT_EQ(shown.right, 132);
    EXPECT_EQ(Move(OverlayRect{0, 0, 8, 8}), kOk);

    // With nothing set, a failed Set & show shows nothing.
    ASSERT_EQ(overlay.clearSetting(), kOk);
    EXPECT_EQ(Set(SurfaceParams(16, 16, ""), rect), kBadPath);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(Move(rect), kNothingSet);
    EXPECT_EQ(overlay.close(), kOk);
}

TEST_F(DravelCalls, OnlyTheOpeningThreadIsServed)
{
    ASSERT_EQ(overlay.open(), kOk);
    ASSERT_EQ(Set(good, rect), kOk);
    std::thread([&] {
        EXPECT_EQ(overlay.open(), kWrongThread);
        EXPECT_EQ(Set(good, rect), kWrongThread);
        EXPECT_EQ(Move(rect), kWrongThread);
        EXPECT_EQ(overlay.clearSetting(), kWrongThread);
        EXPECT_EQ(overlay.close(), kWrongThread);
    }).join();
    // Nothing the other thread asked for happened.
    EXPECT_EQ(overlay.clearSetting(), kOk);
    EXPECT_EQ(overlay.close(), kOk);

    // Once closed, any thread may open it.
    std::thread([&] {
        EXPECT_EQ(overlay.open(), kOk);
        EXPECT_EQ(overlay.close(), kOk);
    }).join();
}

TEST_F(DravelCalls, EachCallWritesOneTraceLine)
{
    const TraceCapture trace;
    const OverlaySurfaceParams params = SurfaceParams(16, 8, "C:\\no\\such.bmp", 255, 128, 7);
    overlay.close();
    overlay.open();
    Set(params, OverlayRect{1, 2, 33, 18});
    overlay.moveAndShow(nullptr);
    overlay.clearSetting();
    overlay.close();
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{
                                 "DRAVEL OverlayClose() -> 0x80040201\n",
                                 "DRAVEL OverlayOpen() -> 0x00000000\n",
                                 "DRAVEL OverlaySetAndShow(w=16 h=8 rgb=255,128,7 file=\"C:\\no\\such.bmp\" "
                                 "rect=1,2-33,18) -> 0x80040207\n",
                                 "DRAVEL OverlayMoveAndShow(rect=null) -> 0x80004003\n",
                                 "DRAVEL OverlayClearSetting() -> 0x80040203\n",
                                 "DRAVEL OverlayClose() -> 0x00000000\n",
                             }));
}

TEST_F(DravelCalls, UnloadingTakesTheOverlayAway)
{
    ASSERT_EQ(overlay.open(), kOk);
    ASSERT_EQ(Set(good, rect), kOk);
    ASSERT_NE(FindOverlayWindow(), nullptr);
    library.Unload();
    EXPECT_EQ(FindOverlayWindow(), nullptr);

    const LoadedDravel again;
    const OverlayEntryPoints reloaded = again.EntryPoints();
    ASSERT_NE(reloaded.open, nullptr);
    EXPECT_EQ(reloaded.open(), kOk);
    EXPECT_EQ(reloaded.setAndShow(&good, &rect), kOk);
    EXPECT_EQ(reloaded.close(), kOk);
}

}  // namespace
