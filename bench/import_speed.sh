#!/usr/bin/env bash
# Makes two-column CSV files of 100,000 and 1,000,000 lines and times their import through
# File > Open of the real window. Usage: bench/import_speed.sh [build folder]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/environment.sh"
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
