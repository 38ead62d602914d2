#!/bin/bash
# The set-up's package decisions (scripts/packages.sh), fed what the package
# tools really printed: apt/ holds outputs of apt-get 2.6.1 and dpkg-query
# recorded against a local mirror whose i386 list did not match its index,
# one that could not be reached, a private package state without the i386
# list of the security suite, and a mirror that lacked a package file.
# A stand-in apt-get replays them in turn, so the whole retry runs offline.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
rec="$here/apt"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export TMPDIR="$work"
PKG_RETRY_PAUSE=0
SUDO=""
# shellcheck source=../../scripts/packages.sh
source "$root/scripts/packages.sh"

failures=0
expect() {  # expect WHAT EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    printf 'FAIL: %s\n  expected: %s\n  got:      %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}
expect_in() {  # expect_in WHAT NEEDLE HAYSTACK
  if [[ "$3" != *"$2"* ]]; then
    printf 'FAIL: %s\n  missing:  %s\n  in:       %s\n' "$1" "$2" "$3"
    failures=$((failures + 1))
  fi
}

# --- reading the tools' outputs ---------------------------------------------
expect "size mismatch: partial" partial "$(pkg_update_verdict "$rec/update-size-mismatch.txt" 100)"
expect "size mismatch: the i386 list of the security suite, being synced" \
  "bookworm-security i386 sync" "$(pkg_failed_lists "$rec/update-size-mismatch.txt")"
expect "unreachable: nothing came although apt-get said 0" failed "$(pkg_update_verdict "$rec/update-unreachable.txt" 0)"
expect "unreachable: the whole suite" "bookworm-security all unreachable" "$(pkg_failed_lists "$rec/update-unreachable.txt")"
expect "healthy update" ok "$(pkg_update_verdict "$rec/update-ok.txt" 0)"
expect "healthy update: no failed list" "" "$(pkg_failed_lists "$rec/update-ok.txt")"
expect "a failed update without fetch errors" error "$(pkg_update_verdict "$rec/update-ok.txt" 100)"

expect "held broken packages" skew "$(pkg_install_problem "$rec/install-held-broken.txt")"
expect "the i386 libraries it could not have" \
  "libbrotli1:i386 libssh2-1:i386 libssl3:i386 libzstd1:i386 zlib1g:i386 liblzma5:i386 libexpat1:i386 libpng16-16:i386" \
  "$(pkg_blocked_packages "$rec/install-held-broken.txt")"
expect "a package file missing on the mirror" fetch "$(pkg_install_problem "$rec/install-missing-file.txt")"
expect "installed packages broken" broken "$(pkg_install_problem "$rec/install-fix-broken.txt")"
expect "success is no problem of the mirror" other "$(pkg_install_problem "$rec/update-ok.txt")"

# pkg_missing asks dpkg-query once for every package, qualified or not.
mkdir -p "$work/bin"
cat >"$work/bin/dpkg-query" <<EOF
#!/bin/bash
echo "\$*" >>"$work/dpkg-query.calls"
cat "$rec/dpkg-query.txt"
echo "dpkg-query: no packages found matching nosuchpkg-ravel" >&2
exit 1
EOF
chmod +x "$work/bin/dpkg-query"
missing="$(PATH="$work/bin:$PATH" HOSTTYPE=x86_64 pkg_missing wine wine32:i386 fonts-wine libc6:i386 nosuchpkg-ravel wine64 libc6:arm64 | tr '\n' ' ')"
expect "missing packages" "nosuchpkg-ravel wine64 libc6:arm64 " "$missing"
expect "one dpkg-query for all" 1 "$(wc -l <"$work/dpkg-query.calls")"

# pkg_pin_preferences holds a suite back by code name and by archive name.
pref="$(pkg_pin_preferences bookworm-security)"
expect_in "pin by code name" $'Package: *\nPin: release n=bookworm-security\nPin-Priority: 100' "$pref"
expect_in "pin by archive name" $'Pin: release a=bookworm-security\nPin-Priority: 100' "$pref"

# --- the retry, with a stand-in apt-get ---------------------------------------
# Each call takes the next "RECORDING STATUS" line of $work/queue, prints the
# recording and exits with the status; it logs its arguments and keeps a copy
# of any preferences file it was given.
cat >"$work/bin/apt-get" <<EOF
#!/bin/bash
n=\$(( \$(wc -l <"$work/calls" 2>/dev/null || echo 0) + 1 ))
echo "\$*" >>"$work/calls"
for a in "\$@"; do
  case "\$a" in Dir::Etc::Preferences=*) cp "\${a#*=}" "$work/pref.\$n" ;; esac
