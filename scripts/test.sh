#!/usr/bin/env bash
# Installs what is missing, configures, builds and runs every test headless.
#   scripts/test.sh                 all tests
#   scripts/test.sh -R dataset      only tests whose name matches
# BUILD_DIR (default: build) and JOBS (default: number of cores) can be set.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}

"$ROOT/scripts/install-deps.sh"

cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DSONVEX_BUILD_TESTS=ON >/dev/null
cmake --build "$BUILD_DIR" -j "$JOBS"

# Tests never see the real user's settings, folders or display.
TEST_HOME=$(mktemp -d)
trap 'rm -rf "$TEST_HOME"' EXIT
export HOME=$TEST_HOME XDG_CONFIG_HOME=$TEST_HOME/config XDG_DATA_HOME=$TEST_HOME/data \
       XDG_CACHE_HOME=$TEST_HOME/cache XDG_RUNTIME_DIR=$TEST_HOME/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=offscreen

set +e
ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS" "$@"
rc=$?
# Times are wall-clock values: the non-visual tests run again in a zone with daylight saving.
if [ $rc -eq 0 ] && [ $# -eq 0 ]; then
  echo "test.sh: again under TZ=America/New_York (data, instruments, sim, cli)"
  TZ=America/New_York ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS" -L 'data|instruments|sim|cli'
  rc=$?
fi
set -e
if [ $rc -eq 0 ]; then
  echo "test.sh: ALL TESTS PASSED"
else
  echo "test.sh: TESTS FAILED (ctest exit code $rc)"
fi
exit $rc
