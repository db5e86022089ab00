#!/usr/bin/env bash
# Remakes the README's pictures under Xvfb: the console as it opens, the shipping PE32 build in the
# i386 root (emulated, and slow, where the kernel runs no 32-bit code); the console after Open and
# Set & show of the run folder's Image.bmp on a larger surface, the reference overlay showing it at
# twice its size beside the console; and the sheet DravelCheck draws of its screen scene with the
# reference DRAVEL.dll.
set -euo pipefail
cd -P "$(dirname "$0")/.."
scripts/run.sh --i686 --headless docs/console.png
scripts/run.sh --headless docs/overlay.png IDC_OPEN_RUN \
  IDC_SURFACE_WIDTH=128 IDC_SURFACE_HEIGHT=96 IDC_RED=40 IDC_GREEN=40 IDC_BLUE=60 \
  IDC_SET_START_X=920 IDC_SET_START_Y=272 IDC_SET_END_X=1176 IDC_SET_END_Y=464 IDC_SET_SHOW_RUN
# The console (centred) and the overlay beside it, without the empty rest of the screen.
convert docs/overlay.png -crop 824x496+364+264 +repage docs/overlay.png

pictures=build/mingw-x64/pictures
rm -rf "$pictures"
scripts/check.sh build/mingw-x64/bin/DRAVEL.dll --samples 0 --pictures "$pictures" >/dev/null
cp "$pictures/sheet.png" docs/dravelcheck-sheet.png
