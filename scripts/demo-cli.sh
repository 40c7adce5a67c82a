#!/usr/bin/env bash
# The program's main job without a window, on its embedded default: the Reader
# simulator prints its stored badge measurements, the print-dump parser turns the
# printout into download text, the download is saved as the next automatic data
# file, and sonvex-cli shows the measurements with their calculated values and
# the cursor panels of one time history.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_DIR=${BUILD_DIR:-$ROOT/build}

"$ROOT/scripts/install-deps.sh" >/dev/null
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja >/dev/null
cmake --build "$BUILD_DIR" --target sonvex-cli sonvex-reader-sim

CLI="$BUILD_DIR/bin/sonvex-cli"
SIM=$(find "$BUILD_DIR" -name sonvex-reader-sim -type f -perm -u+x | head -n 1)
WORK=${DEMO_DIR:-$(mktemp -d)}
mkdir -p "$WORK/data files"

table() {
  "$CLI" show "$1" --fields visible \
    | awk -F'\t' -v OFS='\t' -v want="read_order badge MeasTime RunTime leqString lepdString doseString est_doseString peakString settingsCritLevel settingsExchangeRate overload" '
        NR == 1 { n = split(want, w, " "); for (i = 1; i <= NF; i++) col[$i] = i }
        { line = ""; for (k = 1; k <= n; k++) line = line (k > 1 ? OFS : "") $(col[w[k]]); print line }' \
    | column -t -s $'\t'
}

echo
echo "== 1. The simulated Reader prints 5 stored measurements (RM:50A, seed 2026)"
"$SIM" --print 5 --seed 2026 --model RM:50A > "$WORK/printout.prt"
head -n 12 "$WORK/printout.prt" | cut -c1-100
echo "   ... $(wc -l < "$WORK/printout.prt") lines, $(wc -c < "$WORK/printout.prt") bytes in $WORK/printout.prt"

echo
echo "== 2. Parsed and saved as the next automatic download file"
FILE=$(SONVEX_CLI_LOCALE=${SONVEX_CLI_LOCALE:-en_GB} "$CLI" import "$WORK/printout.prt" --data-folder "$WORK/data files")
echo "   $FILE"

echo
echo "== 3. The measurements"
SONVEX_CLI_LOCALE=${SONVEX_CLI_LOCALE:-en_GB} table "$FILE"

echo
echo "== 4. Cursor panels of measurement 1, 09:00 to 11:30"
SONVEX_CLI_LOCALE=${SONVEX_CLI_LOCALE:-en_GB} "$CLI" span "$FILE" --measurement 1 --from 09:00 --to 11:30 | column -t -s $'\t'

echo
echo "== 5. The sample data installed with the program"
SONVEX_CLI_LOCALE=${SONVEX_CLI_LOCALE:-en_GB} table "$ROOT/resources/samples/Sonvex3 Sample Data.kvntm"
