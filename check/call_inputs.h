// The inputs the console can send, and a little beyond: a fixed sweep of edge values and a seeded
// random sample. Each names the files it uses by kind, so a finding says which input it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/failure_points.h"
#include "check/ordinals.h"
#include "overlay/overlay_api.h"

namespace check {

// The files the inputs point at, in a folder of their own: a whole bitmap (under the console's
// start-up name, so that name finds it from the folder), the same under a Japanese name (with a
// 0x5C trail byte), a 259-byte path to a bitmap, names of what is not there, and the screen
// scene's picture.
struct TestFiles {
    explicit TestFiles(const std::string& folder);
    // In a folder of this process's own under the system's temporary one, its name begun by `prefix`.
    static TestFiles InTemp(const std::string& prefix);
    // Makes the folder and writes the bitmaps.
    void Create() const;
    void Remove() const;

    std::string folder;
    std::string bitmap;
    std::string japanese;
    std::string longBitmap;
    std::string longMissing;
    std::string missing;
    std::string scenePicture;  // kScenePictureWidth x kScenePictureHeight, with no symmetry
};

inline constexpr int kScenePictureWidth = 48;
inline constexpr int kScenePictureHeight = 32;

// The bytes of a bitmap file name the records hold.
inline constexpr std::size_t kPathBytes = sizeof(OverlaySurfaceParams::bitmapFile);

struct CallInput {
    OverlaySurfaceParams params;
    OverlayRect rect;
    std::string fileKind;

    std::string DescribeParams() const;
    std::string DescribeRect() const;
};

// Sets the file name field to `path` (at most 260 bytes, zeros after it), of the kind named.
void SetPath(CallInput& input, const std::string& path, const std::string& kind);

// The console's fields as it opens, for Set & show or Move & show: a 128 x 128 black surface of
// "Image.bmp" at (0, 0)-(128, 128); Move & show to (128, 128)-(256, 256).
CallInput StartupInput(int ordinal);

// A 64 x 64 surface of the bitmap, placed at (16, 16).
CallInput PlainInput(const TestFiles& files);

// One call of a scenario: the entry point and the fields the console would send; a reproducer of
// check 9 also names the wrapped call it makes fail (its ordinal then unused).
struct PlannedCall {
    int ordinal;
    CallInput input;
    std::optional<FailedCall> failure = std::nullopt;
};

// The sweep: every input through Open, Set & show, Move & show, Clear setting and Close; every
// order of the five calls with a Close after each; each call twice in a row.
std::vector<PlannedCall> SweepCalls(const TestFiles& files);

// The random sample's calls after its first plain cycle.
std::vector<PlannedCall> RandomCalls(const TestFiles& files, std::uint32_t seed, std::uint32_t samples);

// One lifecycle: Open, Set & show, Clear setting, Close.
inline constexpr int kCycle[] = {kOpen, kSetAndShow, kClearSetting, kClose};

// The calls the sweep or the random sample makes, in order, as the reproducers replay them;
// empty for the other scenarios.
std::vector<PlannedCall> PlannedCalls(const std::string& name, const TestFiles& files, std::uint32_t seed,
                                      std::uint32_t samples);

}  // namespace check
