#!/usr/bin/env bash
# Fuzzes the CSV reader with libFuzzer (clang, AddressSanitizer, UBSan) and keeps new
# interesting inputs in tests/fuzz/corpus, which the test suite replays.
# Usage: bench/fuzz_csv.sh [seconds, default 600]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-600}
for package in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
        || DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >&2
done
build=$here/build-fuzz
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DZELKORA_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target fuzz_csv >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/new"
export ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
"$build/bin/fuzz_csv" -max_total_time="$seconds" -max_len=4096 -timeout=10 -print_final_stats=1 \
    "$work/new" "$here/tests/fuzz/corpus" 2>&1 | grep -E "^(#[0-9]+ *DONE|stat::|==|SUMMARY|artifact)" || true
# Keep a small corpus: merge what was found into the smallest set with the same coverage.
mkdir -p "$work/merged"
"$build/bin/fuzz_csv" -merge=1 "$work/merged" "$here/tests/fuzz/corpus" "$work/new" >/dev/null 2>&1
rm -f "$here"/tests/fuzz/corpus/*
cp "$work"/merged/* "$here/tests/fuzz/corpus/"
echo "corpus: $(ls "$here/tests/fuzz/corpus" | wc -l) inputs"
