#!/usr/bin/env bash
# Builds Tavik for Windows x86_64 and runs it under Wine, with the reference DRAVEL.dll beside it.
#   scripts/run.sh                     on your X display ($DISPLAY)
#   scripts/run.sh --headless OUT.png  on a private Xvfb: waits for the console, saves a picture
#                                      of it to OUT.png and ends it
#   scripts/run.sh --headless OUT.png STEP...
#       the same after driving the console (tools/drive_console.cpp: "ID=TEXT" fills a field,
#       "ID" clicks a button, ID a control's name from res/resource.h such as IDC_OPEN_RUN); the
#       picture is then of the whole screen, overlay included
set -euo pipefail
cd "$(dirname "$0")/.."

headless=""
steps=()
if [ "${1:-}" = "--headless" ]; then
  [ -n "${2:-}" ] || { echo "usage: scripts/run.sh --headless OUT.png [STEP...]" >&2; exit 2; }
  headless=$(realpath -m "$2")
  # Each control's name becomes its number, read from the one header that defines the ids.
  for step in "${@:3}"; do
    name=${step%%=*}
    id=$(awk -v name="$name" '$1 == "#define" && $2 == name { print $3 }' res/resource.h)
    [ -n "$id" ] || { echo "no control $name in res/resource.h" >&2; exit 2; }
    steps+=("$id${step:${#name}}")
  done
elif [ -n "${1:-}" ]; then
  echo "usage: scripts/run.sh [--headless OUT.png [STEP...]]" >&2
  exit 2
elif [ -z "${DISPLAY:-}" ]; then
  echo "There is no X display (DISPLAY is not set), so Tavik has nowhere to show its window." >&2
  echo "To run it on a private virtual display and save a picture of it instead:" >&2
  echo "  scripts/run.sh --headless tavik.png" >&2
  exit 1
fi

scripts/setup.sh
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 --target Tavik drive_console
exe=$PWD/build/mingw-x64/bin/Tavik.exe
[ -f build/mingw-x64/bin/DRAVEL.dll ] || { echo "DRAVEL.dll is missing beside $exe" >&2; exit 1; }

source scripts/wine-env.sh build/mingw-x64
trap 'tavik_wine_stop; tavik_xvfb_stop' EXIT

# The console starts with the file name "Image.bmp", found in the current folder: it runs in a
# folder that has one, so Open and then Set & show put a picture on the screen at once.
workdir=build/mingw-x64/run
mkdir -p "$workdir"
[ -f "$workdir/Image.bmp" ] ||
  convert -size 96x64 gradient:'#1e64c8'-'#f0c828' -fill white -draw 'circle 48,32 48,12' "BMP3:$workdir/Image.bmp"
driver=$PWD/build/mingw-x64/bin/drive_console.exe
cd "$workdir"

if [ -z "$headless" ]; then
  tavik_wine_prepare
  wine "$exe"
  exit 0
fi

tavik_xvfb_start
tavik_wine_prepare
wine "$exe" </dev/null >/dev/null 2>&1 &
program=$!

# The console is up once its X window named "Tavik" is mapped (it is created at 0, 0 and
# centred before that).
geometry=""
for _ in $(seq 150); do
  info=$(xwininfo -name Tavik 2>/dev/null || true)
  if grep -q 'Map State: IsViewable' <<<"$info"; then
    geometry=$(awk -F: '/Width:/ { w = $2 } /Height:/ { h = $2 } /Absolute upper-left X:/ { x = $2 }
                        /Absolute upper-left Y:/ { y = $2 } END { printf "%dx%d+%d+%d", w, h, x, y }' <<<"$info")
    break
  fi
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$geometry" ]; then
  echo "The console did not appear" >&2
  exit 1
fi
if [ ${#steps[@]} -gt 0 ]; then
  wine "$driver" Tavik "${steps[@]}" </dev/null
  geometry=""
fi
# Time for the first paint to reach the X server.
sleep 0.5
import -window root ${geometry:+-crop "$geometry" +repage} "$headless"
echo "Saved $headless"

# Close the console as its close box would, then wait for the program to end.
wine taskkill /IM Tavik.exe >/dev/null 2>&1 || true
for _ in $(seq 50); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
