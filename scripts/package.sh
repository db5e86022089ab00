#!/usr/bin/env bash
# Builds the release zips into dist/: Tavik-<version>-win32.zip from the i686 build and
# Tavik-<version>-win64.zip from the x86_64 build (the version is res/version.h's). What each
# holds is the install() lines of the folders; scripts/check-package.sh tests them.
set -euo pipefail
cd -P "$(dirname "$0")/.."
scripts/setup.sh run
mkdir -p dist
for preset in mingw-i686 mingw-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Tavik dravel DravelCheck
  # CPack's own work files stay in the build folder; only the zip goes to dist/.
  rm -rf "build/$preset/package"
  cpack --config "build/$preset/CPackConfig.cmake" -B "$PWD/build/$preset/package" >/dev/null
  for zip in "build/$preset/package"/*.zip; do
    mv "$zip" dist/
    echo "dist/$(basename "$zip")"
  done
done
