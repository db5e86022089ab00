#!/usr/bin/env bash
# Tests what ships: unpacks both zips of dist/ (scripts/package.sh) into an empty folder outside
# the build tree and checks there each zip's file list and its binaries (scripts/check-binaries.sh).
# Then, under Wine, it starts the win64 zip's Tavik.exe from that folder and closes it, and runs
# the zip's DravelCheck.exe on the zip's own DRAVEL.dll, which must keep the contract. Where the
# machine runs 32-bit code (scripts/can-run-32bit.sh), the win32 zip's programs the same way, in
# the i386 root.
set -euo pipefail
cd -P "$(dirname "$0")/.."
source scripts/i386-root.sh
root=$PWD
status=0
fail() { echo "check-package: $*" >&2; status=1; }

zip_name() { sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "build/$1/CPackConfig.cmake"; }
win32=$(zip_name mingw-i686)
win64=$(zip_name mingw-x64)
# Outside the build trees, but within the checkout, which the i386 root sees.
work=$(mktemp -d "$root/build/package-check.XXXXXX")
trap 'rm -rf "$work"' EXIT

for zip in "$win32" "$win64"; do
  [ -f "dist/$zip.zip" ] || { echo "check-package: dist/$zip.zip is missing: scripts/package.sh makes it" >&2; exit 1; }
  (cd "$work" && cmake -E tar xf "$root/dist/$zip.zip")
  expected=$(printf "$zip/%s\n" DRAVEL.dll DravelCheck.exe README.txt Tavik.exe include/overlay_api.h lib/DRAVEL.def)
  actual=$(cd "$work" && find "$zip" -type f | LC_ALL=C sort)
  [ "$actual" = "$expected" ] || fail "$zip.zip does not hold what it should:
$(diff <(echo "$expected") <(echo "$actual") | grep '^[<>]')"
done
scripts/check-binaries.sh "$work/$win32" "$work/$win64" || status=1

# DravelCheck.exe of the unpacked zip on the DRAVEL.dll beside it, which must keep the contract.
dravel_check() {
  local dir=$1 output code=0
  output=$(wine "$dir/DravelCheck.exe" </dev/null 2>&1) || code=$?
  if [ "$code" -eq 0 ]; then
    echo "check-package: $(basename "$dir")/DravelCheck.exe: $(tr -d '\r' <<<"$output" | tail -n 1)"
  else
    fail "$(basename "$dir")/DravelCheck.exe on its own DRAVEL.dll exited $code:"$'\n'"$output"
  fi
}

# The zip's Tavik.exe started from the unpacked folder and closed, then its DravelCheck.exe, under
# the Wine of the build of the same machine type.
zip_runs() {
  local preset=$1 zip=$2 dir=$work/$2
  (
    source scripts/wine-env.sh "build/$preset"
    tavik_session_start || exit 1
    cd "$dir"
    wine "$dir/Tavik.exe" </dev/null >/dev/null 2>&1 &
    program=$!
    if tavik_window_up Tavik "$program" >/dev/null; then
      tavik_window_close Tavik.exe "$program"
      echo "check-package: $zip/Tavik.exe started and closed"
    else
      fail "$zip/Tavik.exe did not show its window"
    fi
    dravel_check "$dir"
    exit $status
  )
}
zip_runs mingw-x64 "$win64" || status=1
tavik_where_32bit_runs "win32 zip's programs" zip_runs mingw-i686 "$win32" || status=1
[ $status -eq 0 ] && echo "check-package: $win32.zip and $win64.zip hold what they should and run"
exit $status
