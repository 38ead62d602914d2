#!/bin/bash
# Installs what building, running and testing Ravelbook needs on a Debian 12
# machine, and nothing twice: each step checks first, so a run on a machine
# that has everything takes well under a second (it starts only a handful of
# processes: on a busy machine each costs tens of milliseconds). Needs root
# (or sudo). A package mirror caught in the middle of its update is survived
# where it can be, and explained where it cannot (scripts/packages.sh).
set -euo pipefail

SUDO=""
if [ "$EUID" != 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 wine64
  cmake ninja-build make g++ gcc tcl
  xvfb xauth x11-utils imagemagick
  fonts-wqy-zenhei fonts-wine fonts-dejavu-core
  locales googletest xz-utils ccache
)
# Where 32-bit programs run only emulated, the tests are built for 64-bit
# Windows (see below): those compilers too.
PACKAGES64=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64)
QEMU_I386=/proc/sys/fs/binfmt_misc/qemu-i386

source "${BASH_SOURCE[0]%/*}/packages.sh"

foreign=()
if [ -r /var/lib/dpkg/arch ]; then mapfile -t foreign </var/lib/dpkg/arch; else mapfile -t foreign < <(dpkg --print-foreign-architectures); fi
if [[ " ${foreign[*]} " != *" i386 "* ]]; then
  echo "setup: adding the i386 architecture"
  $SUDO dpkg --add-architecture i386
  need_update=1
fi
wanted=("${PACKAGES[@]}")
if [ -e "$QEMU_I386" ]; then wanted+=("${PACKAGES64[@]}"); fi
mapfile -t missing < <(pkg_missing "${wanted[@]}")

# Debian's sqlite3 source package provides the amalgamation: make sure
# deb-src entries exist for the configured suites.
have_src() {
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}
if ! have_src; then
  echo "setup: adding deb-src entries"
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed -e 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $SUDO tee /etc/apt/sources.list.d/ravelbook-src.sources >/dev/null
  else
    grep -hE '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null |
      sed 's/^deb /deb-src /' | $SUDO tee /etc/apt/sources.list.d/ravelbook-src.list >/dev/null
  fi
  need_update=1
fi

if [ ${#missing[@]} -gt 0 ] || [ -n "${need_update:-}" ]; then
  echo "setup: fetching the package lists (apt-get update)"
  pkg_update
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${#missing[@]} packages and what they need (about 300 MB, a minute or two): ${missing[*]}"
  pkg_install "${missing[@]}" || exit 1
fi

# Wine must run with the Chinese code page (936): that needs the locale.
locales="$(locale -a 2>/dev/null || true)"
if [[ $'\n'"${locales,,}"$'\n' != *$'\nzh_cn.utf8\n'* ]]; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  if [ -f /etc/locale.gen ] && grep -q 'zh_CN.UTF-8 UTF-8' /etc/locale.gen; then
    $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    $SUDO locale-gen >/dev/null
  else
    $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
  fi
fi

# Wine's 32-bit loader must start. Some virtual machines run a kernel that
# cannot execute IA-32 code ("Exec format error"); there qemu's user-mode
# emulator runs 32-bit Linux programs, registered with binfmt_misc for i386
# ELF files. Everything still works, only slower (see docs/platform.md).
if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
  if [ ! -x /usr/bin/qemu-i386-static ]; then
    echo "setup: this kernel cannot run 32-bit programs; installing qemu-user-static"
    pkg_install qemu-user-static || exit 1
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e "$QEMU_I386" ]; then
    echo "setup: running 32-bit programs through qemu-i386-static"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "setup: 32-bit programs still do not start; Wine cannot run the program here" >&2
    exit 1
  fi
  # The 64-bit compilers, on the run that found out (later runs ask for them
  # with the other packages above).
  mapfile -t missing64 < <(pkg_missing "${PACKAGES64[@]}")
  if [ ${#missing64[@]} -gt 0 ]; then
    echo "setup: installing the 64-bit MinGW-w64 compilers for the tests"
    pkg_install "${missing64[@]}" || exit 1
  fi
fi
