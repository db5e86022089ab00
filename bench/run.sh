#!/usr/bin/env bash
# Benchmarks Tavik against a bare one-button DialogBox program built by the same toolchain in
# the same run, under Wine on the x86_64 build. Prints a table of ratios and writes it as CSV
# to build/bench/results.csv. Not part of the tests: numbers vary with the machine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for preset in mingw-i686 mingw-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target Tavik dravel bare_dialog template_dialog startup_bench command_bench >/dev/null
done

x64=build/mingw-x64/bin
i686=build/mingw-i686/bin
out=build/bench
mkdir -p "$out"

source scripts/wine-env.sh build/mingw-x64
trap 'tavik_wine_stop; tavik_xvfb_stop' EXIT
tavik_xvfb_start
tavik_wine_prepare

win() { winepath -w "$1"; }
# name,median start-up ms,private KiB at start-up
wine "$x64/startup_bench.exe" 20 bare "$(win $x64/bare_dialog.exe)" Bare tavik "$(win $x64/Tavik.exe)" Tavik \
  template "$(win $x64/template_dialog.exe)" Tavik |
  tr -d '\r' >"$out/startup.csv"
# name,median round trip us,private KiB after start-up,private KiB after the commands
wine "$x64/command_bench.exe" 10000 | tr -d '\r' >"$out/commands.csv"

field() { awk -F, -v n="$1" -v k="$2" '$1 == n { print $k }' "$3"; }
size() { stat -c %s "$1"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

{
  echo "measure,tavik,bare,ratio"
  row() { echo "$1,$2,$3,$(ratio "$2" "$3")"; }
  row "start-up to visible ms (median of 20)" "$(field tavik 2 "$out/startup.csv")" "$(field bare 2 "$out/startup.csv")"
  # For reading the start-up ratio: the console's template alone, under the bare procedure.
  row "start-up of the template alone ms" "$(field template 2 "$out/startup.csv")" "$(field bare 2 "$out/startup.csv")"
  row "command round trip us (median of 10000)" "$(field tavik 2 "$out/commands.csv")" "$(field bare 2 "$out/commands.csv")"
  row "private KiB after start-up" "$(field tavik 3 "$out/startup.csv")" "$(field bare 3 "$out/startup.csv")"
  row "private KiB after 10000 commands" "$(field tavik 4 "$out/commands.csv")" "$(field bare 4 "$out/commands.csv")"
  row "exe bytes x86_64" "$(size $x64/Tavik.exe)" "$(size $x64/bare_dialog.exe)"
  row "exe bytes i686" "$(size $i686/Tavik.exe)" "$(size $i686/bare_dialog.exe)"
  row "DRAVEL.dll bytes x86_64" "$(size $x64/DRAVEL.dll)" "$(size $x64/bare_dialog.exe)"
  row "DRAVEL.dll bytes i686" "$(size $i686/DRAVEL.dll)" "$(size $i686/bare_dialog.exe)"
} >"$out/results.csv"

column -s, -t <"$out/results.csv"
echo "(CSV: $out/results.csv)"

# The reference overlay against the surface side S: what Set & show and Move & show cost as the
# surface grows, and what the process holds. Each time is a median of 5 rounds and includes the
# messages the call left; other load on the machine makes single figures noisy.
cmake --build --preset mingw-x64 --target dravel overlay_scaling_bench >/dev/null
wine "$x64/overlay_scaling_bench.exe" 5 256 1024 2048 4096 8192 | tr -d '\r' >"$out/overlay_scaling.csv"
echo
{
  echo "S,Set ms (rect ≤ 1024²),Set ms (rect S²),Move same size ms: first,median of 21,median of 21 (rect S²),private MB after Set (S²),private MB rise at peak during Set (S²)"
  cat "$out/overlay_scaling.csv"
} | column -s, -t
# From 1024 on the rectangle stays 1024², so 8192² / 1024² compares surfaces under one window size.
awk -F, '{ move[$1] = $5 }
  function ratio(a, b) { return b > 0 ? a / b : 0 }
  END {
    printf "Move & show same size, 8192² / 256²: %.2f (goal: at most 1.50)\n", ratio(move[8192], move[256])
    printf "Move & show same size, 8192² / 1024² (both a 1024² window): %.2f\n", ratio(move[8192], move[1024])
  }' "$out/overlay_scaling.csv"
echo "(CSV: $out/overlay_scaling.csv)"
