#include "check/sweep.h"

#include <algorithm>
#include <iterator>

namespace check {

namespace {

// Every edge value of each field, one field at a time, the others plain.
std::vector<CallInput> SweepInputs(const TestFiles& files)
{
    const CallInput plain = PlainInput(files);
    std::vector<CallInput> inputs;
    for (std::uint32_t width : kEdges)
        for (std::uint32_t height : kEdges) {
            inputs.push_back(plain);
            inputs.back().params.width = width;
            inputs.back().params.height = height;
        }
    for (int colour = 0; colour < 8; ++colour) {
        inputs.push_back(plain);
        inputs.back().params.red = colour & 1 ? 255 : 0;
        inputs.back().params.green = colour & 2 ? 255 : 0;
        inputs.back().params.blue = colour & 4 ? 255 : 0;
    }
    for (const std::optional<FileKind> kind : {std::optional(FileKind::kJapanese), std::optional<FileKind>(),
                                                std::optional(FileKind::kMissing), std::optional(FileKind::kDirectory),
                                                std::optional(FileKind::kLongBitmap),
                                                std::optional(FileKind::kLongMissing)}) {
        inputs.push_back(plain);
        SetFile(inputs.back(), files, kind);
    }
    // Corner by corner through an aligned copy: the packed record's fields may lie at any address.
    for (int corner = 0; corner < 4; ++corner)
        for (std::uint32_t value : kEdges) {
            std::uint32_t corners[] = {plain.rect.startX, plain.rect.startY, plain.rect.endX, plain.rect.endY};
            corners[corner] = value;
            inputs.push_back(plain);
            inputs.back().rect = {corners[0], corners[1], corners[2], corners[3]};
        }
    for (const OverlayRect& rect :
         {OverlayRect{80, 80, 16, 16}, OverlayRect{16, 16, 16, 16}, OverlayRect{0, 0, 0xFFFFFFFF, 0xFFFFFFFF}}) {
        inputs.push_back(plain);
        inputs.back().rect = rect;
    }
    return inputs;
}

}  // namespace

std::vector<PlannedCall> SweepCalls(const TestFiles& files)
{
    std::vector<PlannedCall> calls;
    for (const CallInput& input : SweepInputs(files))
        for (int ordinal : {kOpen, kSetAndShow, kMoveAndShow, kClearSetting, kClose}) calls.push_back({ordinal, input});
    const CallInput plain = PlainInput(files);
    int order[] = {kOpen, kClose, kSetAndShow, kMoveAndShow, kClearSetting};
    do {
        for (int ordinal : order) calls.push_back({ordinal, plain});
        calls.push_back({kClose, plain});
    } while (std::next_permutation(std::begin(order), std::end(order)));
    for (int ordinal : {kOpen, kOpen, kSetAndShow, kSetAndShow, kMoveAndShow, kMoveAndShow, kClearSetting,
                        kClearSetting, kClose, kClose})
        calls.push_back({ordinal, plain});
    return calls;
}

}  // namespace check
