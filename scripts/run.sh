#!/usr/bin/env bash
# Builds Tavik for Windows x86_64 and runs it under Wine, with the reference DRAVEL.dll beside it.
#   scripts/run.sh                     on your X display ($DISPLAY)
#   scripts/run.sh --headless OUT.png  on a private Xvfb: waits for the console, saves a picture
#                                      of it to OUT.png and ends it
#   scripts/run.sh --headless OUT.png STEP...
#       the same after driving the console (tools/drive_console.cpp: "ID=TEXT" fills a field,
#       "ID" clicks a button, ID a control's name from res/resource.h such as IDC_OPEN_RUN); the
#       picture is then of the whole screen, overlay included
#   scripts/run.sh --dravel PATH [--headless ...]
#       the same with the x86_64 DRAVEL.dll at PATH instead: a copy of it and of Tavik.exe run
#       in a folder of their own, build/mingw-x64/run-dravel, so no build output is replaced
set -euo pipefail
cd "$(dirname "$0")/.."
usage() { echo "usage: scripts/run.sh [--dravel PATH] [--headless OUT.png [STEP...]]" >&2; exit 2; }

dravel=""
if [ "${1:-}" = "--dravel" ]; then
  [ -n "${2:-}" ] || usage
  dravel=$(realpath -m "$2")
  machine=$(scripts/pe-machine.sh "$dravel") || exit 2
  if [ "$machine" != x86_64 ]; then
    echo "$2 is a 32-bit ($machine) library; the console here is the x86_64 build under Debian's Wine." >&2
    echo "Check it with scripts/check.sh $2, or try it with Tavik.exe of the win32 zip on Windows." >&2
    exit 2
  fi
  shift 2
fi
headless=""
steps=()
if [ "${1:-}" = "--headless" ]; then
  [ -n "${2:-}" ] || usage
  headless=$(realpath -m "$2")
  # Each control's name becomes its number, read from the one header that defines the ids.
  for step in "${@:3}"; do
    name=${step%%=*}
    id=$(awk -v name="$name" '$1 == "#define" && $2 == name { print $3 }' res/resource.h)
    [ -n "$id" ] || { echo "no control $name in res/resource.h" >&2; exit 2; }
    steps+=("$id${step:${#name}}")
  done
elif [ -n "${1:-}" ]; then
  usage
elif [ -z "${DISPLAY:-}" ]; then
  echo "There is no X display (DISPLAY is not set), so Tavik has nowhere to show its window." >&2
  echo "To run it on a private virtual display and save a picture of it instead:" >&2
  echo "  scripts/run.sh ${dravel:+--dravel $dravel }--headless tavik.png" >&2
  exit 1
fi

scripts/setup.sh run
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 --target Tavik drive_console
bin=$PWD/build/mingw-x64/bin
[ -f "$bin/DRAVEL.dll" ] || { echo "DRAVEL.dll is missing beside $bin/Tavik.exe" >&2; exit 1; }

source scripts/wine-env.sh build/mingw-x64
trap 'tavik_wine_stop; tavik_xvfb_stop' EXIT

# The console starts with the file name "Image.bmp", found in the current folder: it runs in a
# folder that has one, so Open and then Set & show put a picture on the screen at once. Windows
# looks for DRAVEL.dll beside the program first, so another library gets a copy of the program.
if [ -n "$dravel" ]; then
  workdir=build/mingw-x64/run-dravel
  mkdir -p "$workdir"
  cp "$bin/Tavik.exe" "$workdir/"
  cp "$dravel" "$workdir/DRAVEL.dll"
  exe=$PWD/$workdir/Tavik.exe
else
  workdir=build/mingw-x64/run
  mkdir -p "$workdir"
  exe=$bin/Tavik.exe
fi
[ -f "$workdir/Image.bmp" ] ||
  convert -size 96x64 gradient:'#1e64c8'-'#f0c828' -fill white -draw 'circle 48,32 48,12' "BMP3:$workdir/Image.bmp"
cd "$workdir"

if [ -z "$headless" ]; then
  tavik_wine_prepare
  wine "$exe"
  exit 0
fi

tavik_session_start
wine "$exe" </dev/null >/dev/null 2>&1 &
program=$!

# The console is up once its X window named "Tavik" is mapped (it is created at 0, 0 and
# centred before that).
geometry=$(tavik_window_up Tavik "$program") || { echo "The console did not appear" >&2; exit 1; }
if [ ${#steps[@]} -gt 0 ]; then
  wine "$bin/drive_console.exe" Tavik "${steps[@]}" </dev/null
  geometry=""
fi
# Time for the first paint to reach the X server.
sleep 0.5
import -window root ${geometry:+-crop "$geometry" +repage} "$headless"
echo "Saved $headless"
tavik_window_close Tavik.exe "$program"
