#!/usr/bin/env bash
# Runs every benchmark of the build folder given as $1.
set -euo pipefail
build="${1:-build}"
for b in "$build"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    QT_QPA_PLATFORM=offscreen "$b" --benchmark_min_time=0.5
done
