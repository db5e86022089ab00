#!/usr/bin/env bash
# Builds everything (Linux with sanitizers, Windows i686 and x86_64) and runs every test: the
# native ones, then the Windows ones under Wine on a private Xvfb display, x86_64 then i686
# (TAVIK_WOW64_WINE: the folder with the WoW64 Wine tarball). Arguments go to ctest,
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

# Each Windows build under its own Wine prefix and Xvfb display; both run even when one fails.
wine_tests() {
  local preset=$1
  shift
  (
    source scripts/wine-env.sh "build/$preset"
    trap 'tavik_wine_stop; tavik_xvfb_stop' EXIT
    tavik_xvfb_start && tavik_wine_prepare && ctest --preset "$preset" "$@"
  )
}
status=0
wine_tests mingw-x64 "$@" || status=1
# The shipping i686 build runs under a WoW64 Wine, which Debian does not ship (README, Tests).
wow64=${TAVIK_WOW64_WINE:-../shared/wow64-wine}
if [ -d "$wow64" ]; then
  scripts/wow64-wine.sh "$wow64" build/mingw-i686
  wine_tests mingw-i686 "$@" || status=1
else
  echo "No WoW64 Wine in $wow64, so the i686 suites are not run."
fi
exit $status
