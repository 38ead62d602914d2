#!/bin/bash
# Installs what building, running and testing Ravelbook needs on a Debian 12
# machine, and nothing twice: each step checks first, so a run on a machine
# that has everything takes well under a second. Needs root (or sudo).
set -euo pipefail

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686
  wine wine32:i386 wine64
  cmake ninja-build make g++ gcc tcl
  xvfb xauth x11-utils imagemagick
  fonts-wqy-zenhei fonts-wine fonts-dejavu-core
  locales googletest xz-utils ccache
)

missing=()
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture"
  $SUDO dpkg --add-architecture i386
  need_update=1
fi
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

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
  echo "setup: apt-get update"
  $SUDO apt-get update -q >/dev/null
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine must run with the Chinese code page (936): that needs the locale.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
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
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends qemu-user-static >/dev/null
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/register ]; then
    $SUDO mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
  fi
  if [ ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]; then
    echo "setup: running 32-bit programs through qemu-i386-static"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
      $SUDO tee /proc/sys/fs/binfmt_misc/register >/dev/null
  fi
  if ! /lib/ld-linux.so.2 --version >/dev/null 2>&1; then
    echo "setup: 32-bit programs still do not start; Wine cannot run the program here" >&2
    exit 1
  fi
fi

# There the tests run as a 64-bit build under 64-bit Wine: that needs the
# 64-bit MinGW-w64 compilers.
if [ -e /proc/sys/fs/binfmt_misc/qemu-i386 ] && ! dpkg-query -W -f='${Status}' g++-mingw-w64-x86-64-posix 2>/dev/null | grep -q "install ok installed"; then
  echo "setup: installing the 64-bit MinGW-w64 compilers for the tests"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 >/dev/null
fi
