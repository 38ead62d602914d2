# shellcheck shell=bash
# Sourced by scripts/setup.sh and scripts/sqlite.sh: installing Debian
# packages in a way that survives a package mirror caught in the middle of
# its update, and says in plain words what to do when it cannot.
#
# A mirror being synced can serve, for hours, a package list whose size or
# checksum does not match its index ("File has unexpected size ... Mirror
# sync in progress?"). apt-get update then fails for that list alone, and
# the lists of that suite no longer agree across architectures: the amd64
# libraries of the security suite are newer than the i386 ones still known
# from the main suite, and Wine's 32-bit half cannot be installed ("held
# broken packages"). The functions below read what the package tools print,
# decide, and retry once the way that works: the lagging lists fetched again
# and, where they still fail, that suite held back (pinned below the others)
# for this one install.
#
# The pkg_*_verdict / pkg_*_problem / pkg_failed_lists functions only read
# text, so they can be fed recorded outputs (tests/scripts/). The ones that
# act call "$PKG_APT_GET" (apt-get) through "$SUDO".

PKG_APT_GET="${PKG_APT_GET:-apt-get}"
PKG_RETRY_PAUSE="${PKG_RETRY_PAUSE:-10}"
PKG_FAILED_LISTS=""

# The packages among "$@" that are not installed, one a line. One dpkg-query
# for all of them (each call reads the whole status database: a tenth of a
# second), so a machine that has everything is checked at once. A name
# without ":arch" means the machine's own architecture (or "all").
pkg_missing() {
  local line p native
  local -A installed=()
  while read -r line; do
    [[ "$line" == *" install ok installed" ]] && installed["${line%% *}"]=1
  done < <(dpkg-query -W -f='${Package}:${Architecture} ${Status}\n' "$@" 2>/dev/null || true)
  case "${HOSTTYPE:-}" in
    x86_64) native=amd64 ;;
    i?86) native=i386 ;;
    aarch64) native=arm64 ;;
    *) native="$(dpkg --print-architecture)" ;;
  esac
  for p in "$@"; do
    case "$p" in
      *:*) [ -n "${installed[$p]:-}" ] || echo "$p" ;;
      *) [ -n "${installed[$p:$native]:-}${installed[$p:all]:-}" ] || echo "$p" ;;
    esac
  done
}

# pkg_failed_lists FILE: from the output of apt-get update, the lists it could
# not fetch, one a line: "SUITE ARCH REASON", where ARCH is an architecture,
# "source", or "all" (the suite's index itself), and REASON is "sync" (the
# file does not match its index: a mirror being updated), "unreachable"
# (the mirror could not be reached) or "other".
pkg_failed_lists() {
  sed -n -E 's/^[EW]: Failed to fetch ([^ ]+) +(.*)$/\1 \2/p' "$1" | while read -r url reason; do
    local suite arch kind
    suite="$(sed -n -E 's|.*/dists/([^/]+)/.*|\1|p' <<<"$url")"
    [ -n "$suite" ] || continue
    case "$url" in
      */binary-*/*) arch="$(sed -E 's|.*/binary-([^/]+)/.*|\1|' <<<"$url")" ;;
      */source/*) arch=source ;;
      *) arch=all ;;
    esac
    case "$reason" in
      *"unexpected size"* | *"Hash Sum mismatch"* | *"Mirror sync"* | *"Clearsigned file isn't valid"*) kind=sync ;;
      *"Could not connect"* | *"Could not resolve"* | *"Temporary failure resolving"* | *"Connection failed"* | *"timed out"* | *"No route"*) kind=unreachable ;;
      *) kind=other ;;
    esac
    echo "$suite $arch $kind"
  done | sort -u
}

# pkg_update_verdict FILE RC: what an apt-get update that printed FILE and
# exited with RC came to: "ok"; "partial" (some lists failed, others came);
# "failed" (no list came: the mirrors cannot be reached); "error" (it failed
# for another reason, such as a lock or a bad signature).
pkg_update_verdict() {
  local failed got
  failed="$(grep -cE '^[EW]: Failed to fetch ' "$1" || true)"
  got="$(grep -cE '^(Hit|Get):' "$1" || true)"
  if [ "$failed" -gt 0 ]; then
    if [ "$got" -gt 0 ]; then echo partial; else echo failed; fi
  elif [ "$2" -ne 0 ]; then
    echo error
  else
    echo ok
  fi
}

# pkg_install_problem FILE: why an apt-get install that printed FILE failed:
# "skew" (dependencies that cannot be met: with a half-synced mirror, the
# architectures' versions out of step), "fetch" (a package file named by the
# lists is not on the mirror, or could not be downloaded), "space", "lock",
# "interrupted" (an earlier dpkg run was cut off), "broken" (the installed
# packages themselves have unmet dependencies) or "other".
pkg_install_problem() {
  if grep -q "You might want to run 'apt --fix-broken install'" "$1"; then echo broken
  elif grep -q 'dpkg was interrupted' "$1"; then echo interrupted
  elif grep -qE 'Could not get lock|Unable to acquire the dpkg frontend lock' "$1"; then echo lock
  elif grep -qE "You don't have enough free space|No space left on device" "$1"; then echo space
  elif grep -qE 'held broken packages|have unmet dependencies|is not installable|has no installation candidate' "$1"; then echo skew
  elif grep -qE '^E: (Failed to fetch|Unable to fetch some archives|Some files failed to download)' "$1"; then echo fetch
  else echo other
  fi
}

# pkg_blocked_packages FILE: the packages the install wanted but could not
# have (named "not installable" or "not going to be installed" in its list
# of unmet dependencies), at most eight, on one line.
pkg_blocked_packages() {
  sed -n -E 's/.*Depends: ([^ ]+).* but (it is not installable|it is not going to be installed|[^ ]+ is to be installed).*/\1/p' "$1" |
    awk '!seen[$0]++' | head -n 8 | tr '\n' ' ' | sed 's/ $//'
}

