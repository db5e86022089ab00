#!/usr/bin/env bash
# Builds everything (Linux with sanitizers, Windows i686 and x86_64) and runs every test: the
# native ones, then the Windows ones under Wine on a private Xvfb display, x86_64 under the
# machine's own Wine, then i686 under Debian's 32-bit Wine in the i386 root where the machine
# can run 32-bit code (scripts/can-run-32bit.sh; TAVIK_I686_EMULATE=1 runs them emulated where it
# cannot), then the release zips (scripts/check-package.sh). Arguments go to ctest, e.g.
# scripts/test.sh -R commands_test
set -euo pipefail
cd -P "$(dirname "$0")/.."
source scripts/i386-root.sh
scripts/setup.sh test

for preset in native fuzz mingw-i686 mingw-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
scripts/check-binaries.sh build/mingw-i686/bin build/mingw-x64/bin

ctest --preset native "$@"
# A few seconds of each libFuzzer target; fuzz/run.sh runs them longer.
ctest --preset fuzz "$@"

# Each Windows build under its own Wine prefix and Xvfb display; both run even when one fails.
wine_tests() {
  local preset=$1
  shift
  (
    source scripts/wine-env.sh "build/$preset"
    tavik_session_start || exit
    # Under the emulator a suite takes many times its usual time.
    emulated=()
    [ -z "${TAVIK_ROOT_EMULATED:-}" ] || emulated=(--timeout 3600)
    ctest --preset "$preset" "${emulated[@]}" "$@"
  )
}
status=0
wine_tests mingw-x64 "$@" || status=1
# The shipping i686 build runs in the i386 root, where the kernel runs 32-bit code (README, Tests);
# otherwise one line says why and the rest decides.
tavik_where_32bit_runs "i686 suites" wine_tests mingw-i686 "$@" || status=1
# What ships: the zips as the README makes them, unpacked outside the build tree and run. With
# arguments, only the suites they pick run.
if [ $# -eq 0 ]; then
  { scripts/package.sh && scripts/check-package.sh; } || status=1
fi
# Every script that entered the i386 root has taken its mounts down again.
if left=$(findmnt -rn -o TARGET | grep -F "$PWD/"); then
  echo "Mounts left under the checkout:"$'\n'"$left" >&2
  status=1
fi
exit $status
