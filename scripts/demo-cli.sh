#!/usr/bin/env bash
# The program's main job without a window, on its embedded sample data:
# builds sonvex-cli and prints the measurement table with its calculated values.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

"$ROOT/scripts/install-deps.sh" >/dev/null
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target sonvex-cli

SAMPLE="$ROOT/resources/samples/demo-measurements.xml"
echo
echo "== Measurements in $(basename "$SAMPLE") =="
"$BUILD_DIR/bin/sonvex-cli" show "$SAMPLE" --fields visible \
  | awk -F'\t' -v OFS='\t' -v want="badge MeasTime RunTime leqString lepdString doseString est_doseString peakString settingsCritLevel settingsExchangeRate overload" '
      NR == 1 { n = split(want, w, " "); for (i = 1; i <= NF; i++) col[$i] = i }
      { line = ""; for (k = 1; k <= n; k++) line = line (k > 1 ? OFS : "") $(col[w[k]]); print line }' \
  | column -t -s $'\t'
