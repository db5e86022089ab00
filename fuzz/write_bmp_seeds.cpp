// Writes one file per kind of bitmap the loader decodes into the folder given: the starting
// corpus of the BMP check's fuzzing, made at build time so no binary file is kept in the sources.
#include <cstdio>
#include <string>

#include "tests/bmp_samples.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_bmp_seeds FOLDER\n");
        return 2;
    }
    int index = 0;
    for (const tavik::test::Sample& sample : tavik::test::AcceptedSamples()) {
        const std::string path = std::string(argv[1]) + "/seed" + std::to_string(index++) + ".bmp";
        if (!tavik::test::Save(path, tavik::test::Build(sample.bmp))) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
