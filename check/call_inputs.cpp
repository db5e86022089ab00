#include "check/call_inputs.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <string_view>

namespace check {

namespace {

constexpr std::uint32_t kEdges[] = {0, 1, 255, 256, 8192, 65535, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};

// A name of `fill` bytes padded to make the whole path 259 bytes; in a folder too deep for that,
// one byte, and the path is longer than the record holds.
std::string LongPath(const std::string& folder, char fill)
{
    const std::string path = folder + "\\";
    const std::size_t room = kPathBytes - 1 - std::string_view(".bmp").size();
    return path + std::string(path.size() < room ? room - path.size() : 1, fill) + ".bmp";
}

}  // namespace

TestFiles::TestFiles(const std::string& dir)
    : folder(dir),
      bitmap(dir + "\\Image.bmp"),
      japanese(dir + "\\表示画像.bmp"),
      longBitmap(LongPath(dir, 'L')),
      longMissing(LongPath(dir, 'M')),
      missing(dir + "\\missing.bmp"),
      scenePicture(dir + "\\scene.bmp")
{
}

std::string CallInput::DescribeParams() const
{
    return "width " + std::to_string(params.width) + " height " + std::to_string(params.height) + " colour " +
           std::to_string(params.red) + "," + std::to_string(params.green) + "," + std::to_string(params.blue) +
           " file " + fileKind;
}

std::string CallInput::DescribeRect() const
{
    return "rect " + std::to_string(rect.startX) + "," + std::to_string(rect.startY) + "," + std::to_string(rect.endX) +
           "," + std::to_string(rect.endY);
}

void SetPath(CallInput& input, const std::string& path, const std::string& kind)
{
    std::memset(input.params.bitmapFile, 0, kPathBytes);
    std::memcpy(input.params.bitmapFile, path.data(), std::min(path.size(), kPathBytes));
    input.fileKind = kind;
}

CallInput StartupInput(int ordinal)
{
    CallInput input{};
    input.params.width = input.params.height = 128;
    SetPath(input, "Image.bmp", "named");
    input.rect = ordinal == kMoveAndShow ? OverlayRect{128, 128, 256, 256} : OverlayRect{0, 0, 128, 128};
    return input;
}

CallInput PlainInput(const TestFiles& files)
{
    CallInput input{};
    input.params.width = input.params.height = 64;
    input.params.red = 200;
    input.rect = {16, 16, 80, 80};
    SetPath(input, files.bitmap, "bitmap");
    return input;
}

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
    const std::pair<std::string, const char*> paths[] = {{files.japanese, "japanese"},
                                                         {"", "empty"},
                                                         {files.missing, "missing"},
                                                         {files.folder, "directory"},
                                                         {files.longBitmap, "259-byte bitmap"},
                                                         {files.longMissing, "259-byte missing"}};
    for (const auto& [path, kind] : paths) {
        inputs.push_back(plain);
        SetPath(inputs.back(), path, kind);
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

namespace {

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

}  // namespace

std::vector<PlannedCall> RandomCalls(const TestFiles& files, std::uint32_t seed, std::uint32_t samples)
{
    RandomInputs random(files, seed);
    std::vector<PlannedCall> calls;
    for (std::uint32_t i = 0; i < samples; ++i) {
        const int ordinal = random.NextOrdinal();
        calls.push_back({ordinal, random.Next()});
    }
    return calls;
}

std::uint32_t RandomInputs::Value()
{
    // Every magnitude as likely as any other, and now and then an edge value itself.
    if (m_random() % 8 == 0) return kEdges[m_random() % std::size(kEdges)];
    const unsigned bits = m_random() % 33;
    if (bits == 0) return 0;
    const std::uint32_t top = std::uint32_t{1} << (bits - 1);
    return top | (m_random() & (top - 1));
}

void RandomInputs::FillPath(CallInput& input)
{
    switch (m_random() % 8) {
        case 0:
            return SetPath(input, m_files.bitmap, "bitmap");
        case 1:
            return SetPath(input, m_files.japanese, "japanese");
        case 2:
            return SetPath(input, m_files.longBitmap, "259-byte bitmap");
        case 3:
            return SetPath(input, m_files.missing, "missing");
        case 4:
            return SetPath(input, m_files.folder, "directory");
        case 5:
            return SetPath(input, "", "empty");
        default: {
            // Any bytes but NUL, 0 to 260 of them; the 260-byte one has no NUL at all, more than the
            // console sends.
            const std::size_t length = m_random() % (kPathBytes + 1);
            std::string bytes(length, '\0');
            for (char& byte : bytes) byte = static_cast<char>(1 + m_random() % 255);
            return SetPath(input, bytes, length == kPathBytes ? "260 random bytes, no NUL" : "random bytes");
        }
    }
}

OverlayRect RandomInputs::Rect()
{
    const std::uint32_t x = m_random() % 1500, y = m_random() % 1000;
    const OverlayRect plausible{x, y, x + 1 + static_cast<std::uint32_t>(m_random() % 700),
                                y + 1 + static_cast<std::uint32_t>(m_random() % 700)};
    switch (m_random() % 4) {
        case 0:
            return {Value(), Value(), Value(), Value()};
        case 1:
            return {plausible.endX, plausible.endY, plausible.startX,
                    m_random() % 2 ? plausible.startY : plausible.endY};
        default:
            return plausible;
    }
}

std::uint32_t RandomInputs::Side()
{
    return m_random() % 2 ? 1 + m_random() % 1024 : Value();
}

CallInput RandomInputs::Next()
{
    // Half of the inputs differ from the plain one in one part only, so that the calls after them
    // find a surface set often enough; the others are random throughout.
    CallInput input = PlainInput(m_files);
    const unsigned parts = m_random() % 2 ? 1u << m_random() % 3 : 7u;
    if (parts & 1) {
        input.params.width = Side();
        input.params.height = Side();
    }
    if (parts & 2) FillPath(input);
    if (parts & 4) input.rect = Rect();
    input.params.red = static_cast<std::uint8_t>(m_random());
    input.params.green = static_cast<std::uint8_t>(m_random());
    input.params.blue = static_cast<std::uint8_t>(m_random());
    return input;
}

int RandomInputs::NextOrdinal()
{
    constexpr int kWeighted[] = {kOpen,       kOpen,        kClose,       kSetAndShow,  kSetAndShow,
                                 kSetAndShow, kMoveAndShow, kMoveAndShow, kMoveAndShow, kClearSetting};
    return kWeighted[m_random() % std::size(kWeighted)];
}

std::vector<PlannedCall> PlannedCalls(const std::string& name, const TestFiles& files, std::uint32_t seed,
                                      std::uint32_t samples)
{
    if (name == "sweep") return SweepCalls(files);
    if (name != "random") return {};
    std::vector<PlannedCall> calls;
    for (int ordinal : kCycle) calls.push_back({ordinal, PlainInput(files)});
    for (PlannedCall& call : RandomCalls(files, seed, samples)) calls.push_back(std::move(call));
    calls.push_back({kClose, PlainInput(files)});
    return calls;
}

}  // namespace check
