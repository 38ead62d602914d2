#!/bin/bash
# Builds the fuzz targets of the skin engine's decoders and of the Access
# reading library (third_party/mdbtools, as the reader process mdbimport
# drives it) natively with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) into build/fuzz and runs each for FUZZ_SECONDS
# seconds (60 by default); FUZZ_TARGETS="a b" runs only those.
# FUZZ_CPU_SECONDS=N gives each target N seconds of processor time instead
# of wall-clock time (a fair budget on a machine that is busy with other
# work: run it under nice), and FUZZ_JOBS=N runs N targets at once; a
# process starved that way takes many times its processor time in
# wall-clock time, so there an input counts as a hang only after ten times
# FUZZ_HANG_SECONDS (the slowest input's time is reported). An input that
# runs longer than FUZZ_HANG_SECONDS (10) counts as a hang, one that takes
# more than 2 GB as a fault. Corpora are kept in build/fuzz/corpus between
# runs; crashes are written to build/fuzz/crashes. Exits nonzero when any
# target finds a fault.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="$ROOT/build/fuzz"
SECONDS_EACH="${FUZZ_SECONDS:-60}"
HANG_SECONDS="${FUZZ_HANG_SECONDS:-10}"
TARGETS=(fuzz_lzh_decode fuzz_lzh_roundtrip fuzz_skin_reader fuzz_quick_ini fuzz_bmp fuzz_colour_text fuzz_skin_budget
         fuzz_access_file)
if [ -n "${FUZZ_TARGETS:-}" ]; then read -r -a TARGETS <<<"$FUZZ_TARGETS"; fi

have_libfuzzer() {
  echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' \
    > "$OUT/probe.cpp"
  clang++ -fsanitize=fuzzer,address,undefined "$OUT/probe.cpp" -o "$OUT/probe" 2>/dev/null
}

mkdir -p "$OUT/crashes"
if ! command -v clang++ >/dev/null || ! have_libfuzzer; then
  echo "fuzz: installing clang and its libFuzzer runtime"
  if ! apt-cache policy clang | grep -q 'Candidate: [0-9]'; then apt-get update -q; fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends clang libclang-rt-14-dev >/dev/null \
    || DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends clang >/dev/null
  have_libfuzzer || { echo "fuzz: clang cannot build libFuzzer targets" >&2; exit 1; }
fi

SOURCES=$(sed -n 's|.*\${RAVELBOOK_ROOT}/\(skin/data/[a-z_]*\.cpp\).*|\1|p' "$ROOT/skin/data/portable.cmake")
FLAGS=(-std=c++20 -g -O1 -I"$ROOT" -fno-sanitize-recover=undefined)

echo "fuzz: building into $OUT"
OBJS=()
for src in $SOURCES; do
  obj="$OUT/$(basename "$src" .cpp).o"
  clang++ "${FLAGS[@]}" -fsanitize=fuzzer-no-link,address,undefined -c "$ROOT/$src" -o "$obj"
  OBJS+=("$obj")
done
clang++ "${FLAGS[@]}" -fsanitize=address,undefined "$ROOT/fuzz/make_seeds.cpp" "${OBJS[@]}" -o "$OUT/make_seeds"
"$OUT/make_seeds" "$OUT/seeds"
for t in "${TARGETS[@]}"; do
  [ "$t" = fuzz_access_file ] && continue
  clang++ "${FLAGS[@]}" -fsanitize=fuzzer,address,undefined "$ROOT/fuzz/$t.cpp" "${OBJS[@]}" -o "$OUT/$t"
done

# The Access reading library, configured as the program's build does, with
# fmemopen so that the bytes are read from memory.
MDB="$ROOT/third_party/mdbtools"
mkdir -p "$OUT/mdb"
sed -e 's/@HAVE_ICONV_H@/0/;s/@HAVE_XLOCALE_H@/0/;s/@GLIB_INCLUDE_HEADER@/mdbfakeglib.h/;s/@LOCALE_T@/locale_t/' \
  "$MDB/include/mdbtools.h.in" >"$OUT/mdb/mdbtools.h"
