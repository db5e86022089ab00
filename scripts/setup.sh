#!/usr/bin/env bash
# Installs from Debian what a command needs; does nothing when all of it is there.
#   scripts/setup.sh run    building the Windows programs and running them under Wine
#   scripts/setup.sh test   that, and what the tests add: the native compiler, clang and its
#                           fuzzing runtime
#   scripts/setup.sh i386-root  what builds the i386 root of the i686 runs (scripts/i386-root.sh)
#   scripts/setup.sh emulator   QEMU's user-mode emulator, for that root where the kernel runs no
#                               32-bit code
# Before installing it names the packages and estimates their size. Without root or sudo it
# prints the apt-get line to run and stops.
set -euo pipefail

# gcc: the native probe that asks whether the kernel runs 32-bit code (scripts/i386-root.sh).
run_packages=(cmake make mingw-w64 wine wine64 xvfb xauth x11-utils fonts-ipafont-gothic fonts-horai-umefont
              googletest locales imagemagick gcc)
test_packages=(g++ clang libclang-rt-14-dev)
case ${1:-} in
  run) packages=("${run_packages[@]}") ;;
  test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
  i386-root) packages=(debootstrap) ;;
  emulator) packages=(qemu-user-static) ;;
  *) echo "usage: scripts/setup.sh run|test|i386-root|emulator" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# What the packages pull in, from a simulated install, and their sizes from the package lists.
estimate() {
  local pulled
  pulled=$(apt-get install -s --no-install-recommends "${missing[@]}" 2>/dev/null | awk '/^Inst /{print $2}') || return 1
  [ -n "$pulled" ] || return 1
  # shellcheck disable=SC2086
  apt-cache show --no-all-versions $pulled 2>/dev/null | awk -v n="$(wc -l <<<"$pulled")" '
    /^Size:/ { download += $2 } /^Installed-Size:/ { disk += $2 }
    END { printf "%d packages in all: about %d MB to download and %d MB on disk\n", n, download / 1e6, disk / 1024 }'
}

line="apt-get install -y --no-install-recommends ${missing[*]}"
echo "Tavik needs ${#missing[@]} Debian packages for '$1': ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo_=()
elif command -v sudo >/dev/null; then
  sudo_=(sudo)
else
  estimate || true
  echo "Installing them needs root, and sudo is not there. As root, run:"
  echo "  apt-get update && $line"
  echo "then run this command again."
  exit 1
fi

echo "Updating the package lists..."
"${sudo_[@]}" apt-get update -qq
estimate || echo "(no size estimate: the package lists do not know all of them)"
echo "Installing (a few minutes on a fast connection)..."
# -q: one line per package fetched and set up, no progress bars.
DEBIAN_FRONTEND=noninteractive "${sudo_[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
echo "Installed: ${missing[*]}"
