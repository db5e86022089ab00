#include "check/scenario/scene.h"

#include <windows.h>

#include <cstring>
#include <optional>
#include <vector>

#include "check/call_input.h"
#include "check/checks.h"
#include "check/scenario/caller_state.h"
#include "check/scenario/checked_library.h"
#include "check/scenario/other_programs.h"
#include "check/scenario/picture_sheet.h"
#include "check/scenario/plain_window.h"
#include "check/scenario/png_file.h"
#include "check/scenario/send.h"
#include "check/scenario/screen_image.h"
#include "check/scenario/turns.h"
#include "platform/window_text.h"

namespace check {

namespace {

// Set & show stretches a 64 x 48 surface three times, Move & show to another place and size;
// the caller's window lies outside the area read, so its own drawing is never counted.
constexpr RECT kFirst{64, 64, 256, 208};
constexpr RECT kSecond{320, 112, 448, 208};
constexpr int kMargin = 16;
constexpr RECT kCallerPlace{560, 320, 800, 440};
constexpr std::uint32_t kSurfaceWidth = 64;
constexpr std::uint32_t kSurfaceHeight = 48;
static_assert(kSurfaceWidth > kScenePictureWidth && kSurfaceHeight > kScenePictureHeight,
              "the surface's colour shows beside the picture");

struct Step {
    const char* name;  // of the step's picture file
    int ordinal;
    const RECT* asked;
};
constexpr Step kSteps[] = {{"open", kOpen, nullptr},
                           {"set", kSetAndShow, &kFirst},
                           {"move", kMoveAndShow, &kSecond},
                           {"clear", kClearSetting, nullptr},
                           {"close", kClose, nullptr}};
constexpr std::size_t kSet = 1, kMove = 2, kClear = 3, kClosed = 4;

OverlayRect Record(const RECT& rect)
{
    return {static_cast<std::uint32_t>(rect.left), static_cast<std::uint32_t>(rect.top),
            static_cast<std::uint32_t>(rect.right), static_cast<std::uint32_t>(rect.bottom)};
}

// A plain grey window under the area read, never active: what the area shows then depends on the
// library alone, not on whatever else the desktop has there.
class Backdrop {
public:
    explicit Backdrop(const RECT& area)
        : m_window(ShowPlainWindow("DravelCheckBackdrop", "DravelCheck", WS_POPUP, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                                   reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNSHADOW + 1)), area))
    {
    }
    ~Backdrop() { DestroyWindow(m_window); }
    Backdrop(const Backdrop&) = delete;
    Backdrop& operator=(const Backdrop&) = delete;

    HWND Window() const { return m_window; }

private:
    HWND m_window;
};

std::string Describe(HWND window)
{
    if (window == nullptr) return "no window";
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    RECT place{};
    GetWindowRect(window, &place);
    return "a window of class \"" + std::string(name) + "\" titled \"" + platform::WindowText(window) + "\" at " +
           RectText(place);
}

struct VisibleWindows {
    HWND caller;
    HWND backdrop;
    std::vector<HWND> found;
};

BOOL CALLBACK KeepVisible(HWND window, LPARAM visible)
{
    auto& windows = *reinterpret_cast<VisibleWindows*>(visible);
    if (!OfOtherProcess(window) && window != windows.caller && window != windows.backdrop && IsWindowVisible(window))
        windows.found.push_back(window);
    return TRUE;
}

std::string Changed(const Changes& changes)
{
    return std::to_string(changes.inside) + " of " + std::to_string(changes.insideTotal) + " pixels changed inside, " +
           std::to_string(changes.outside) + " outside";
}

// What a step that asked for a rectangle did there, compared with the screen before Open.
std::string Shown(const Changes& changes)
{
    if (changes.inside == 0 && changes.outside == 0) return "showed nothing: " + Changed(changes);
    if (changes.outside == 0)
        return "showed a picture inside the asked rectangle and nothing outside: " + Changed(changes);
    if (changes.inside == 0) return "changed only outside the asked rectangle: " + Changed(changes);
    return "changed the screen inside and outside the asked rectangle: " + Changed(changes);
}

struct Run {
    ScreenImage before;
    ScreenImage after[std::size(kSteps)];
    OverlayResult codes[std::size(kSteps)] = {};
};

// "Set & show to (64,64)-(256,208)".
std::string StepLabel(std::size_t step)
{
    return std::string(OrdinalName(kSteps[step].ordinal)) +
           (kSteps[step].asked ? " to " + RectText(*kSteps[step].asked) : "");
}

void SendNotes(const Run& run)
{
    const auto label = [&run](std::size_t step) {
        return StepLabel(step) + (run.codes[step] != 0 ? " (returned " + ResultText(run.codes[step]) + ")" : "") + ": ";
    };
    SendNote(Check::kScreen, label(kSet) + Shown(CountChanges(run.before, run.after[kSet], kFirst)));
    const Changes left = CountChanges(run.before, run.after[kMove], kFirst);
    SendNote(Check::kScreen, label(kMove) + Shown(CountChanges(run.before, run.after[kMove], kSecond)) + " (" +
                                 std::to_string(left.inside) + " of them in the first rectangle)");
    const Changes cleared = CountChanges(run.before, run.after[kClear], kSecond);
    const std::size_t differ = cleared.inside + cleared.outside;
    const bool shown = run.after[kMove].pixels != run.before.pixels;
    SendNote(Check::kScreen, label(kClear) +
                                 (differ > 0 ? "left the screen changed: "
                                  : shown    ? "took it away: "
                                             : "nothing to take away: ") +
                                 std::to_string(differ) + " pixels differ from before Open");
}

