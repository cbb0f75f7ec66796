#!/usr/bin/env bash
# Resident memory over a long session: 500 fits of each model, 200 Opens of a 2,000-line
# file, 200 Plots, the results windows closed. Usage: bench/session_memory.sh [build folder]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
"$build/bin/bench_session" 2>/dev/null
