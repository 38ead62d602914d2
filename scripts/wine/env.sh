# Sourced by the run and test scripts: the private Wine prefix under build/,
# a private Xvfb display, and a persistent wineserver for the duration of one
# command. Every function here is idempotent.

RAVELBOOK_ROOT="${RAVELBOOK_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}"
export WINEPREFIX="$RAVELBOOK_ROOT/build/wineprefix"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# Code page 936 (GBK) is what the program's 8-bit text is: Wine takes it from
# the locale, which must be a generated one.
export LANG=zh_CN.UTF-8
unset LC_ALL

# The display scale the programs run at, in pixels an inch: 96 (100 %) unless
# DPI= (make test DPI=144) or RAVELBOOK_DPI says otherwise. Wine takes it from
# the prefix's LogPixels, which wine_prefix_setup writes on every run, so a
# run at 144 leaves no trace in the next plain run.
RAVELBOOK_DPI="${DPI:-${RAVELBOOK_DPI:-96}}"
case "$RAVELBOOK_DPI" in
  ''|*[!0-9]*) echo "wine: DPI must be a whole number of pixels an inch (96, 120, 144, 192), not '$RAVELBOOK_DPI'" >&2; exit 2 ;;
esac
if [ "$RAVELBOOK_DPI" -lt 48 ] || [ "$RAVELBOOK_DPI" -gt 480 ]; then
  echo "wine: DPI=$RAVELBOOK_DPI is out of range (48 to 480)" >&2
  exit 2
fi
export RAVELBOOK_DPI

# Where the screenshots of this scale go: build/screenshots/ at 96,
# build/screenshots/dpi<N>/ at any other scale (the tests that save pictures
# choose the same folder from the scale they run at).
ravelbook_screenshot_dir() {
  if [ "$RAVELBOOK_DPI" = 96 ]; then echo "$RAVELBOOK_ROOT/build/screenshots"; else echo "$RAVELBOOK_ROOT/build/screenshots/dpi$RAVELBOOK_DPI"; fi
}

