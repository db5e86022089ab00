#!/usr/bin/env bash
# The i386 root that runs the i686 build: Debian bookworm under build/i386-root with Debian's own
# 32-bit Wine, Xvfb, the Ume fonts and the locales, apart from the system it sits on. It is entered
# with chroot after bind-mounting /proc, /dev, the X socket folder and the checkout (at the same
# path, so every path of the build means the same inside); the mounts always come down again.
# On a kernel that runs no 32-bit code (tools/code_segment_probe.c), or with TAVIK_I686_EMULATE=1,
# QEMU's user-mode emulator runs the root's programs, registered for i386 ELF files while the root
# is entered and removed afterwards. Mounts and chroot need root: as root directly, else sudo.
#   scripts/i386-root.sh build        builds it; again only when its package list changes
#   scripts/i386-root.sh shell [CMD]  enters it by hand: a shell (or CMD) in the current folder,
#                                     as the calling user
# Sourced (scripts/wine-env.sh does), it gives tavik_root_enter and tavik_root_leave. Its folder
# i386-root-bin/ holds links to it named after the programs run inside: wine, wineserver,
# winepath, localedef; called by such a name it runs that program in the entered root.

TAVIK_CHECKOUT=$(cd "$(dirname "$(realpath "${BASH_SOURCE[0]}")")/.." && pwd)
TAVIK_ROOT=$TAVIK_CHECKOUT/build/i386-root
TAVIK_ROOT_BIN=$TAVIK_CHECKOUT/scripts/i386-root-bin
# What the root is made of; the copy kept in the root tells whether it must be built again. After
# wine32, the libraries Wine opens at run time that its Recommends bring and a headless test can
# use (README, Tests): without the X extensions, measured, a cursor clip takes no effect.
TAVIK_ROOT_RECIPE="debootstrap --arch=i386 --variant=minbase bookworm; apt-get install --no-install-recommends
wine wine32 xvfb xauth fonts-horai-umefont locales libxcomposite1 libxcursor1 libxfixes3 libxi6 libxinerama1 \
libxrandr2 libxrender1 libxxf86vm1 libgl1 libgl1-mesa-dri libgnutls30 libgssapi-krb5-2 libkrb5-3 libdbus-1-3"
TAVIK_BINFMT=/proc/sys/fs/binfmt_misc
TAVIK_SUDO=()
TAVIK_ROOT_MOUNTS=()
# i386 ELF executables and shared objects. F: the kernel opens the emulator when it is registered,
# so it serves inside the root too, where no /usr/bin/qemu-i386-static exists.
TAVIK_QEMU_I386=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:'
TAVIK_QEMU_I386+='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'
TAVIK_QEMU_I386+='/usr/bin/qemu-i386-static:F'

# Sets TAVIK_SUDO to what runs a command as root; with neither root nor sudo says what to run.
tavik_root_privilege() {
  if [ "$(id -u)" -eq 0 ]; then
    TAVIK_SUDO=()
  elif command -v sudo >/dev/null; then
    # The Wine variables must reach the programs in the root.
    TAVIK_SUDO=(sudo --preserve-env)
  else
    echo "The i386 root (build/i386-root) is entered with mount and chroot, which need root, and" \
      "sudo is not there. As root, run: cd $PWD && $0" >&2
    return 1
  fi
}

# Whether this kernel runs 32-bit code at all; where it does not, prints why.
tavik_kernel_runs_32bit() {
  local probe=$TAVIK_CHECKOUT/build/probe/code_segment_probe source=$TAVIK_CHECKOUT/tools/code_segment_probe.c
  if [ ! -x "$probe" ] || [ "$probe" -ot "$source" ]; then
    mkdir -p "$(dirname "$probe")"
    cc -O1 -o "$probe" "$source" || return 1
  fi
  "$probe" >/dev/null || "$probe"
}

# Whether the root's programs run under the emulator: where the kernel cannot run them, or when
# asked (which also tries that path on a kernel that can).
tavik_root_emulated() {
  [ "${TAVIK_I686_EMULATE:-}" = 1 ] || ! tavik_kernel_runs_32bit >/dev/null
}

