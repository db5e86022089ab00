#!/usr/bin/env bash
# Asks whether this machine can run the i686 build: unpacks the WoW64 Wine (TAVIK_WOW64_WINE, or
# ../shared/wow64-wine beside the checkout) into build/mingw-i686 and starts the PE32 probe under
# it. Exits 0 when it ran. Where it cannot run (no WoW64 Wine, or a kernel that gives no process a
# 32-bit code segment, so no PE32 program starts at all; also a prefix that cannot be prepared or a
# probe that does not end) prints one line saying what is not run and why, and exits 2; any other
# status is an error of the set-up itself: a WoW64 Wine that fails its checksum, or a probe that does
# not build.
#   scripts/can-run-32bit.sh WHAT     e.g. "i686 suites"
set -euo pipefail
cd "$(dirname "$0")/.."
what=$1
build=build/mingw-i686

wow64=${TAVIK_WOW64_WINE:-../shared/wow64-wine}
if [ ! -d "$wow64" ]; then
  echo "No WoW64 Wine in $wow64, so the $what are not run."
  exit 2
fi
scripts/wow64-wine.sh "$wow64" "$build"
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 --target pe32_probe >/dev/null

# Its line and exit code: tools/pe32_probe.cpp.
expected="pe32_probe: 32-bit code runs"
log=$build/wine/pe32_probe.log
set +e
(
  source scripts/wine-env.sh "$build"
  tavik_session_start || exit 125
  timeout 60 wine "$build/bin/pe32_probe.exe" </dev/null
) >"$log" 2>&1
status=$?
set -e
if [ "$status" -eq 32 ] && tr -d '\r' <"$log" | grep -qx "$expected"; then
  exit 0
fi
case $status in
  125) reason="the WoW64 Wine could not be prepared" ;;
  124) reason="the PE32 probe did not end within 60 s" ;;
  *)
    reason="the PE32 probe did not start: exit code $status"
    # Wine's own last word, in the prefix's code page 932.
    said=$(tr -d '\r' <"$log" | iconv -c -f CP932 -t UTF-8 | grep -v -e '^$' -e 'experimental wow64' |
      tail -n 1 || true)
    [ -z "$said" ] || reason="$reason, \"$said\""
    ;;
esac
# The native probe only explains a refusal; the PE32 program decided it.
native=$build/probe/code_segment_probe
mkdir -p "$(dirname "$native")"
if cc -O1 -o "$native" tools/code_segment_probe.c 2>/dev/null && ! kernel=$("$native"); then
  reason=$kernel
fi
echo "$what not run: this machine cannot run 32-bit code ($reason)"
exit 2