# pkg_pin_preferences SUITE...: apt preferences that hold the suites back
# (priority 100: their packages are still installed where no other suite has
# them, but every other suite's version comes first), after the machine's
# own /etc/apt/preferences, if any. A suite is matched by its code name and
# by its archive name, whichever the sources use.
pkg_pin_preferences() {
  local suite
  [ -f /etc/apt/preferences ] && cat /etc/apt/preferences && echo
  for suite in "$@"; do
    printf 'Package: *\nPin: release n=%s\nPin-Priority: 100\n\n' "$suite"
    printf 'Package: *\nPin: release a=%s\nPin-Priority: 100\n\n' "$suite"
  done
}

# The suites among PKG_FAILED_LISTS whose lists failed, one a line.
pkg_failed_suites() {
  awk 'NF { print $1 }' <<<"$PKG_FAILED_LISTS" | sort -u
}

pkg_log() {
  if [ -z "${PKG_LOG:-}" ]; then
    PKG_LOG="$(mktemp "${TMPDIR:-/tmp}/ravelbook-setup.XXXXXX")"
  fi
  echo "$PKG_LOG"
}

# pkg_update: apt-get update; a list that fails is a warning, not the end.
# Sets PKG_FAILED_LISTS and PKG_UPDATE_VERDICT.
pkg_update() {
  local out rc=0 log
  log="$(pkg_log)"
  out="$(mktemp "${TMPDIR:-/tmp}/ravelbook-update.XXXXXX")"
  LANG=C LC_ALL=C $SUDO "$PKG_APT_GET" update -q -o DPkg::Lock::Timeout=600 >"$out" 2>&1 || rc=$?
  { echo "== apt-get update (exit $rc)"; cat "$out"; } >>"$log"
  PKG_FAILED_LISTS="$(pkg_failed_lists "$out")"
  PKG_UPDATE_VERDICT="$(pkg_update_verdict "$out" "$rc")"
  case "$PKG_UPDATE_VERDICT" in
    partial)
      echo "setup: warning: some package lists could not be fetched; going on with the others:" >&2
      awk '{ printf "setup:   %s %s (%s)\n", $1, $2, ($3 == "sync" ? "the mirror is being updated" : $3 == "unreachable" ? "not reachable" : "failed") }' \
        <<<"$PKG_FAILED_LISTS" >&2 ;;
    failed)
      echo "setup: warning: no package list could be fetched (is the network up?); going on with the lists this machine has" >&2 ;;
    error)
      echo "setup: warning: apt-get update failed:" >&2
      grep -E '^(E|W):' "$out" | head -n 5 | sed 's/^/setup:   /' >&2 ;;
  esac
  rm -f "$out"
}

# pkg_try_install [APT OPTIONS --] PACKAGES...: one apt-get install; its
# output goes to PKG_LAST_OUTPUT. Returns apt-get's status.
pkg_try_install() {
  local opts=() rc=0
  if [[ " $* " == *" -- "* ]]; then
    while [ "$1" != -- ]; do opts+=("$1"); shift; done
    shift
  fi
  PKG_LAST_OUTPUT="${PKG_LAST_OUTPUT:-$(mktemp "${TMPDIR:-/tmp}/ravelbook-install.XXXXXX")}"
  LANG=C LC_ALL=C $SUDO env DEBIAN_FRONTEND=noninteractive "$PKG_APT_GET" install -y -q --no-install-recommends \
    -o DPkg::Lock::Timeout=600 "${opts[@]}" "$@" >"$PKG_LAST_OUTPUT" 2>&1 || rc=$?
  { echo "== apt-get install ${opts[*]} $* (exit $rc)"; cat "$PKG_LAST_OUTPUT"; } >>"$(pkg_log)"
  return "$rc"
}