# Registers the emulator unless an i386 registration is there already (then it is not ours to
# remove). A registration is consulted before the kernel's own formats, so it forces emulation.
tavik_emulator_on() {
  [ -e "$TAVIK_BINFMT/qemu-i386" ] && return 0
  "$TAVIK_CHECKOUT/scripts/setup.sh" emulator || return 1
  mountpoint -q "$TAVIK_BINFMT" || "${TAVIK_SUDO[@]}" mount -t binfmt_misc binfmt_misc "$TAVIK_BINFMT" || return 1
  printf '%s' "$TAVIK_QEMU_I386" | "${TAVIK_SUDO[@]}" tee "$TAVIK_BINFMT/register" >/dev/null || return 1
  TAVIK_EMULATOR_OURS=1
}

tavik_emulator_off() {
  [ "${TAVIK_EMULATOR_OURS:-}" = 1 ] || return 0
  echo -1 | "${TAVIK_SUDO[@]}" tee "$TAVIK_BINFMT/qemu-i386" >/dev/null
  TAVIK_EMULATOR_OURS=""
}

# Mounts under the root, deepest first.
tavik_root_mounts() {
  findmnt -rn -o TARGET | awk -v root="$TAVIK_ROOT/" 'index($0 "/", root) == 1' | sort -r
}

# Enters the root for the rest of the calling shell: the emulator where needed, then the mounts,
# each remembered in TAVIK_ROOT_MOUNTS for tavik_root_leave. The caller traps EXIT, INT and TERM
# to leave; on a failure here what was done is undone at once.
tavik_root_enter() {
  tavik_root_privilege || return 1
  [ -f "$TAVIK_ROOT/.tavik-recipe" ] || { echo "There is no i386 root: scripts/i386-root.sh build makes it" >&2; return 1; }
  TAVIK_ROOT_MOUNTS=()
  if tavik_root_emulated; then
    tavik_emulator_on || { echo "The emulator could not be registered for i386 programs" >&2; return 1; }
    export TAVIK_ROOT_EMULATED=1
  fi
  # Xvfb makes the socket folder when it first starts; it must exist before it is bound.
  [ -d /tmp/.X11-unix ] || install -d -m 1777 /tmp/.X11-unix
  local source
  for source in /proc /dev /tmp/.X11-unix "$TAVIK_CHECKOUT"; do
    tavik_root_mount "$source" || {
      echo "Could not mount $source in the i386 root" >&2
      tavik_root_leave
      return 1
    }
  done
  export TAVIK_ROOT_ENTERED=1 PATH=$TAVIK_ROOT_BIN:$PATH
}

# Binds SOURCE at the same path in the root and remembers it. /dev comes with its pts and shm,
# as a slave, so that taking it down never reaches the system's own; the others are private.
tavik_root_mount() {
  local source=$1 target=$TAVIK_ROOT$1 bind=--bind propagation=--make-private
  if [ "$source" = /dev ]; then
    bind=--rbind
    propagation=--make-rslave
  fi
  "${TAVIK_SUDO[@]}" mkdir -p "$target" || return 1
  "${TAVIK_SUDO[@]}" mount "$bind" "$source" "$target" || return 1
  TAVIK_ROOT_MOUNTS+=("$target")
  "${TAVIK_SUDO[@]}" mount "$propagation" "$target"
}

# Takes down what tavik_root_enter mounted, last first, lazily if a process still holds it, and
# removes the emulator's registration if it made it.
tavik_root_leave() {
  local i
  for ((i = ${#TAVIK_ROOT_MOUNTS[@]} - 1; i >= 0; i--)); do
    "${TAVIK_SUDO[@]}" umount -R "${TAVIK_ROOT_MOUNTS[i]}" 2>/dev/null ||
      "${TAVIK_SUDO[@]}" umount -R -l "${TAVIK_ROOT_MOUNTS[i]}" ||
      echo "Could not take down ${TAVIK_ROOT_MOUNTS[i]}" >&2
  done
  TAVIK_ROOT_MOUNTS=()
  tavik_emulator_off || echo "Could not remove the emulator's registration ($TAVIK_BINFMT/qemu-i386)" >&2
  unset TAVIK_ROOT_ENTERED TAVIK_ROOT_EMULATED
}

# Runs a program in the entered root, as the calling user, in the current folder by its real path:
# the root has the checkout bound at its real path only, not at a link's.
tavik_root_exec() {
  [ "${TAVIK_ROOT_ENTERED:-}" = 1 ] || { echo "$1: the i386 root is not entered (scripts/i386-root.sh)" >&2; return 1; }
  tavik_root_privilege || return 1
  exec "${TAVIK_SUDO[@]}" chroot --userspec="$(id -u):$(id -g)" "$TAVIK_ROOT" \
    /usr/bin/env PATH=/usr/local/bin:/usr/bin:/bin /bin/sh -c 'cd "$0" && exec "$@"' "$(pwd -P)" "$@"
}

# Runs CMD... where the i686 build can run (scripts/can-run-32bit.sh WHAT). Where it cannot, that
# script's one line says why and this returns 0; a gate that itself fails returns 1.
tavik_where_32bit_runs() {
  local what=$1 ready=0
  shift
  "$TAVIK_CHECKOUT/scripts/can-run-32bit.sh" "$what" || ready=$?
  case $ready in
    0) "$@" ;;
    2) return 0 ;;
    *) return 1 ;;
  esac
}

