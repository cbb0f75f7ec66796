#!/usr/bin/env bash
# Resident memory over a long session: 500 fits of each model, 200 Opens of a 2,000-line
# file, 200 Plots, the results windows closed. Usage: bench/session_memory.sh [build folder]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/environment.sh"
"$build/bin/bench_session" 2>/dev/null
