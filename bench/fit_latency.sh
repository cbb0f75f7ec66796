#!/usr/bin/env bash
# Latency of the fit commands: first of a process and warm, each model, beside the bare
# fit-module call. Usage: bench/fit_latency.sh [build folder]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/environment.sh"
for model in double single; do
    for run in 1 2 3; do
        "$build/bin/bench_latency" "$model" 50 2>/dev/null
    done
done
echo "numpy + scipy.optimize import in a fresh Python:"
/usr/bin/python3 -X importtime -c "import numpy, scipy.optimize" 2>&1 | tail -n 1
