#!/usr/bin/env bash
# Builds everything (Linux with sanitizers, Windows i686 and x86_64) and runs every test: the
# native ones, then the Windows ones under Wine on a private Xvfb display. Arguments go to ctest,
# e.g. scripts/test.sh -R commands_test
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

for preset in native fuzz mingw-i686 mingw-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
scripts/check-binaries.sh build/mingw-i686 build/mingw-x64

ctest --preset native "$@"
# A few seconds of each libFuzzer target; fuzz/run.sh runs them longer.
ctest --preset fuzz "$@"

source scripts/wine-env.sh build/mingw-x64
trap 'tavik_wine_stop; tavik_xvfb_stop' EXIT
tavik_xvfb_start
tavik_wine_prepare
ctest --preset mingw-x64 "$@"