enum class Turn { kClean, kOtherProgram, kNoFocus };

struct Stage {
    const RECT& area;
    HWND backdrop;
    const CallerWindow& caller;
    const OtherProgramWatch& watch;
};

// One turn of the scene: the screen before Open, then each step and the screen after it. The
// focus taken by a window of this process, and a window of its left visible, are the library's
// doing; the focus taken to no window, or pixels left unlike before, may be another program's.
Turn PlayScene(CheckedLibrary& library, const OverlaySurfaceParams& params, const Stage& stage, Run& run,
               TurnSeen& seen)
{
    stage.watch.Forget();
    run.before = SettledScreen(stage.area);
    if (stage.watch.Disturbed(stage.backdrop)) return Turn::kOtherProgram;
    if (!stage.caller.HasFocus()) return Turn::kNoFocus;
    bool focused = true;
    for (std::size_t step = 0; step < std::size(kSteps); ++step) {
        const int ordinal = kSteps[step].ordinal;
        const OverlayRect rect = Record(kSteps[step].asked ? *kSteps[step].asked : kFirst);
        const auto outcome = library.Call(ordinal, &params, &rect);
        run.codes[step] = outcome ? outcome->code : 0;
        run.after[step] = SettledScreen(stage.area);
        if (stage.watch.Disturbed(stage.backdrop)) return Turn::kOtherProgram;
        // The first call that takes it away; the focus does not come back by itself.
        if (focused && !stage.caller.HasFocus()) {
            const HWND foreground = GetForegroundWindow();
            (foreground != nullptr && !OfOtherProcess(foreground) ? seen.findings : seen.unsure)
                .push_back({Check::kScreen, ordinal, OrdinalLabel(ordinal),
                            "took the focus from the caller's window: " + Describe(foreground) +
                                " is in the foreground"});
            focused = false;
        }
    }
    VisibleWindows left{stage.caller.Handle(), stage.backdrop, {}};
    EnumWindows(KeepVisible, reinterpret_cast<LPARAM>(&left));
    for (HWND window : left.found)
        seen.findings.push_back({Check::kScreen, kClose, OrdinalLabel(kClose), "left " + Describe(window) + " visible"});
    const Changes closed = CountChanges(run.before, run.after[kClosed], stage.area);
    if (closed.inside > 0)
        seen.unsure.push_back({Check::kScreen, kClose, OrdinalLabel(kClose),
                               "left " + std::to_string(closed.inside) + " pixels of " + RectText(stage.area) +
                                   " unlike before Open"});
    return Turn::kClean;
}

void WritePictures(const std::string& folder, const Run& run)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    std::vector<SheetRow> rows{{"before Open", &run.before, std::nullopt}};
    bool written = true;
    for (std::size_t step = 0; step < std::size(kSteps); ++step) {
        const std::string number = std::to_string(step + 1);
        written &= WritePng(folder + "\\" + number + "-" + kSteps[step].name + ".png", run.after[step]);
        const RECT* asked = kSteps[step].asked;
        rows.push_back({number + " " + StepLabel(step) + ": " + ResultText(run.codes[step]), &run.after[step],
                        asked ? std::optional<RECT>(*asked) : std::nullopt});
    }
    written &= WritePng(folder + "\\sheet.png", PictureSheet(rows));
    if (!written) SendNote(Check::kScreen, "the pictures could not all be written to " + folder);
}

}  // namespace

void Scene(CheckedLibrary& library, const TestFiles& files, const ScenarioOptions& options)
{
    if (!CanReadScreen()) {
        SendNotJudged(Check::kScreen, "this process cannot read the screen (the display gives it no device caps)");
        return;
    }
    OverlaySurfaceParams params{};
    if (files.scenePicture.size() >= sizeof params.bitmapFile) {
        SendNotJudged(Check::kScreen, "the picture's path " + files.scenePicture + " is longer than the record's " +
                                          std::to_string(sizeof params.bitmapFile - 1) + " bytes");
        return;
    }
    params.width = kSurfaceWidth;
    params.height = kSurfaceHeight;
    params.green = 96;
    params.blue = 255;
    std::strncpy(params.bitmapFile, files.scenePicture.c_str(), sizeof params.bitmapFile - 1);

    RECT area;
    UnionRect(&area, &kFirst, &kSecond);
    InflateRect(&area, kMargin, kMargin);
    const Backdrop backdrop(area);
    const CallerWindow caller(kCallerPlace);
    const OtherProgramWatch watch(area);
    Run run;
    Turn turn = Turn::kClean;
    const auto findings = UndisturbedFindings([&](int played) {
        if (played > 0) {
            // Closed, so that the next turn's Open starts afresh.
            const OverlayRect rect = Record(kFirst);
            library.Call(kClose, &params, &rect);
            StandAside(played);
            caller.Activate();
            // Painted afresh: what the last turn drew over it counts again only if drawn again.
            RedrawWindow(backdrop.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        }
        TurnSeen seen;
        turn = PlayScene(library, params, {area, backdrop.Window(), caller, watch}, run, seen);
        seen.disturbed = turn != Turn::kClean;
        return seen;
    });
    if (!findings) {
        SendNotJudged(Check::kScreen, turn == Turn::kNoFocus ? "the caller's window could not take the focus (" +
                                                                   Describe(GetForegroundWindow()) +
                                                                   " has the foreground)"
                                                             : "another program took the foreground during the scene");
        return;
    }
    for (const Finding& finding : *findings) SendFinding(finding);
    SendNotes(run);
    if (!options.pictures.empty()) WritePictures(options.pictures, run);
}

}  // namespace check
