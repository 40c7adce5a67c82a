#!/usr/bin/env bash
# Runs the program's main job on its embedded default.
set -euo pipefail
exec "$(dirname "$0")/demo-cli.sh" "$@"
