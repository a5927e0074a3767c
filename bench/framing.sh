#!/usr/bin/env bash
# The framing choices' cost (called by bench/run.sh, or alone with the build
# folder as $1 once the data set exists): the "square" set, the phone-like
# pictures framed to 4032x4032 so that margins appear above and below, with
# each fill; and the 12-megapixel set framed to 640x480 anchored north-west
# against centred. kadrix-batch on one core, JPEG results, median of $reps runs.
# With KADRIX_BENCH_REFERENCE naming another build's kadrix-batch (an earlier
# commit), every result of these runs, and their BMP results, must be the
# same bytes as that program writes.
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
reps="${KADRIX_BENCH_REPS:-5}"
data="$build/bench-data"
scratch="$build/bench-scratch/framing"
batch="$build/cli/kadrix-batch"
mkdir -p "$scratch"

now_ms() { echo $(($(date +%s%N) / 1000000)); }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
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
# Whether kadrix-batch writes the same bytes as the reference program.
same_bytes() { # arguments of both runs
    [ -n "${KADRIX_BENCH_REFERENCE:-}" ] || return 0
    rm -rf "$scratch/ours" "$scratch/theirs"
    "$batch" "$@" --out "$scratch/ours" >/dev/null 2>&1 || true
    "$KADRIX_BENCH_REFERENCE" "$@" --out "$scratch/theirs" >/dev/null 2>&1 || true
    local total=0 differing=0 f
    for f in "$scratch/theirs"/*; do
        total=$((total + 1))
        cmp -s "$f" "$scratch/ours/${f##*/}" || differing=$((differing + 1))
    done
    [ "$(ls "$scratch/ours" | wc -l)" -eq "$total" ] || differing=$((differing + 1))
    printf '  %-60s %s of %s results byte-identical to the reference\n' "${*:1:$(($# - 1))}" \
        $((total - differing)) "$total"
}
report() { # name, total ms, pictures, reference ms, target
    awk -v name="$1" -v t="$2" -v n="$3" -v ref="$4" -v target="$5" \
        'BEGIN { printf "  %-34s %9.1f ms/picture %6.2fx %s\n", name, t / n, t / ref, target }'
}

echo
square="$data/phone"
count=$(ls "$square"/*.jpg | wc -l)
echo "-- square: $count phone-like pictures (4032x3024) framed to 4032x4032, --jobs 1, JPEG results"
"$batch" --jobs 1 --size 4032x4032 --format jpeg --out "$scratch/out" "$square" >/dev/null 2>&1 # warms the file cache
colour=$(time_runs "$batch" --jobs 1 --size 4032x4032 --format jpeg "$square")
report "--fill colour" "$colour" "$count" "$colour" ""
for fill in edge mirror blur; do
    target="(target at most 1.1x)"
    [ "$fill" = blur ] && target="(target at most 1.3x)"
    t=$(time_runs "$batch" --jobs 1 --size 4032x4032 --format jpeg --fill "$fill" "$square")
    report "--fill $fill" "$t" "$count" "$colour" "$target"
done
for fill in colour edge mirror blur; do
    for format in jpeg bmp; do
        same_bytes --jobs 1 --size 4032x4032 --fill "$fill" --format "$format" "$square"
    done
done

echo
set12="$data/set12"
count=$(ls "$set12"/*.jpg | wc -l)
echo "-- set12: $count pictures (4000x3000) framed to 640x480, --jobs 1, JPEG results"
centre=$(time_runs "$batch" --jobs 1 --format jpeg "$set12")
report "--gravity centre" "$centre" "$count" "$centre" ""
t=$(time_runs "$batch" --jobs 1 --format jpeg --gravity north-west "$set12")
report "--gravity north-west" "$t" "$count" "$centre" "(target: the same within noise)"
t=$(time_runs "$batch" --jobs 1 --format jpeg --gravity south-east "$set12")
report "--gravity south-east" "$t" "$count" "$centre" ""
for anchor in centre north-west; do
    same_bytes --jobs 1 --format jpeg --gravity "$anchor" "$set12"
done
same_bytes --jobs 1 --format jpeg --size 4000x2250 --gravity centre "$set12"

# Without restart markers a windowed decode reads every row down to the
# window's bottom edge, so an anchor lower in the picture costs more rows; the
# phone-like files, with a marker per MCU row, are entered just above it.
echo
phone="$data/phone"
count=$(ls "$phone"/*.jpg | wc -l)
echo "-- phone: $count phone-like pictures (restart markers) framed to 640x480, --jobs 1, JPEG results"
centre=$(time_runs "$batch" --jobs 1 --format jpeg "$phone")
report "--gravity centre" "$centre" "$count" "$centre" ""
for anchor in north-west south-east; do
    t=$(time_runs "$batch" --jobs 1 --format jpeg --gravity "$anchor" "$phone")
    report "--gravity $anchor" "$t" "$count" "$centre" ""
done

# The subject anchor measures each picture on a reduced decode before the
# window is decoded; a ratio computes each result's size.
echo
echo "-- subject anchor: 640x480, --jobs 1, JPEG results (target at most 1.5x the centre anchor)"
subject_against_centre() { # name, folder, extension of its pictures, target
    local count centre t
    count=$(ls "$2"/*."$3" | wc -l)
    centre=$(time_runs "$batch" --jobs 1 --format jpeg "$2")
    report "$1 --gravity centre" "$centre" "$count" "$centre" ""
    t=$(time_runs "$batch" --jobs 1 --format jpeg --gravity subject "$2")
    report "$1 --gravity subject" "$t" "$count" "$centre" "$4"
}
for set in phone set12; do
    subject_against_centre "$set" "$data/$set" jpg "(target at most 1.5x)"
done
heif="$data/heif"
if ls "$heif"/*.heic >/dev/null 2>&1; then
    subject_against_centre heif "$heif" heic "(target at most 2x)"
fi
echo
count=$(ls "$set12"/*.jpg | wc -l)
echo "-- ratio: set12 cropped to 16:9 (4000x2250) against the fixed size 4000x2250, --jobs 1"
fixed=$(time_runs "$batch" --jobs 1 --format jpeg --size 4000x2250 "$set12")
report "--size 4000x2250" "$fixed" "$count" "$fixed" ""
t=$(time_runs "$batch" --jobs 1 --format jpeg --size 16:9 "$set12")
report "--size 16:9" "$t" "$count" "$fixed" "(target: the same within noise)"
