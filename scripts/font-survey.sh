#!/usr/bin/env bash
# Tells how the console's texts fit when Wine draws its font "ＭＳ Ｐゴシック" with each face given,
# by the GUI suite's clipping check: the clipped labels and fields, each with the pixels it lacks.
# Faces are installed ones, named as `fc-list : family` shows them: for a name it does not find,
# Wine quietly takes a face of its own choice. The next run sets the usual face again.
#   scripts/font-survey.sh "IPAPGothic" "Ume UI Gothic" ...
set -euo pipefail
cd -P "$(dirname "$0")/.."
scripts/setup.sh run
cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 --target console_test >/dev/null
source scripts/wine-env.sh build/mingw-x64
tavik_session_start
for face in "$@"; do
  tavik_wine_prepare "$face"
  echo "$face:"
  report=$(GTEST_FILTER=ConsoleStart.EveryLabelAndFieldShowsItsWholeText \
           wine build/mingw-x64/bin/console_test.exe </dev/null | sed -n 's/^control /  control /p' || true)
  echo "${report:-  nothing clipped}"
done
