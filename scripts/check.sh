#!/usr/bin/env bash
# Checks a DRAVEL.dll with DravelCheck of the matching build (i686 for a 32-bit library, x86_64
# for a 64-bit one), under Wine in a prefix and on an Xvfb display of its own, which it stops
# afterwards: the machine's own Wine, or for i686 Debian's 32-bit Wine in the i386 root
# (scripts/i386-root.sh), emulated where the kernel runs no 32-bit code. Options go to
# DravelCheck (DravelCheck --help lists them).
#   scripts/check.sh PATH [DravelCheck options]
# Exit code: DravelCheck's own (0 the library keeps the contract, 1 it is broken, 2 bad command
# line, and also PATH no i686 or x86_64 PE file; 3 some check could not be judged here and none
# failed), or 4 when nothing was checked: the machine cannot run the library's code, or the set-up
# or the build failed.
set -euo pipefail
cd -P "$(dirname "$0")/.."
[ -n "${1:-}" ] || { echo "usage: scripts/check.sh PATH [DravelCheck options]" >&2; exit 2; }
library=$(realpath -m "$1")
shift
machine=$(scripts/pe-machine.sh "$library") || exit 2
case $machine in
  i686) preset=mingw-i686 ;;
  x86_64) preset=mingw-x64 ;;
esac
build=build/$preset

not_checked() { echo "$library not checked: $*" >&2; exit 4; }
scripts/setup.sh run || not_checked "the set-up failed"
cmake --preset "$preset" >/dev/null || not_checked "the $preset build could not be configured"
cmake --build --preset "$preset" --target DravelCheck >/dev/null || not_checked "the $preset build failed"
if [ "$machine" = i686 ]; then
  # Says in one line when the run is emulated, or why it cannot run at all.
  scripts/can-run-32bit.sh "DravelCheck of the 32-bit $library" --or-emulate || exit 4
  # The i386 root sees the checkout only: a library from elsewhere is checked as a copy.
  if [ "${library#"$PWD"/}" = "$library" ]; then
    copy=$PWD/$build/check/library/$(basename "$library")
    mkdir -p "$(dirname "$copy")"
    cp "$library" "$copy"
    library=$copy
  fi
fi

set +e
(
  source scripts/wine-env.sh "$build" "$build/check"
  tavik_session_start || exit 4
  wine "$build/bin/DravelCheck.exe" "$@" "Z:${library//\//\\}" </dev/null
)
status=$?
set -e
[ $status -le 4 ] || echo "DravelCheck ended with exit code $status" >&2
exit $status
