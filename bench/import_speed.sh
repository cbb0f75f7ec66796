#!/usr/bin/env bash
# Makes two-column CSV files of 100,000 and 1,000,000 lines and times their import through
# File > Open of the real window. Usage: bench/import_speed.sh [build folder]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
for lines in 100000 1000000; do
    /usr/bin/python3 -c "
import random
random.seed(1)
with open('$work/samples.csv', 'w') as f:
    for i in range($lines):
        f.write('%.4f,%.6g\n' % (i * 0.01, 100 * random.random()))
"
    for run in 1 2 3; do
        printf '%8d lines, run %d: ' "$lines" "$run"
        (cd "$work" && "$build/bin/bench_import" "$work/samples.csv")
    done
done
