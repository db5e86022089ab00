#!/usr/bin/env bash
# Unpacks the WoW64 Wine (32-bit Windows programs in a 64-bit process; this kernel runs no 32-bit
# Linux binaries, so Debian's own 32-bit Wine cannot start) into the i686 build's Wine folder,
# where scripts/wine-env.sh finds it. Checks the tarball against its .sha256 first; does nothing
# when that tarball is already unpacked there.
#   scripts/wow64-wine.sh SOURCE_DIR BUILD_DIR
set -euo pipefail
tarball=$1/wine-8.0-wow64-runtime.tar.xz
dest=$2/wine
stamp=$dest/tavik-wine.sha256

sum=$(cut -d' ' -f1 "$tarball.sha256")
[ "$(cat "$stamp" 2>/dev/null)" = "$sum" ] && exit 0
echo "$sum  $tarball" | sha256sum --check --quiet - || { echo "$tarball does not match its .sha256" >&2; exit 1; }
mkdir -p "$dest"
rm -rf "$dest/tavik-wine" "$stamp"
tar xJf "$tarball" -C "$dest"
echo "$sum" >"$stamp"
