#include "check/random_sample.h"

#include <iterator>
#include <random>

namespace check {

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

// The sample's calls alone.
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

}  // namespace

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
    constexpr std::optional<FileKind> kKinds[] = {FileKind::kBitmap,  FileKind::kJapanese,  FileKind::kLongBitmap,
                                                  FileKind::kMissing, FileKind::kDirectory, std::nullopt};
    const std::size_t pick = m_random() % 8;
    if (pick < std::size(kKinds)) return SetFile(input, m_files, kKinds[pick]);
    // Any bytes but NUL, 0 to 260 of them; the 260-byte one has no NUL at all, more than the console
    // sends.
    const std::size_t length = m_random() % (kPathBytes + 1);
    std::string bytes(length, '\0');
    for (char& byte : bytes) byte = static_cast<char>(1 + m_random() % 255);
    SetPath(input, bytes, length == kPathBytes ? "260 random bytes, no NUL" : "random bytes");
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

std::vector<PlannedCall> RandomPlan(const TestFiles& files, std::uint32_t seed, std::uint32_t samples)
{
    std::vector<PlannedCall> calls;
    for (int ordinal : kCycle) calls.push_back({ordinal, PlainInput(files)});
    for (PlannedCall& call : RandomCalls(files, seed, samples)) calls.push_back(std::move(call));
    calls.push_back({kClose, PlainInput(files)});
    return calls;
}

}  // namespace check
