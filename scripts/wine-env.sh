# Sourced: source scripts/wine-env.sh BUILD [WINE_DIR]. Everything Wine needs lives under
# WINE_DIR (default BUILD/wine): the prefix, the ja_JP.UTF-8 locale (so the system code page is
# 932), caches and the Xvfb display number. Nothing is written to the user's home.

TAVIK_BUILD=$(cd -P "$1" && pwd)
TAVIK_WINE=$(mkdir -p "${2:-$TAVIK_BUILD/wine}" && cd -P "${2:-$TAVIK_BUILD/wine}" && pwd)
# The i686 build runs under Debian's 32-bit Wine in the i386 root (scripts/i386-root.sh), entered
# by tavik_root_enter; the other builds under the machine's own Wine.
export WINEPREFIX=$TAVIK_WINE/prefix
if grep -qs '^CMAKE_TOOLCHAIN_FILE:FILEPATH=.*/mingw-i686\.cmake$' "$TAVIK_BUILD/CMakeCache.txt"; then
  source "$(dirname "${BASH_SOURCE[0]}")/i386-root.sh"
  export WINEARCH=win32
  # A prefix of the WoW64 Wine once used here is 64-bit, which a 32-bit Wine refuses.
  [ ! -d "$WINEPREFIX/drive_c/windows/syswow64" ] || rm -rf "$WINEPREFIX" "$TAVIK_WINE/tavik-wine"
else
  tavik_root_enter() { :; }
  tavik_root_leave() { :; }
fi
export WINEDEBUG=-all
# No Mono/Gecko installers at prefix creation, no desktop menu entries; a crash must end the
# process, not start a debugger.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
export LOCPATH=$TAVIK_WINE/locale
export LANG=ja_JP.UTF-8
unset LC_ALL LANGUAGE
export XDG_CACHE_HOME=$TAVIK_WINE/cache
export XDG_CONFIG_HOME=$TAVIK_WINE/config
export XDG_DATA_HOME=$TAVIK_WINE/data

quiet() { "$@" </dev/null >/dev/null 2>&1; }

# The face Wine draws the console's font "ＭＳ Ｐゴシック" with: of the Debian Japanese Gothic faces
# measured, the one in which every label and result field of the console shows whole (README).
TAVIK_DIALOG_FACE="Ume UI Gothic"

# Makes the locale and the prefix once, then starts a persistent wineserver so later runs start
# fast, and has Wine draw the console's font with the face given (default: TAVIK_DIALOG_FACE).
# Output goes to /dev/null: Wine's helper processes must not hold ctest's pipes open.
tavik_wine_prepare() {
  mkdir -p "$LOCPATH"
  [ -d "$LOCPATH/ja_JP.UTF-8" ] || localedef -i ja_JP -f UTF-8 "$LOCPATH/ja_JP.UTF-8" 2>/dev/null || true
  if [ ! -f "$WINEPREFIX/.tavik-ready" ]; then
    quiet wine wineboot -i
    quiet wineserver -w
    # Without a window manager every window close waits ~2 s unless Wine manages nothing.
    quiet wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    quiet wineserver -w
    touch "$WINEPREFIX/.tavik-ready"
  fi
  quiet wineserver -p || true  # already running is fine
  # Set on every start, so an existing prefix follows a change of face; this first Wine process
  # also warms the server up.
  quiet wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d "${1:-$TAVIK_DIALOG_FACE}" /f
}

tavik_wine_stop() {
  quiet wineserver -k || true
  quiet wineserver -w || true
}

# Starts a private Xvfb on a display number it picks itself (-displayfd), so parallel runs never
# share one; the number is kept for wine-exec.sh.
tavik_xvfb_start() {
  local fifo=$TAVIK_WINE/displayfd n
  rm -f "$fifo"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 </dev/null &
  TAVIK_XVFB_PID=$!
  read -r -t 20 n <"$fifo" || { echo "Xvfb did not start" >&2; rm -f "$fifo"; return 1; }
  rm -f "$fifo"
  export DISPLAY=":$n"
  echo "$DISPLAY" >"$TAVIK_WINE/display"
  # A server started before the display has a desktop without one: start it again.
  if [ -f "$WINEPREFIX/.tavik-ready" ]; then
    tavik_wine_stop
    quiet wineserver -p || true
    quiet wine cmd /c exit
  fi
}

# Stops, when the calling shell or subshell ends, on Ctrl-C too, what a session started: Wine,
# the display, the mounts of the i386 root.
tavik_session_traps() {
  trap 'tavik_wine_stop; tavik_xvfb_stop; tavik_root_leave' EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
}

# Starts the display and Wine (tavik_wine_prepare's face, if given) for the rest of the calling
# shell or subshell, and stops both when it exits.
tavik_session_start() {
  tavik_session_traps
  tavik_root_enter && tavik_xvfb_start && tavik_wine_prepare "$@"
}

tavik_xvfb_stop() {
  [ -n "${TAVIK_XVFB_PID:-}" ] && kill "$TAVIK_XVFB_PID" 2>/dev/null && wait "$TAVIK_XVFB_PID" 2>/dev/null
  rm -f "$TAVIK_WINE/display"
  TAVIK_XVFB_PID=""
}

# Waits up to 15 s (emulated 5 min) for the program started as process PID to map its X window
# titled NAME, and prints that window's geometry as WxH+X+Y. Fails when it does not come up.
tavik_window_up() {
  local name=$1 pid=$2 info tenths=150
  [ -z "${TAVIK_ROOT_EMULATED:-}" ] || tenths=3000
  for _ in $(seq $tenths); do
    info=$(xwininfo -name "$name" 2>/dev/null || true)
    if grep -q 'Map State: IsViewable' <<<"$info"; then
      awk -F: '/Width:/ { w = $2 } /Height:/ { h = $2 } /Absolute upper-left X:/ { x = $2 }
               /Absolute upper-left Y:/ { y = $2 } END { printf "%dx%d+%d+%d\n", w, h, x, y }' <<<"$info"
      return 0
    fi
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Closes the program EXE (started as process PID) as its close box would, and waits for it.
tavik_window_close() {
  local exe=$1 pid=$2
  quiet wine taskkill /IM "$exe" || true
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}
