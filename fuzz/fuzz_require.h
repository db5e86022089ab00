// The fuzz targets' own assertion: a broken promise must end the run as a finding, in every build
// type, with the promise named.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace tavik::fuzz {

inline void Require(bool kept, const char* promise)
{
    if (kept) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

}  // namespace tavik::fuzz
