#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) and runs
# each for SECONDS (default 60) on a corpus seeded from the repository's samples.
#   scripts/fuzz.sh                 every target
#   scripts/fuzz.sh printout 300    one target, five minutes
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_DIR=${BUILD_DIR:-$ROOT/build-fuzz}
ONLY=${1:-}
SECONDS_EACH=${2:-60}
"$ROOT/scripts/install-deps.sh" >/dev/null
command -v clang++ >/dev/null || { echo "fuzz.sh: clang++ is needed" >&2; exit 1; }
SAN="-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer"
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_CXX_FLAGS="$SAN" -DSONVEX_BUILD_FUZZ=ON -DSONVEX_BUILD_GUI=OFF -DSONVEX_BUILD_TESTS=OFF >/dev/null
cmake --build "$BUILD_DIR"
for t in "$BUILD_DIR"/fuzz/fuzz_*${ONLY}*; do
  [ -f "$t" ] && [ -x "$t" ] || continue
  name=$(basename "$t")
  corpus="$BUILD_DIR/corpus/$name"
  mkdir -p "$corpus"
  case "$name" in
    fuzz_datapacket) cp "$ROOT"/resources/*.xml "$ROOT"/resources/samples/*.xml "$corpus"/ 2>/dev/null || true ;;
    fuzz_downloadtext) cp "$ROOT"/resources/samples/*.kvntm "$corpus"/ 2>/dev/null || true ;;
  esac
  echo "== $name for ${SECONDS_EACH}s"
  "$t" -max_total_time="$SECONDS_EACH" -max_len=65536 -rss_limit_mb=4096 "$corpus" 2>&1 | tail -n 3
done
