#!/usr/bin/env bash
# Builds the benchmarks (Release) and prints their figures.
#   scripts/bench.sh              every benchmark
#   scripts/bench.sh dataset      only bench_*dataset*
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_DIR=${BUILD_DIR:-$ROOT/build-bench}
"$ROOT/scripts/install-deps.sh" >/dev/null
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONVEX_BUILD_BENCH=ON \
      -DSONVEX_BUILD_TESTS=OFF -DSONVEX_BUILD_GUI=OFF >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
for b in "$BUILD_DIR"/bench/bench_*${1:-}*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  "$b" | grep -E '^(RESULT|     [0-9.]+ msecs|[A-Za-z].*: )' || true
done