sed -e 's/@PACKAGE@/mdbtools/;s/@VERSION@/1.0.1/' "$MDB/include/mdbver.h.in" >"$OUT/mdb/mdbver.h"
MDB_OBJS=()
for src in "$MDB"/src/libmdb/*.c; do
  obj="$OUT/mdb/$(basename "$src" .c).o"
  clang -std=gnu99 -g -O1 -w -I"$OUT/mdb" -I"$MDB/include" -DTLS=_Thread_local -DHAVE_ATTRIBUTE_ALIAS=1 \
    -D_GNU_SOURCE -DHAVE_FMEMOPEN=1 -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link,address,undefined \
    -c "$src" -o "$obj"
  MDB_OBJS+=("$obj")
done
clang++ "${FLAGS[@]}" -I"$OUT/mdb" -I"$MDB/include" -fsanitize=fuzzer,address,undefined \
  "$ROOT/fuzz/fuzz_access_file.cpp" "${MDB_OBJS[@]}" -o "$OUT/fuzz_access_file"
mkdir -p "$OUT/seeds/fuzz_access_file"
cp "$ROOT"/tests/data/access/*.mdb "$OUT/seeds/fuzz_access_file/"

# Runs one target; its summary goes to $OUT/$t.summary, its exit status is
# the target's (0 when it was stopped at its processor-time budget).
run_target() {
  local t="$1" log="$OUT/$1.log" pid used budget_note
  mkdir -p "$OUT/corpus/$t"
  local extra=(-max_len=65536)
  # Access files are read whole and their pages are 2 or 4 KiB; the library
  # writes a remark on every damaged page, so its stderr is closed.
  [ "$t" = fuzz_access_file ] && extra=(-max_len=1048576 -close_fd_mask=2)
  local wall="$SECONDS_EACH" hang="$HANG_SECONDS"
  if [ -n "${FUZZ_CPU_SECONDS:-}" ]; then
    wall=$((FUZZ_CPU_SECONDS * 100))
    hang=$((HANG_SECONDS * 10))
  fi
  "$OUT/$t" -max_total_time="$wall" -rss_limit_mb=2048 "${extra[@]}" -timeout="$hang" -report_slow_units="$HANG_SECONDS" \
    -artifact_prefix="$OUT/crashes/$t-" -print_final_stats=1 \
    "$OUT/corpus/$t" "$OUT/seeds/$t" >"$log" 2>&1 &
  pid=$!
  local stopped=""
  if [ -n "${FUZZ_CPU_SECONDS:-}" ]; then
    # Processor time of the fuzzing process (user + system, in clock ticks).
    local tick
    tick=$(getconf CLK_TCK)
    while kill -0 "$pid" 2>/dev/null; do
      used=$(awk '{print int(($14 + $15) / '"$tick"')}' "/proc/$pid/stat" 2>/dev/null || echo 0)
      if [ "${used:-0}" -ge "$FUZZ_CPU_SECONDS" ]; then kill -INT "$pid"; stopped=1; break; fi
      sleep 5
    done
  fi
  local rc=0
  wait "$pid" || rc=$?
  # Stopped at its budget: libFuzzer exits nonzero when interrupted (this
  # version has no -interrupted_exitcode), which is a clean end when it
  # says so and left no input behind.
  if [ "$rc" -ne 0 ] && [ -n "$stopped" ] && grep -q 'run interrupted; exiting' "$log" &&
     ! compgen -G "$OUT/crashes/$t-*" >/dev/null; then
    rc=0
  fi
  budget_note="${SECONDS_EACH}s"
  [ -n "${FUZZ_CPU_SECONDS:-}" ] && budget_note="${FUZZ_CPU_SECONDS} processor seconds"
  {
    echo "== $t ($budget_note)"
    if [ "$rc" -eq 0 ]; then
      grep -E '^stat::number_of_executed_units|^stat::slowest_unit_time_sec|^stat::peak_rss_mb|^Done|^#[0-9]+.*DONE' "$log" | tail -4
    else
      echo "fuzz: $t found a fault; see $log and $OUT/crashes"
      grep -E 'ERROR|runtime error|SUMMARY' "$log" | head -5
    fi
  } >"$OUT/$t.summary"
  return "$rc"
}

status=0
jobs_max="${FUZZ_JOBS:-1}"
running=0
for t in "${TARGETS[@]}"; do
  if [ "$running" -ge "$jobs_max" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  run_target "$t" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
for t in "${TARGETS[@]}"; do cat "$OUT/$t.summary" 2>/dev/null || echo "== $t: no summary"; done
exit $status
