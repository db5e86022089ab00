#!/usr/bin/env bash
# ctest's emulator for the Windows test exes: runs one under the Wine prefix of its build folder
# (the exe sits one folder down: <build>/bin, or a test's own folder), on the display that
# scripts/test.sh started.
set -euo pipefail
exe=$1
shift
build=$(cd -P "$(dirname "$exe")/.." && pwd)
source "$(dirname "$0")/wine-env.sh" "$build"
if [ -f "$TAVIK_WINE/display" ]; then
  DISPLAY=$(cat "$TAVIK_WINE/display")
  export DISPLAY
fi
exec wine "$exe" "$@"
