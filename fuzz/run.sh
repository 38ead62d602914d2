#!/bin/bash
# Builds the fuzz targets of the skin engine's decoders natively with clang
# (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) into build/fuzz
# and runs each for FUZZ_SECONDS seconds (60 by default). Corpora are kept in
# build/fuzz/corpus between runs; crashes are written to build/fuzz/crashes.
# Exits nonzero when any target finds a fault.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="$ROOT/build/fuzz"
SECONDS_EACH="${FUZZ_SECONDS:-60}"
TARGETS=(fuzz_lzh_decode fuzz_lzh_roundtrip fuzz_skin_reader fuzz_quick_ini fuzz_bmp fuzz_colour_text fuzz_skin_budget)

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
  clang++ "${FLAGS[@]}" -fsanitize=fuzzer,address,undefined "$ROOT/fuzz/$t.cpp" "${OBJS[@]}" -o "$OUT/$t"
done

status=0
for t in "${TARGETS[@]}"; do
  mkdir -p "$OUT/corpus/$t"
  echo "== $t (${SECONDS_EACH}s)"
  log="$OUT/$t.log"
  if "$OUT/$t" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 -max_len=65536 -timeout=20 \
       -artifact_prefix="$OUT/crashes/$t-" -print_final_stats=1 \
       "$OUT/corpus/$t" "$OUT/seeds/$t" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done|^#[0-9]+.*DONE' "$log" | tail -2
  else
    echo "fuzz: $t found a fault; see $log and $OUT/crashes" >&2
    grep -E 'ERROR|runtime error|SUMMARY' "$log" | head -5 >&2
    status=1
  fi
done
exit $status
