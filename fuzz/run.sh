#!/usr/bin/env bash
# Fuzzes for SECONDS per target (default 60): the BMP check, the field reader and the reference
# library's record rules with libFuzzer (clang, ASan, UBSan); the BMP check against the platform's
# loader under Wine; and DravelCheck's random calls into the reference DRAVEL.dll.
# Prints per target the runs done, the coverage reached and the findings; exits non-zero on any
# finding. FUZZ_SEED (default 13) seeds the Wine runs, so they can be repeated exactly.
#   fuzz/run.sh 600
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
seed=${FUZZ_SEED:-13}
# The differential run does about a thousand mutants a second under Wine here (2 cores).
mutants=$((seconds * 1000))
# DravelCheck takes a few hundred random calls a second here: a sixth of the time per target.
samples=$((seconds * 50))
found=0

scripts/setup.sh test
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null

dir=build/fuzz/fuzz
# Each target is registered as a test of its own name (fuzz/CMakeLists.txt).
for target in $(ctest --preset fuzz -N | sed -n 's/^ *Test *#[0-9]*: //p'); do
  log=$dir/$target.log
  status=0
  nice build/fuzz/bin/$target -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$dir/findings/$target-" "$dir/corpus/$target" "$dir/seeds/$target" >"$log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  read -r edges features < <(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 | awk '{print $2, $4}')
  findings=$(grep -c 'Test unit written to' "$log" || true)
  printf '%-20s %10s runs   coverage %4s edges %5s features   %s findings\n' \
    "$target" "${runs:-?}" "${edges:-?}" "${features:-?}" "$findings"
  if [ "$status" -ne 0 ]; then
    found=1
    echo "  see $log and $dir/findings/"
  fi
done

cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 --target bmp_loader_diff DravelCheck dravel >/dev/null
source scripts/wine-env.sh build/mingw-x64
tavik_session_start
# A crashing file is kept in the working folder.
(cd build/mingw-x64/fuzz && nice wine ../bin/bmp_loader_diff.exe --mutants "$mutants" --seed "$seed") || found=1

# A failure's shrunk reproducer lands in build/mingw-x64/fuzz/dravelcheck-repro/.
nice wine build/mingw-x64/bin/DravelCheck.exe --samples "$samples" --seed "$seed" \
  --repro "$(winepath -w build/mingw-x64/fuzz/dravelcheck-repro)" \
  "$(winepath -w build/mingw-x64/bin/DRAVEL.dll)" || found=1
exit "$found"