done
read -r file rc < <(sed -n "\${n}p" "$work/queue")
[ -n "\${file:-}" ] || { echo "E: unexpected call \$n: \$*"; exit 99; }
[ "\$file" = - ] || cat "$rec/\$file"
exit "\$rc"
EOF
chmod +x "$work/bin/apt-get"
PKG_APT_GET="$work/bin/apt-get"

scenario() {  # scenario "RECORDING STATUS" ...: a fresh queue and log
  rm -f "$work/calls" "$work"/pref.* "$work/out"
  printf '%s\n' "$@" >"$work/queue"
  PKG_LOG="" PKG_LAST_OUTPUT="" PKG_FAILED_LISTS=""
}

# The mirror of the report: one i386 list out of step, every install held
# broken until the security suite is held back; a second fetch does not help.
scenario "update-size-mismatch.txt 100" "install-held-broken.txt 100" "update-size-mismatch.txt 100" "- 0"
pkg_update 2>"$work/out"
pkg_install wine wine32:i386 2>>"$work/out"
expect "held back, then installed" 0 "$?"
calls="$(cat "$work/calls")"
expect "update, install, update, install" 4 "$(wc -l <"$work/calls")"
expect_in "the last install was given preferences" "Dir::Etc::Preferences=" "$(sed -n 4p "$work/calls")"
expect_in "the last install asked for the same packages" "wine wine32:i386" "$(sed -n 4p "$work/calls")"
expect_in "the first install had none" "install -y -q --no-install-recommends -o DPkg::Lock::Timeout=600 wine wine32:i386" "$(sed -n 2p "$work/calls")"
expect_in "the suite held back" $'Pin: release n=bookworm-security\nPin-Priority: 100' "$(cat "$work/pref.4" 2>/dev/null)"
out="$(cat "$work/out")"
expect_in "the failed list is a warning" "warning: some package lists could not be fetched" "$out"
expect_in "the warning names the list" "bookworm-security i386 (the mirror is being updated)" "$out"
expect_in "the retry is announced" "holding back bookworm-security for this install" "$out"
[ -e "${PKG_LOG:-/nonexistent}" ] && expect_in "the log keeps apt's words" "File has unexpected size" "$(cat "$PKG_LOG")"

# The lists come right on the second fetch: no pin, a plain second install.
scenario "install-held-broken.txt 100" "update-ok.txt 0" "- 0"
pkg_install wine32:i386 2>"$work/out"
expect "fetched again, then installed" 0 "$?"
expect "install, update, install" 3 "$(wc -l <"$work/calls")"
expect "no preferences when every list came" "" "$(grep -c 'Preferences' "$work/calls" | grep -v '^0$')"

# Held broken with every list fetched, twice: the user is told in plain words.
scenario "install-held-broken.txt 100" "update-ok.txt 0" "install-held-broken.txt 100"
pkg_install wine32:i386 2>"$work/out"
expect "gives up after one retry" 1 "$?"
out="$(cat "$work/out")"
expect_in "says what is wrong" "32-bit (i386) and 64-bit (amd64) lists can disagree" "$out"
expect_in "names what it could not have" "Packages it could not have: libbrotli1:i386" "$out"
expect_in "says what to do" "run the command again in an hour or so" "$out"
expect_in "points at apt's own words" "The package manager's own words are in" "$out"

# Still held broken with the suite held back: the message names the suite.
scenario "update-size-mismatch.txt 100" "install-held-broken.txt 100" "update-size-mismatch.txt 100" "install-held-broken.txt 100"
pkg_update 2>/dev/null
pkg_install wine32:i386 2>"$work/out"
expect "held back and still broken" 1 "$?"
expect_in "names the suite whose lists did not come" "the lists of bookworm-security could not be fetched" "$(cat "$work/out")"

# A package file gone from the mirror: the lists are fetched again.
scenario "install-missing-file.txt 100" "update-ok.txt 0" "- 0"
pkg_install ravel-a 2>/dev/null
expect "missing file, lists fetched again, installed" "0 3" "$? $(wc -l <"$work/calls")"

# No mirror reachable: no retry helps, and the message says to check the network.
scenario "update-unreachable.txt 0" "install-missing-file.txt 100" "update-unreachable.txt 0" "install-missing-file.txt 100"
pkg_update 2>"$work/out"
expect_in "an unreachable mirror is a warning" "no package list could be fetched" "$(cat "$work/out")"
pkg_install ravel-a 2>"$work/out"
expect "unreachable: fails" 1 "$?"
expect_in "unreachable: check the network" "The package mirror cannot be reached. Check the network" "$(cat "$work/out")"

# A broken package state is not retried: the message says how to mend it.
scenario "install-fix-broken.txt 100"
pkg_install wine 2>"$work/out"
expect "broken: one call only" "1 1" "$? $(wc -l <"$work/calls")"
expect_in "broken: how to mend it" "sudo apt --fix-broken install" "$(cat "$work/out")"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "all package decisions as expected"
