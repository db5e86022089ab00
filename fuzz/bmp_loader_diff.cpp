// The BMP check against the loader it protects: damaged variants of every kind of bitmap, and
// each one the check lets through is loaded by the platform in a child process, which must
// neither crash nor hang. A file that does is kept for the check's tests.
//
//   bmp_loader_diff --mutants N --seed S
//
// Exit 0 when no accepted file crashed or hung the loader.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

#include "bitmap/bmp_file_check.h"
#include "fuzz/bmp_mutants.h"
#include "fuzz/loader_child.h"
#include "tests/bmp_samples.h"

namespace {

using tavik::test::Bytes;
using tavik::test::Save;

constexpr char kChildArgument[] = "--child";
// The first load in a process takes a fraction of a second; no file should take seconds.
constexpr DWORD kLoadTimeoutMs = 10000;

// The child: a path per line in, "1" or "0" per line out.
int LoadEachPathGiven()
{
    char line[MAX_PATH + 2];
    while (std::fgets(line, sizeof line, stdin)) {
        line[std::strcspn(line, "\r\n")] = '\0';
        const auto bitmap = static_cast<HBITMAP>(
            LoadImageA(nullptr, line, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (bitmap != nullptr) DeleteObject(bitmap);
        std::fputs(bitmap != nullptr ? "1\n" : "0\n", stdout);
        std::fflush(stdout);
    }
    return 0;
}

// Each kind page-aligned, and once more with its pixels across a page end, so that a cut at
// that page end leaves the loader pixels that run off the mapped file: tall for uncompressed
// kinds, the stream starting two bytes before the page end for RLE.
std::vector<Bytes> Seeds()
{
    std::vector<Bytes> seeds;
    for (tavik::test::Sample sample : tavik::test::AcceptedSamples()) {
        seeds.push_back(tavik::test::BuildPageAligned(sample.bmp));
        if (!sample.bmp.rle.empty()) {
            const std::size_t pixelsAt = tavik::test::Build(sample.bmp).size() - sample.bmp.rle.size();
            sample.bmp.gap += tavik::test::kPageSize - 2 - pixelsAt;
            seeds.push_back(tavik::test::Build(sample.bmp));
        } else if (sample.bmp.width < 1000) {
            sample.bmp.height *= 64;
            seeds.push_back(tavik::test::BuildPageAligned(sample.bmp));
        }
    }
    return seeds;
}

std::string TempFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string folder = temp + std::string("tavik_bmp_diff_") + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + '\\';
}

struct Counts {
    unsigned tried = 0;
    unsigned accepted = 0;
    unsigned loaded = 0;
    unsigned crashes = 0;
    unsigned hangs = 0;
};

int CompareWithTheLoader(unsigned mutants, std::uint32_t seed)
{
    const std::vector<Bytes> seeds = Seeds();
    tavik::fuzz::BmpMutator mutator(seed);
    tavik::fuzz::LoaderChild child(kChildArgument);
    const std::string folder = TempFolder();
    Counts counts;
    std::string steps;
    for (unsigned i = 0; i < mutants; ++i) {
        const std::uint32_t from = mutator.Below(static_cast<std::uint32_t>(seeds.size()));
        const Bytes mutant = mutator.Mutate(seeds[from], steps);
        ++counts.tried;
        if (!tavik::IsSafeBmp(mutant)) continue;
        ++counts.accepted;
        const std::string path = folder + "mutant" + std::to_string(i) + ".bmp";
        if (!Save(path, mutant)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 2;
        }
        const tavik::fuzz::LoadOutcome outcome = child.Load(path, kLoadTimeoutMs);
        if (outcome == tavik::fuzz::LoadOutcome::kLoaded) ++counts.loaded;
        if (outcome == tavik::fuzz::LoadOutcome::kCrashed || outcome == tavik::fuzz::LoadOutcome::kHung) {
            const bool crashed = outcome == tavik::fuzz::LoadOutcome::kCrashed;
            ++(crashed ? counts.crashes : counts.hangs);
            const std::string kept = "bmp_loader_finding_" + std::to_string(seed) + '_' + std::to_string(i) + ".bmp";
            Save(kept, mutant);
            std::printf("%s (exit 0x%08lx): mutant %u of seed file %u:%s; kept as %s\n", crashed ? "CRASH" : "HANG",
                        crashed ? child.LastExitCode() : 0ul, i, from, steps.c_str(), kept.c_str());
            std::fflush(stdout);
        }
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
    std::printf("bmp_loader_diff seed %u: %u mutants tried, %u accepted by the check, %u loaded, %u crashes, %u hangs\n",
                seed, counts.tried, counts.accepted, counts.loaded, counts.crashes, counts.hangs);
    return counts.crashes + counts.hangs == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], kChildArgument) == 0) return LoadEachPathGiven();
    if (argc == 5 && std::strcmp(argv[1], "--mutants") == 0 && std::strcmp(argv[3], "--seed") == 0) {
        return CompareWithTheLoader(std::strtoul(argv[2], nullptr, 10),
                                    static_cast<std::uint32_t>(std::strtoul(argv[4], nullptr, 10)));
    }
    std::fprintf(stderr, "usage: bmp_loader_diff --mutants N --seed S\n");
    return 2;
}
