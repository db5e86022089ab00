// One call's inputs as the console would send them, how a finding describes them, and a call
// planned ahead: the entry point and those inputs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "check/failure_points.h"
#include "check/ordinals.h"
#include "check/test_files.h"
#include "overlay/overlay_api.h"

namespace check {

// The bytes of a bitmap file name the records hold.
inline constexpr std::size_t kPathBytes = sizeof(OverlaySurfaceParams::bitmapFile);

struct CallInput {
    OverlaySurfaceParams params;
    OverlayRect rect;
    std::string fileKind;  // a kFileKinds name, or how else the name was made ("empty", "named")

    std::string DescribeParams() const;
    std::string DescribeRect() const;
};

// Sets the file name field to `path` (at most 260 bytes, zeros after it), of the kind named.
void SetPath(CallInput& input, const std::string& path, const std::string& kind);
// Sets it to the test file of `kind`; nullopt for an empty name.
void SetFile(CallInput& input, const TestFiles& files, std::optional<FileKind> kind);

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

// The edge values of a 32-bit field, for the sweep and now and then the random sample.
inline constexpr std::uint32_t kEdges[] = {0, 1, 255, 256, 8192, 65535, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};

// One lifecycle: Open, Set & show, Clear setting, Close.
inline constexpr int kCycle[] = {kOpen, kSetAndShow, kClearSetting, kClose};

}  // namespace check
