#!/usr/bin/env bash
# Shows Sonvex at work: the desktop program when a display is available, otherwise the
# command-line pipeline of scripts/demo-cli.sh.
#   scripts/demo.sh               the window (with $DISPLAY set), else the command-line demo
#   scripts/demo.sh --headless    always the command-line demo
# Other arguments go to the program started. BUILD_DIR (default: build) can be set.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

headless=0
args=()
for a in "$@"; do
  if [ "$a" = "--headless" ]; then headless=1; else args+=("$a"); fi
done

if [ -n "${DISPLAY:-}" ] && [ "$headless" -eq 0 ]; then
  BUILD_DIR=${BUILD_DIR:-$ROOT/build}
  "$ROOT/scripts/install-deps.sh" >/dev/null
  cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja >/dev/null
  cmake --build "$BUILD_DIR" --target sonvex
  # A running Sonvex is brought to the front instead of starting a second one.
  exec "$BUILD_DIR/bin/sonvex" "${args[@]}"
fi

if [ -x "$ROOT/scripts/demo-cli.sh" ]; then
  exec "$ROOT/scripts/demo-cli.sh" "${args[@]}"
fi
echo "demo.sh: no display for the window and no command-line demo (scripts/demo-cli.sh) here" >&2
exit 1
