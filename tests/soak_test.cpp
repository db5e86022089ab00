// The console under a long mixed load: ten thousand clicks of its five command buttons, library
// failures and input errors among them, and a thousand bitmap choices. What the process holds of
// the platform must end where it started, and no box may be left open.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "console/open_file_bitmap_source.h"
#include "platform/window_text.h"
#include "res/resource.h"
#include "tests/dialog_driver.h"
#include "tests/bmp_files.h"
#include "tests/fake_overlay.h"
#include "tests/file_pick.h"
#include "tests/message_box_hook.h"
#include "tests/picked_files.h"
#include "tests/process_resources.h"
#include "tests/run_console.h"

namespace {

using dravel::test::Bmp24;
using dravel::test::BmpFolder;
using tavik::test::DialogDriver;
using tavik::test::FakeOverlay;
using tavik::test::InSystemCodePage;
using tavik::test::MessageBoxHook;
using tavik::test::PickFile;
using tavik::test::ProcessUsage;
using tavik::test::RunConsole;
using tavik::test::SettledUsage;
using tavik::test::WriteFile;
using Bytes = std::vector<std::uint8_t>;

constexpr int kClicks = 10000;
// A pick through the open-file dialog takes about 0.1 s here, so a thousand would take well over
// a minute. A few go through the dialog; the rest of the thousand load and release a bitmap as
// the file button does, which is where a pick could leak.
constexpr int kDialogPicks = 30;
constexpr int kLoaderRounds = 1000;
// The first clicks and picks fill the platform's caches; the counts are taken after them.
constexpr int kWarmUpRounds = 100;

// A leak grows in both halves of the run; a cache of the platform fills once, in one half. Seen
// here after the warm-up: sometimes one step of 2 GDI objects and 0.4-1.5 MB (the larger in a
// newly made Wine prefix), otherwise flat. A count at or below `least` was not taken at all (the
// platform gives 0 where it cannot count) and would let any comparison pass.
struct Limits {
    std::size_t least;  // what a process showing the console holds at the very least
    long long steady;   // growth allowed in the quieter half
    long long step;     // growth allowed over the whole run
};
constexpr Limits kGdiLimits{20, 0, 4};   // its controls' fonts, brushes and bitmaps
constexpr Limits kUserLimits{50, 0, 2};  // its dialog and controls alone
constexpr Limits kBytesLimits{1 << 20, 128 << 10, 3 << 20};

const int kButtons[] = {IDC_OPEN_RUN, IDC_SET_SHOW_RUN, IDC_MOVE_SHOW_RUN, IDC_CLEAR_RUN, IDC_CLOSE_RUN};
const OverlayResult kFailureCodes[] = {1, 0xFFFFFFFF, 0x80004005, 0x7FFFFFFF, 0x00010000};

// A field made wrong for one click of the command that reads it.
struct WrongInput {
    int field;
    std::string text;
};
const std::vector<WrongInput> kWrongSetInputs = {
    {IDC_SURFACE_WIDTH, "x"}, {IDC_RED, "-1"}, {IDC_BITMAP_FILE, std::string(300, 'n')}, {IDC_SET_END_Y, ""}};
const std::vector<WrongInput> kWrongMoveInputs = {{IDC_MOVE_START_X, "12abc"}, {IDC_MOVE_END_Y, "4294967296"}};

void ExpectNoLeak(const char* what, std::size_t start, std::size_t middle, std::size_t end, Limits limits)
{
    const auto grown = [](std::size_t from, std::size_t to) {
        return static_cast<long long>(to) - static_cast<long long>(from);
    };
    const std::string trace = std::string(what) + ": " + std::to_string(start) + ", then " + std::to_string(middle) +
                              ", then " + std::to_string(end);
    ASSERT_GT(start, limits.least) << trace << ": not counted";
    EXPECT_LE(std::min(grown(start, middle), grown(middle, end)), limits.steady) << trace;
    EXPECT_LE(grown(start, end), limits.step) << trace;
}

BOOL CALLBACK CollectVisibleWindowOfThisProcess(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindowsOfThisProcess()
{
    std::vector<HWND> windows;
    EnumWindows(CollectVisibleWindowOfThisProcess, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The mixed load in rounds: ten clicks, then a loader round, and now and then a pick.
class Load {
public:
    static constexpr int kClicksPerRound = kClicks / kLoaderRounds;
    static constexpr int kRoundsPerPick = kLoaderRounds / kDialogPicks;

    Load(DialogDriver& driver, const std::wstring& good, const std::wstring& bad)
        : m_driver(driver), m_good(good), m_bad(bad)
    {
    }

    void Round(int round)
    {
        // Clicked from the console's own thread, where a button sends its click, so that ten
        // thousand of them take seconds rather than a cross-thread call each.
        m_driver.OnDialogThread([&] {
            for (int i = round * kClicksPerRound; i < (round + 1) * kClicksPerRound; ++i) Click(i);
        });
        LoaderRound(round);
        if (round % kRoundsPerPick == 0) Pick(round / kRoundsPerPick);
    }

    int expectedCalls = 0;
    int calls = 0;
    int expectedBoxes = 0;

private:
    // The buttons in turn. Now and then the library fails, with a code that varies, or a display
    // command meets a wrong field; each of those brings a box, which costs a window (~25 ms).
    void Click(int i)
    {
        const int button = kButtons[i % 5];
        const std::vector<WrongInput>* wrongInputs = button == IDC_SET_SHOW_RUN    ? &kWrongSetInputs
                                                     : button == IDC_MOVE_SHOW_RUN ? &kWrongMoveInputs
                                                                                   : nullptr;
        const WrongInput* wrong =
            wrongInputs && (i / 5) % 40 == 0 ? &(*wrongInputs)[(i / 200) % wrongInputs->size()] : nullptr;
        const OverlayResult code = i % 53 == 0 ? kFailureCodes[(i / 53) % std::size(kFailureCodes)] : 0;
        FakeOverlay::Reset(code);

        std::string kept;
        if (wrong) {
            kept = platform::WindowText(m_driver.Item(wrong->field));
            SetWindowTextA(m_driver.Item(wrong->field), wrong->text.c_str());
        }
        m_driver.Click(button);
        if (wrong) SetWindowTextA(m_driver.Item(wrong->field), kept.c_str());

        calls += static_cast<int>(FakeOverlay::calls.size());
        expectedCalls += wrong ? 0 : 1;
        expectedBoxes += wrong || code != 0 ? 1 : 0;
    }

    // Good and unreadable files in turn; the unreadable one brings the load-failure box.
    void Pick(int n)
    {
        PickFile(m_driver, n % 2 ? m_bad : m_good);
        expectedBoxes += n % 2;
    }

    void LoaderRound(int n)
    {
        tavik::OpenFileBitmapSource source(nullptr);
        EXPECT_EQ(source.ReadBitmapSize(InSystemCodePage(n % 2 ? m_bad : m_good)).has_value(), n % 2 == 0);
    }

    DialogDriver& m_driver;
    std::wstring m_good;
    std::wstring m_bad;
};

TEST(Soak, TenThousandClicksAndAThousandPicksLeaveNothingBehind)
{
    const BmpFolder folder;
    const Bytes picture = Bmp24(64, 48, [](int x, int y) { return RGB(x, y, 0); });
    const std::wstring good = WriteFile(folder.Path() / "good.bmp", picture);
    const std::wstring bad = WriteFile(folder.Path() / "cut.bmp", Bytes(picture.begin(), picture.begin() + 4096));

    FakeOverlay::Reset();
    RunConsole(
        [&](DialogDriver& driver) {
            // Answers every box and keeps it from the driver, whose record of each box would grow
            // with the run and hide a leak of the console's.
            std::atomic<int> boxes{0};
            const MessageBoxHook answer(GetWindowThreadProcessId(driver.Dialog(), nullptr), [&](HWND box) {
                ++boxes;
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
                return false;
            });

            Load warmUp(driver, good, bad);
            for (int round = 0; round < kWarmUpRounds; ++round) warmUp.Round(round);
            for (int n = 0; n < 4; ++n) PickFile(driver, n % 2 ? bad : good);
            const ProcessUsage before = SettledUsage();
            const int boxesBefore = boxes;

            Load load(driver, good, bad);
            for (int round = 0; round < kLoaderRounds / 2; ++round) load.Round(round);
            const ProcessUsage middle = SettledUsage();
            for (int round = kLoaderRounds / 2; round < kLoaderRounds; ++round) load.Round(round);
            const ProcessUsage after = SettledUsage();

            EXPECT_EQ(load.calls, load.expectedCalls);
            EXPECT_EQ(boxes - boxesBefore, load.expectedBoxes);
            ExpectNoLeak("GDI objects", before.gdiObjects, middle.gdiObjects, after.gdiObjects, kGdiLimits);
            ExpectNoLeak("USER objects", before.userObjects, middle.userObjects, after.userObjects, kUserLimits);
            ExpectNoLeak("private bytes", before.privateBytes, middle.privateBytes, after.privateBytes, kBytesLimits);
            EXPECT_EQ(VisibleWindowsOfThisProcess(), std::vector<HWND>{driver.Dialog()});
            driver.Click(IDOK);
        },
        120000);
}

}  // namespace