# Builds the root unless the one there was made by the same recipe.
tavik_root_build() {
  [ "$(cat "$TAVIK_ROOT/.tavik-recipe" 2>/dev/null)" = "$TAVIK_ROOT_RECIPE" ] && return 0
  tavik_root_privilege || return 1
  # Through a leftover bind mount, removing the old root would remove the checkout.
  if [ -n "$(tavik_root_mounts)" ]; then
    echo "Mounts remain under $TAVIK_ROOT; take them down first (umount -R each):" >&2
    tavik_root_mounts >&2
    return 1
  fi
  "$TAVIK_CHECKOUT/scripts/setup.sh" i386-root || return 1
  local log=$TAVIK_CHECKOUT/build/i386-root.log start=$SECONDS packages
  mkdir -p "$TAVIK_CHECKOUT/build"
  echo "Building the i386 root in build/i386-root (a few minutes; far longer under the emulator; log: $log)..."
  (
    set -e
    # debootstrap's second stage may leave the root's /proc mounted (it did under the emulator).
    trap 'tavik_root_leave; tavik_root_mounts | xargs -r -n 1 "${TAVIK_SUDO[@]}" umount -R -l' EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    TAVIK_ROOT_MOUNTS=()
    if tavik_root_emulated; then
      echo "This kernel runs no 32-bit code, so the root's programs run under QEMU's emulator."
      tavik_emulator_on
    fi
    "${TAVIK_SUDO[@]}" rm -rf --one-file-system "$TAVIK_ROOT"
    # debootstrap's second stage and apt run the root's own programs.
    "${TAVIK_SUDO[@]}" debootstrap --arch=i386 --variant=minbase bookworm "$TAVIK_ROOT"
    packages=$(sed -n 2p <<<"$TAVIK_ROOT_RECIPE")
    # shellcheck disable=SC2086
    "${TAVIK_SUDO[@]}" chroot "$TAVIK_ROOT" /usr/bin/env DEBIAN_FRONTEND=noninteractive \
      PATH=/usr/sbin:/usr/bin:/sbin:/bin apt-get install -y -q --no-install-recommends $packages
    "${TAVIK_SUDO[@]}" chroot "$TAVIK_ROOT" apt-get clean
    printf '%s\n' "$TAVIK_ROOT_RECIPE" | "${TAVIK_SUDO[@]}" tee "$TAVIK_ROOT/.tavik-recipe" >/dev/null
  ) >"$log" 2>&1 || {
    echo "The i386 root could not be built; the end of $log:" >&2
    tail -n 15 "$log" >&2
    return 1
  }
  echo "Built the i386 root in $((SECONDS - start)) s: $("${TAVIK_SUDO[@]}" du -sh --one-file-system "$TAVIK_ROOT" | cut -f1)"
}

# Run, not sourced.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  name=$(basename "$0")
  if [ "$name" != i386-root.sh ]; then
    tavik_root_exec "$name" "$@"
  fi
  case ${1:-} in
    build) tavik_root_build ;;
    shell)
      shift
      trap tavik_root_leave EXIT
      trap 'exit 130' INT
      trap 'exit 143' TERM
      tavik_root_enter
      (tavik_root_exec "${@:-bash}")
      ;;
    *) echo "usage: scripts/i386-root.sh build | shell [CMD...]" >&2; exit 2 ;;
  esac
fi