# Where the kernel cannot run 32-bit programs they run under qemu's emulator
# (scripts/setup.sh), and 32-bit Wine is then far too slow to test with:
# every Wine process takes minutes. The tests are then built for 64-bit
# Windows from the same sources (build64/) and run under the native 64-bit
# Wine; the program itself stays a 32-bit build.
wine_emulated32() {
  [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && [ -z "${RAVELBOOK_FORCE_WIN32:-}" ]
}

# Switches the Wine commands of this shell to 64-bit Wine and the prefix in
# build64/.
wine_use_win64() {
  export WINEPREFIX="$RAVELBOOK_ROOT/build64/wineprefix"
  export WINEARCH=win64
  export WINELOADER=/usr/lib/wine/wine64
  mkdir -p "$RAVELBOOK_ROOT/build64/bin"
  # A script, not a link: the loader started under the name "wine" hands the
  # program to the 32-bit loader's start.exe, which here runs emulated and
  # keeps a core busy for as long as the program runs.
  rm -f "$RAVELBOOK_ROOT/build64/bin/wine"
  printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$RAVELBOOK_ROOT/build64/bin/wine"
  chmod +x "$RAVELBOOK_ROOT/build64/bin/wine"
  export PATH="$RAVELBOOK_ROOT/build64/bin:$PATH"
}

# wine_choose_tree [TARGET...]: sets RAVELBOOK_TREE to the build whose
# programs run here: build/, or where 32-bit code would run emulated,
# build64/ with 64-bit Wine, where the TARGETs are brought up to date first
# (the Makefile has built them already; the scripts can also run alone).
wine_choose_tree() {
  RAVELBOOK_TREE=build
  if wine_emulated32; then
    echo "wine: this machine runs 32-bit programs only emulated; using the 64-bit build in build64/" >&2
    if [ $# -gt 0 ]; then bash "$RAVELBOOK_ROOT/scripts/build64.sh" "$@" >&2 || return 1; fi
    wine_use_win64
    RAVELBOOK_TREE=build64
  fi
}

# A prefix is whole when its registry and its system libraries are there (a
# copy cut short has the registry but no kernel32.dll, and then every program
# fails with status c0000135).
wine_prefix_complete() {
  grep -qs 'Windows NT\\\\CurrentVersion' "$1/system.reg" &&
    [ -f "$1/drive_c/windows/system32/kernel32.dll" ]
}

# Creates the prefix once (about 15 s natively, many minutes where 32-bit
# code runs emulated), then on every call re-imports the
# registry settings: Wine resets some font links when a process with another
# code page used the prefix.
wine_prefix_setup() {
  local stamp="$WINEPREFIX/.ravelbook-ready"
  # A prefix that Wine could not finish (a machine that could not run 32-bit
  # programs when it was made) has a registry of a few lines: make it again.
  if [ ! -f "$stamp" ] || ! wine_prefix_complete "$WINEPREFIX"; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # A fresh prefix takes Wine a while to make (minutes where 32-bit code
    # runs emulated), so the first one made on this machine is kept in a
    # machine-wide cache, one per Wine version, and copied into other trees.
    local cache="${RAVELBOOK_PREFIX_CACHE:-/var/cache/ravelbook}/wineprefix-$WINEARCH-$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n-' _)"
    if [ -f "$cache/.ravelbook-ready" ] && wine_prefix_complete "$cache"; then
      echo "wine: copying the machine's prepared prefix into ${WINEPREFIX#"$RAVELBOOK_ROOT"/} (a few seconds)"
      cp -a "$cache" "$WINEPREFIX"
    else
      echo "wine: creating the private prefix in ${WINEPREFIX#"$RAVELBOOK_ROOT"/} (once per machine: a minute natively, many where 32-bit code is emulated)"
      wine wineboot -i </dev/null >/dev/null 2>&1 || true
      wineserver -w
      if ! wine_prefix_complete "$WINEPREFIX"; then
        echo "wine: the prefix was not made (can this machine run 32-bit programs? see docs/platform.md)" >&2
        rm -rf "$WINEPREFIX"
        return 1
      fi
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
      touch "$WINEPREFIX/.ravelbook-ready"
      if mkdir -p "$(dirname "$cache")" 2>/dev/null; then
        rm -rf "$cache.tmp" && cp -a "$WINEPREFIX" "$cache.tmp" && mv "$cache.tmp" "$cache" || rm -rf "$cache.tmp"
      fi
    fi
  fi
  local reg="$(dirname "$WINEPREFIX")/setup-utf16.reg"
  # The display scale goes in with the settings (Wine reads LogPixels when
  # its server starts).
  { cat "$RAVELBOOK_ROOT/scripts/wine/setup.reg"
    printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' "$RAVELBOOK_DPI"
  } | iconv -f UTF-8 -t UTF-16 > "$reg"
  # Z: is the root of the file system in every prefix.
  wine regedit /S "Z:$(printf '%s' "$reg" | tr / '\\')" </dev/null >/dev/null 2>&1
  # Let that server exit, so that the next one starts with the settings.
  wineserver -w
}

# One user of the prefix at a time: the commands end the prefix's wineserver
# when they finish, which would cut short another command's programs.
wine_lock() {
  mkdir -p "$RAVELBOOK_ROOT/build"
  exec 9>"$RAVELBOOK_ROOT/build/.wine-lock"
  flock 9
}

# Starts Xvfb on the first free display from :93 up and exports DISPLAY.
# A desktop's X server carries the resource database its session loaded; a
# bare Xvfb has none, and then Xlib looks for resource files on disk again at
# every lookup (Wine asks for the font smoothing resources whenever a font is
# chosen for a window). One harmless resource gives it a database, as on any
# desktop; the resources Wine asks for stay unset, so text looks the same.
xvfb_resources() {
  local i
  for i in $(seq 1 40); do
    xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "ravelbook.display: xvfb" 2>/dev/null && return 0
    sleep 0.05
  done
  echo "xvfb: could not set the resource database of $DISPLAY" >&2
}

xvfb_start() {
  local n=93
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  # A screen of a higher scale has as many more pixels: 1280x1024 at 96,
  # 2560x2048 at 192, so that windows laid out at the scale fit as they do at 96.
  local w=$((1280 * RAVELBOOK_DPI / 96)) h=$((1024 * RAVELBOOK_DPI / 96))
  Xvfb ":$n" -screen 0 "${w}x${h}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
  RAVELBOOK_XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 100); do
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      xvfb_resources
      return 0
    fi
    sleep 0.05
  done
  echo "xvfb: display :$n did not come up" >&2
  return 1
}

xvfb_stop() {
  if [ -n "${RAVELBOOK_XVFB_PID:-}" ]; then
    kill "$RAVELBOOK_XVFB_PID" 2>/dev/null || true
    wait "$RAVELBOOK_XVFB_PID" 2>/dev/null || true
    RAVELBOOK_XVFB_PID=""
  fi
}

# A persistent wineserver, warmed up outside ctest, so that test executables
# start in a fraction of a second and ctest's pipes are not held open.
wineserver_start() {
  wineserver -p
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

wineserver_stop() {
  wineserver -k 2>/dev/null || true
}