# pkg_install PACKAGES...: installs them; on a failure that a half-synced
# mirror explains, fetches the lists again and, where a suite's lists still
# fail, installs with that suite held back. Stops with a message in plain
# words when that does not help either.
pkg_install() {
  local problem pref suites
  if pkg_try_install "$@"; then return 0; fi
  problem="$(pkg_install_problem "$PKG_LAST_OUTPUT")"
  case "$problem" in
    skew | fetch)
      echo "setup: the install failed ($(pkg_problem_words "$problem")); fetching the package lists again and retrying once" >&2
      sleep "$PKG_RETRY_PAUSE"
      pkg_update
      suites="$(pkg_failed_suites)"
      if [ "$problem" = skew ] && [ -n "$suites" ]; then
        pref="$(mktemp "${TMPDIR:-/tmp}/ravelbook-pin.XXXXXX")"
        # shellcheck disable=SC2086
        pkg_pin_preferences $suites >"$pref"
        chmod 644 "$pref"
        echo "setup: holding back ${suites//$'\n'/ } for this install, whose lists did not come" >&2
        if pkg_try_install -o "Dir::Etc::Preferences=$pref" -- "$@"; then rm -f "$pref"; return 0; fi
        rm -f "$pref"
      elif pkg_try_install "$@"; then
        return 0
      fi
      problem="$(pkg_install_problem "$PKG_LAST_OUTPUT")" ;;
  esac
  pkg_explain "$problem" "$@" >&2
  return 1
}

pkg_problem_words() {
  case "$1" in
    skew) echo "the packages' dependencies cannot be met" ;;
    fetch) echo "some package files could not be downloaded" ;;
    *) echo "$1" ;;
  esac
}

# pkg_explain PROBLEM PACKAGES...: what went wrong and what the user can do.
pkg_explain() {
  local problem="$1" blocked suites
  shift
  blocked="$(pkg_blocked_packages "$PKG_LAST_OUTPUT")"
  suites="$(pkg_failed_suites | tr '\n' ' ' | sed 's/ $//')"
  echo "setup: could not install: $*"
  case "$problem" in
    skew)
      if [ -n "$suites" ]; then
        echo "setup: The package mirror is out of step: the lists of $suites could not be fetched"
        echo "setup: (the mirror is being updated), so its 32-bit (i386) and 64-bit (amd64) packages"
        echo "setup: no longer have the same versions, and Wine needs both to match."
      else
        echo "setup: The packages' dependencies cannot be met; with a package mirror that is being"
        echo "setup: updated, its 32-bit (i386) and 64-bit (amd64) lists can disagree for a while."
      fi
      [ -n "$blocked" ] && echo "setup: Packages it could not have: $blocked."
      echo "setup: What to do: run the command again in an hour or so (a mirror is usually in step"
      echo "setup: again within a few hours; nothing needs undoing), or switch to another mirror in"
      echo "setup: /etc/apt/sources.list.d/ (or /etc/apt/sources.list) and run it again." ;;
    fetch)
      if [ "${PKG_UPDATE_VERDICT:-ok}" = failed ] || grep -qE 'Could not connect|Could not resolve|Temporary failure resolving' "$PKG_LAST_OUTPUT"; then
        echo "setup: The package mirror cannot be reached. Check the network connection (and a"
        echo "setup: proxy, if this machine needs one), then run the command again."
      else
        echo "setup: The mirror does not have some files its own package lists name (it is being"
        echo "setup: updated). Run the command again later, or switch to another mirror in"
        echo "setup: /etc/apt/sources.list.d/ (or /etc/apt/sources.list)."
      fi ;;
    space)
      echo "setup: There is not enough free disk space for the packages (about 1.5 GB is needed"
      echo "setup: in /var and /usr). Free some space and run the command again." ;;
    lock)
      echo "setup: Another program is installing packages and held the package database for ten"
      echo "setup: minutes. Let it finish (or end it), then run the command again." ;;
    interrupted)
      echo "setup: An earlier package installation was cut off. Run 'sudo dpkg --configure -a',"
      echo "setup: then run the command again." ;;
    broken)
      echo "setup: The packages already installed on this machine have unmet dependencies. Run"
      echo "setup: 'sudo apt --fix-broken install', then run the command again." ;;
    *)
      echo "setup: The package manager said:"
      grep -E '^E:' "$PKG_LAST_OUTPUT" | head -n 5 | sed 's/^/setup:   /' ;;
  esac
  echo "setup: The package manager's own words are in $(pkg_log)."
}
