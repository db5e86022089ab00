#!/usr/bin/env bash
# Asks whether the i686 build can run here, and makes it ready to: first a native program asks the
# kernel whether it runs 32-bit code at all (cheap); then the i386 root is built if need be
# (scripts/i386-root.sh) and the PE32 probe is started under its Wine, which also checks that this
# Wine does what the suites rely on. Exits 0 when the probe ran and found all of it.
# Where the kernel runs no 32-bit code, the i686 programs run only under QEMU's emulator, which is
# slow: with --or-emulate or TAVIK_I686_EMULATE=1 one line says so and the root is used emulated;
# otherwise one line says what is not run and why, and the exit code is 2 (so too without root or
# sudo). Any other status is an error of the set-up itself: a root that cannot be built, a probe
# that does not build or does not answer, a Wine that lacks something (one line names it).
#   scripts/can-run-32bit.sh WHAT [--or-emulate]     WHAT e.g. "i686 suites"
set -euo pipefail
cd -P "$(dirname "$0")/.."
what=$1
build=build/mingw-i686
source scripts/i386-root.sh

if ! kernel=$(tavik_kernel_runs_32bit); then
  if [ "${2:-}" = --or-emulate ] || [ "${TAVIK_I686_EMULATE:-}" = 1 ]; then
    echo "The $what run emulated, and slowly (minutes): this machine cannot run 32-bit code ($kernel)."
  else
    echo "$what not run: this machine cannot run 32-bit code ($kernel; TAVIK_I686_EMULATE=1 runs them emulated)"
    exit 2
  fi
fi
tavik_root_privilege 2>/dev/null || {
  echo "$what not run: the i386 root is entered with mount and chroot, and this is neither root nor has sudo"
  exit 2
}
tavik_root_build
cmake --preset mingw-i686 >/dev/null
cmake --build --preset mingw-i686 --target pe32_probe >/dev/null

# Its lines and exit codes: tools/pe32_probe.cpp. Emulated, the first start of Wine takes minutes.
expected="pe32_probe: 32-bit code runs"
limit=60
! tavik_root_emulated || limit=900
log=$build/wine/pe32_probe.log
mkdir -p "$(dirname "$log")"
set +e
(
  source scripts/wine-env.sh "$build"
  tavik_session_start || exit 125
  timeout "$limit" wine "$build/bin/pe32_probe.exe" "$TAVIK_DIALOG_FACE" </dev/null
) >"$log" 2>&1
status=$?
set -e
ran=0
tr -d '\r' <"$log" | grep -qx "$expected" && ran=1
[ "$status" -eq 32 ] && [ $ran = 1 ] && exit 0
if [ "$status" -eq 33 ] && [ $ran = 1 ]; then
  lacking=$(tr -d '\r' <"$log" | sed -n 's/^pe32_probe: lacking: //p' | awk 'NR > 1 { printf "; " } { printf "%s", $0 }')
  echo "$what not run: the i386 root's Wine runs 32-bit code but lacks what they rely on: $lacking" \
    "(scripts/i386-root.sh's recipe; log: $log)" >&2
  exit 1
fi
case $status in
  125) reason="the i386 root could not be entered or its Wine prefix made" ;;
  124) reason="the PE32 probe did not end within $limit s" ;;
  *) reason="the PE32 probe did not start: exit code $status" ;;
esac
# Wine's own last word, in the prefix's code page 932.
said=$(tr -d '\r' <"$log" | iconv -c -f CP932 -t UTF-8 | grep -v '^$' | tail -n 1 || true)
[ -z "$said" ] || reason="$reason, \"$said\""
echo "$what not run: the i386 root's Wine cannot run them ($reason; log: $log)" >&2
exit 1
