#!/usr/bin/env bash
# Runs fuzz targets for a bounded time each, niced, at most two at a time.
#   fuzz/run.sh <build folder> <seconds per target> [target...]
# An input that takes a target more than a few seconds (the HEIF targets) is
# reported as a finding (a timeout), as a slow input is a fault there.
# Every allocation is filled (ASan's fill byte), so that what a decoder
# leaves unwritten (libde265 on a damaged stream) is the same in every decode
# and the targets' pixel comparisons judge the program, not the heap.
# Each target keeps its growing corpus in <build>/corpus/<target>, starts
# from the generated seeds, and writes any crashing input to
# <build>/artifacts/<target>/; its log is <build>/logs/<target>.log.
# Exits non-zero when any target found a crash.
set -uo pipefail

build=${1:?build folder}
seconds=${2:?seconds per target}
shift 2
targets=("$@")
if ((${#targets[@]} == 0)); then
    targets=(fuzz_jpeg fuzz_exif fuzz_qt_picture fuzz_integer fuzz_naming fuzz_filter fuzz_heif fuzz_heif_boxes fuzz_heif_tile)
fi

# x265 (writing the HEIF seeds) keeps a few blocks until the process ends.
ASAN_OPTIONS=detect_leaks=0 "$build/make_seeds" "$build/seeds" || exit 1
mkdir -p "$build/logs"

run_one() {
    local target=$1 seeds=${1#fuzz_} timeout=20
    case $target in fuzz_heif | fuzz_heif_boxes) timeout=5 ;; esac
    mkdir -p "$build/corpus/$target" "$build/artifacts/$target"
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:max_malloc_fill_size=2147483647 \
        nice -n 10 "$build/$target" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=3072 \
        -print_final_stats=1 -artifact_prefix="$build/artifacts/$target/" \
        "$build/corpus/$target" "$build/seeds/$seeds" >"$build/logs/$target.log" 2>&1
    local status=$?
    echo "$target: exit $status, $(grep -E '^#[0-9]+.*(DONE|cov:)' "$build/logs/$target.log" | tail -1)"
    return $status
}

failed=0
pids=()
for target in "${targets[@]}"; do
    run_one "$target" &
    pids+=($!)
    if ((${#pids[@]} == 2)); then
        wait "${pids[0]}" || failed=1
        pids=("${pids[1]}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit $failed
