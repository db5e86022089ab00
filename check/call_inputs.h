// The inputs the console can send, and a little beyond: a fixed sweep of edge values and a seeded
// random sample. Each names the files it uses by kind, so a finding says which input it was.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "overlay/overlay_api.h"

namespace check {

// The files the inputs point at, in a folder of their own: a whole bitmap, the same under a
// Japanese name (with a 0x5C trail byte), a 259-byte path to a bitmap, names of what is not
// there, and the screen scene's picture.
struct TestFiles {
    explicit TestFiles(const std::string& folder);
    // Writes the bitmaps; false when the folder cannot be made.
    bool Create() const;
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

struct CallInput {
    OverlaySurfaceParams params;
    OverlayRect rect;
    std::string fileKind;

    std::string DescribeParams() const;
    std::string DescribeRect() const;
};

// A 64 x 64 surface of the bitmap, placed at (16, 16).
CallInput PlainInput(const TestFiles& files);

// Every edge value of each field, one field at a time, the others plain.
std::vector<CallInput> SweepInputs(const TestFiles& files);

class RandomInputs {
public:
    RandomInputs(const TestFiles& files, std::uint32_t seed) : m_files(files), m_random(seed) {}

    CallInput Next();
    // Open, Close, Set & show, Move & show or Clear setting, weighted towards the two that take
    // records.
    int NextOrdinal();

private:
    std::uint32_t Value();
    // Half of them a size a surface may have, so that Set & show gets past its checks.
    std::uint32_t Side();
    void FillPath(CallInput& input);
    OverlayRect Rect();

    const TestFiles& m_files;
    std::mt19937 m_random;
};

}  // namespace check
