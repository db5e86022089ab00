#!/usr/bin/env bash
# Remakes the README's pictures under Xvfb: the console as it opens, and the console after Open
# and Set & show with a generated bitmap, the reference overlay showing it at twice its size.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/run.sh --headless docs/console.png

sample=build/screenshots/sample.bmp
mkdir -p "$(dirname "$sample")"
convert -size 96x64 gradient:'#1e64c8'-'#f0c828' -fill white -draw 'circle 48,32 48,12' "BMP3:$sample"
source scripts/wine-env.sh build/mingw-x64
scripts/run.sh --headless docs/overlay.png \
  1000 "1020=$(winepath -w "$sample" 2>/dev/null)" 1013=128 1014=96 1015=40 1016=40 1017=60 \
  1022=920 1023=253 1024=1176 1025=445 1001
# The console (centred) and the overlay beside it, without the empty rest of the screen.
convert docs/overlay.png -crop 824x530+364+245 +repage docs/overlay.png
