#!/usr/bin/env bash
# Remakes the README's pictures under Xvfb: the console as it opens, and the console after Open
# and Set & show of the run folder's Image.bmp on a larger surface, the reference overlay showing
# it at twice its size beside the console.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/run.sh --headless docs/console.png
scripts/run.sh --headless docs/overlay.png \
  1000 1013=128 1014=96 1015=40 1016=40 1017=60 1022=920 1023=272 1024=1176 1025=464 1001
# The console (centred) and the overlay beside it, without the empty rest of the screen.
convert docs/overlay.png -crop 824x496+364+264 +repage docs/overlay.png
