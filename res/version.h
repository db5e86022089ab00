// Tavik's version, in one place: the version record and the version box (Tavik.rc) and the
// release zips' names (the build reads these lines) all take it from here. Shown as
// MAJOR.MINOR.PATCH.BUILD, the minor number with two digits as written below.
#pragma once

#define TAVIK_VERSION_MAJOR 1
#define TAVIK_VERSION_MINOR 00
#define TAVIK_VERSION_PATCH 0
#define TAVIK_VERSION_BUILD 0

#define TAVIK_VERSION_STR2(x) #x
#define TAVIK_VERSION_STR(x) TAVIK_VERSION_STR2(x)
#define TAVIK_VERSION_TEXT                                                                        \
    TAVIK_VERSION_STR(TAVIK_VERSION_MAJOR) "." TAVIK_VERSION_STR(TAVIK_VERSION_MINOR) "."         \
    TAVIK_VERSION_STR(TAVIK_VERSION_PATCH) "." TAVIK_VERSION_STR(TAVIK_VERSION_BUILD)
