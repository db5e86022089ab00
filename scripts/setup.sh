#!/usr/bin/env bash
# Installs from Debian what building, testing and running need; does nothing when all is there.
set -euo pipefail

packages=(cmake g++ make mingw-w64 wine wine64 xvfb xauth x11-utils fonts-ipafont-gothic googletest locales
          fonts-horai-umefont imagemagick clang libclang-rt-14-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_=""
[ "$(id -u)" -eq 0 ] || sudo_="sudo"
$sudo_ apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_ apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
