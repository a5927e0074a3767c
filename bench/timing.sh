# Timing helpers shared by the bench scripts (sourced, not run). A script
# sourcing this sets $reps (runs per figure) and $scratch (its work folder),
# most of them with bench_folders below.

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
load() { echo "  (load average: $(uptime | sed 's/.*load average: //'))"; }

# Median wall time in ms of a kadrix-batch command over $reps runs, each
# into an emptied "$scratch/out" (added as --out).
time_runs() {
    local times=() i start
    for ((i = 0; i < reps; i++)); do
        rm -rf "$scratch/out"
        start=$(now_ms)
        "$@" --out "$scratch/out" >/dev/null 2>"$scratch/last.err" || cat "$scratch/last.err" >&2
        times+=($(($(now_ms) - start)))
    done
    printf '%s\n' "${times[@]}" | median
}

# The build folder (made absolute), runs per figure, the data set, the
# script's own work folder (made) and kadrix-batch.
bench_folders() { # build folder (build if empty), name of the work folder
    build="$(cd "${1:-build}" && pwd)"
    reps="${KADRIX_BENCH_REPS:-5}"
    data="$build/bench-data"
    scratch="$build/bench-scratch/$2"
    batch="$build/cli/kadrix-batch"
    mkdir -p "$scratch"
}
