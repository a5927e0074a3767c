# Timing helpers shared by the bench scripts (sourced, not run). The script
# sourcing this sets $reps (runs per figure) and $scratch (its work folder).

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
