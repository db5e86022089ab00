#!/usr/bin/env bash
# Checks the Windows binaries in two folders, a build's bin/ or an unpacked zip: PE32 in the i686
# one, PE32+ in the x86_64 one; imports limited to system DLLs (no MinGW runtime); DRAVEL.dll
# imported by ordinals 1 to 5 and by nothing else; DravelCheck.exe there, and not bound to any
# DRAVEL.dll; each DLL's preferred base below where the system's DLLs load (README, Where the
# libraries load): 0x60000000 for i686, 0x1C0000000 for x86_64 (Wine's 64-bit DLLs).
#   scripts/check-binaries.sh I686_DIR X86_64_DIR
set -euo pipefail
status=0
fail() { echo "check-binaries: $*" >&2; status=1; }

check_folder() {
  local dir=$1 objdump=$2 magic=$3 system_base=$4
  local f
  for f in "$dir"/*.exe "$dir"/*.dll; do
    local dump
    dump=$("$objdump" -p "$f")
    grep -q "Magic.*$magic" <<<"$dump" || fail "$f is not $magic"
    if [ "${f%.dll}" != "$f" ]; then
      local base
      base=$(awk '/^ImageBase/ { print $2 }' <<<"$dump")
      (( 16#$base < system_base )) || fail "$f prefers the base 0x$base, where system DLLs load"
    fi
    local dll
    while read -r dll; do
      case "${dll,,}" in
        libstdc++*|libgcc*|libwinpthread*|libssp*|libgomp*) fail "$f needs the MinGW runtime $dll" ;;
      esac
    done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
    if grep -q "DLL Name: DRAVEL.dll" <<<"$dump"; then
      # The entries listed under DRAVEL.dll: each must be an ordinal, together exactly 1..5.
      local entries
      entries=$(sed -n '/DLL Name: DRAVEL.dll/,/^$/p' <<<"$dump" | tail -n +3 | sed '/^\s*$/d')
      if grep -qv '<none>' <<<"$entries"; then fail "$f imports DRAVEL.dll by name"; fi
      local ordinals
      ordinals=$(awk '{print $2 + 0}' <<<"$entries" | sort -n | tr '\n' ' ')
      [ "$ordinals" = "1 2 3 4 5 " ] || fail "$f imports DRAVEL.dll ordinals '$ordinals', not 1-5"
    fi
  done
  # The checker loads whichever library it is given; it must not need one to start.
  [ -f "$dir/DravelCheck.exe" ] || fail "$dir/DravelCheck.exe is missing"
  if "$objdump" -p "$dir/DravelCheck.exe" | grep -q "DLL Name: DRAVEL.dll"; then
    fail "DravelCheck.exe imports DRAVEL.dll"
  fi
}

check_folder "$1" i686-w64-mingw32-objdump "(PE32)" 0x60000000
check_folder "$2" x86_64-w64-mingw32-objdump "(PE32+)" 0x1C0000000
[ $status -eq 0 ] && echo "check-binaries: PE32/PE32+, system imports only, DRAVEL.dll by ordinals 1-5," \
  "DLLs based below the system's"
exit $status
