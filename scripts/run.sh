#!/usr/bin/env bash
# Builds Tavik for Windows and runs it under Wine, with the reference DRAVEL.dll beside it: the
# x86_64 build under the machine's own Wine, or with --i686 the shipping 32-bit build under Debian's
# 32-bit Wine in the i386 root (scripts/i386-root.sh; emulated, and slow, on a kernel that runs no
# 32-bit code: one line says so).
#   scripts/run.sh [--i686]                     on your X display ($DISPLAY)
#   scripts/run.sh [--i686] --headless OUT.png  on a private Xvfb: waits for the console, saves a
#                                      picture of it to OUT.png and ends it
#   scripts/run.sh [--i686] --headless OUT.png STEP...
#       the same after driving the console (tools/drive_console.cpp: "ID=TEXT" fills a field,
#       "ID" clicks a button, ID a control's name from res/resource.h such as IDC_OPEN_RUN); the
#       picture is then of the whole screen, overlay included
#   scripts/run.sh --dravel PATH [--headless ...]
#       the same with the DRAVEL.dll at PATH instead, under the console of its machine type (i686
#       or x86_64): a copy of it and of Tavik.exe run in a folder of their own, run-dravel in that
#       build's folder, so no build output is replaced
set -euo pipefail
cd -P "$(dirname "$0")/.."
usage() { echo "usage: scripts/run.sh [--i686 | --dravel PATH] [--headless OUT.png [STEP...]]" >&2; exit 2; }

dravel=""
machine=x86_64
again=""
case ${1:-} in
  --i686)
    machine=i686
    again="--i686 "
    shift
    ;;
  --dravel)
    [ -n "${2:-}" ] || usage
    dravel=$(realpath -m "$2")
    machine=$(scripts/pe-machine.sh "$dravel") || exit 2
    again="--dravel $dravel "
    shift 2
    ;;
esac
case $machine in
  i686) preset=mingw-i686 ;;
  x86_64) preset=mingw-x64 ;;
esac
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
  echo "  scripts/run.sh $again--headless tavik.png" >&2
  exit 1
fi

scripts/setup.sh run
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Tavik drive_console
build=$PWD/build/$preset
bin=$build/bin
[ -f "$bin/DRAVEL.dll" ] || { echo "DRAVEL.dll is missing beside $bin/Tavik.exe" >&2; exit 1; }
if [ "$machine" = i686 ]; then
  # Says in one line when the run is emulated; exits 2 with one line when it cannot run at all.
  scripts/can-run-32bit.sh "PE32 console" --or-emulate || exit
fi

source scripts/wine-env.sh "$build"

# The console starts with the file name "Image.bmp", found in the current folder: it runs in a
# folder that has one, so Open and then Set & show put a picture on the screen at once. Windows
# looks for DRAVEL.dll beside the program first, so another library gets a copy of the program.
if [ -n "$dravel" ]; then
  workdir=$build/run-dravel
  mkdir -p "$workdir"
  cp "$bin/Tavik.exe" "$workdir/"
  cp "$dravel" "$workdir/DRAVEL.dll"
  exe=$workdir/Tavik.exe
else
  workdir=$build/run
  mkdir -p "$workdir"
  exe=$bin/Tavik.exe
fi
[ -f "$workdir/Image.bmp" ] ||
  convert -size 96x64 gradient:'#1e64c8'-'#f0c828' -fill white -draw 'circle 48,32 48,12' "BMP3:$workdir/Image.bmp"
cd "$workdir"

if [ -z "$headless" ]; then
  tavik_session_traps
  tavik_root_enter
  # The i386 root sees the X socket folder, not the user's home: it gets the display's cookie.
  if [ -n "${TAVIK_ROOT_ENTERED:-}" ] && xauth extract "$TAVIK_WINE/xauthority" "$DISPLAY" 2>/dev/null; then
    export XAUTHORITY=$TAVIK_WINE/xauthority
  fi
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
