#!/usr/bin/env bash
# `make bench`: the Google Benchmark programs of the build folder given as $1,
# then the framing comparison on a generated data set: kadrix-batch on one
# core (entering files at restart markers, the default, and decoding from the
# top) and on all, the program's batch run (seek, windowed and whole
# decoding), plain libjpeg loops, and ImageMagick and vips when installed; on
# the phone-like set also the plain loop over bands cut beforehand to the
# window's MCU rows with jpegtran, the floor for files with restart markers.
# Prints the median milliseconds per picture of each, checks the results'
# pixels, and measures the peak memory of kadrix-batch on 24-megapixel sources;
# then the same on iPhone-like HEIC files (the "heif" set) against vips and
# ImageMagick; then the framing choices (framing.sh) and results as large as
# the photo against libjpeg-turbo's djpeg and cjpeg and vips (large.sh).
set -euo pipefail
build="$(cd "${1:-build}" && pwd)"
reps="${KADRIX_BENCH_REPS:-5}"
# KADRIX_BENCH_SETS picks some of the sets, for example "phone camera".
data="$build/bench-data"
scratch="$build/bench-scratch"
batch="$build/cli/kadrix-batch"
export QT_QPA_PLATFORM=offscreen

for b in bench_compositor bench_image_list bench_jpeg bench_orientation bench_placement bench_scan; do
    [ -x "$build/bench/$b" ] || continue
    echo "== $b"
    "$build/bench/$b" --benchmark_min_time=0.5
done

echo "== framing comparison (640x480 JPEG results, quality 95, 4:4:4; median of $reps runs)"
echo "generating the data set in $data (once)..."
"$build/bench/make_bench_set" "$data"
rm -rf "$scratch"
mkdir -p "$scratch"

source "$(dirname "$0")/timing.sh"

# Median wall time in ms of a command over $reps runs, with an empty
# output folder $scratch/out before each (the command names its output).
time_runs() {
    local times=()
    for ((i = 0; i < reps; i++)); do
        rm -rf "$scratch/out"
        mkdir -p "$scratch/out"
        local start
        start=$(now_ms)
        "$@" >/dev/null 2>"$scratch/last.err" || {
            echo "  failed: $*" >&2
            cat "$scratch/last.err" >&2
        }
        times+=($(($(now_ms) - start)))
    done
    printf '%s\n' "${times[@]}" | median
}

# The sources' extension (jpg; heic for the HEIF set).
src=jpg
vips_each() { # vips gravity on each picture of a folder, into $scratch/out
    local ext="$1" options="$2" folder="$3" f
    for f in "$folder"/*."$src"; do
        vips gravity "$f" "$scratch/out/$(basename "${f%."$src"}").$ext$options" centre 640 480 \
            --extend background --background 0
    done
}
magick_all() { # ImageMagick on one thread over a folder, into $scratch/out
    local format="$1" folder="$2"
    shift 2
    MAGICK_THREAD_LIMIT=1 mogrify -path "$scratch/out" -format "$format" "$@" \
        -background black -gravity center -extent 640x480 "$folder"/*."$src"
}

# Bands of the phone-like pictures: the window's MCU rows and one above, cut
# losslessly (once).
bands="$data/phone-bands"
if command -v jpegtran >/dev/null && [ ! -f "$bands/done" ]; then
    mkdir -p "$bands"
    "$build/bench/bench_paths" --print-bands "$data/phone" | while read -r name region; do
        jpegtran -crop "$region" -outfile "$bands/$name" "$data/phone/$name"
    done
    touch "$bands/done"
fi

for set in ${KADRIX_BENCH_SETS:-set12 set24 mixed phone camera}; do
    [ "$set" = heif ] && continue
    folder="$data/$set"
    count=$(ls "$folder"/*.jpg | wc -l)
    echo
    case "$set" in
    phone) echo "-- $set: $count phone-like pictures (4032x3024, 4:2:0, q90, a restart marker per MCU row)" ;;
    camera) echo "-- $set: $count camera-like pictures (6000x4000, 4:2:2, no restart markers)" ;;
    *) echo "-- $set: $count pictures" ;;
    esac
    declare -A ms=()
    one=$(time_runs "$batch" --jobs 1 --format jpeg --out "$scratch/out" "$folder")
    ms["kadrix-batch --jobs 1 (--decode seek)"]=$one
    ms["kadrix-batch --jobs 1 --decode window"]=$(time_runs "$batch" --jobs 1 --decode window --format jpeg --out "$scratch/out" "$folder")
    ms["kadrix-batch (all $(nproc) cores)"]=$(time_runs "$batch" --format jpeg --out "$scratch/out" "$folder")
    band_args=()
    if [ "$set" = phone ] && [ -f "$bands/done" ]; then
        band_args=("$bands")
    fi
    "$build/bench/bench_paths" --benchmark_repetitions="$reps" \
        --benchmark_report_aggregates_only=true --benchmark_format=csv \
        "$folder" "$scratch/paths" "${band_args[@]}" >"$scratch/paths.csv" 2>/dev/null
    while IFS=, read -r name _ real _; do
        name="${name//\"/}"
        case "$name" in
        */iterations:1/real_time_median) ;;
        *) continue ;;
        esac
        name="${name%%/*}"
        ms["$name (in process)"]=$(awk -v t="$real" 'BEGIN { printf "%d", t }')
    done <"$scratch/paths.csv"
    if command -v mogrify >/dev/null; then
        ms["ImageMagick mogrify (1 thread)"]=$(time_runs magick_all jpg "$folder" -quality 95 -sampling-factor 1x1)
    fi
    if command -v vips >/dev/null; then
        ms["vips gravity"]=$(time_runs vips_each jpg "[Q=95,no_subsample]" "$folder")
    fi
    printf '  %-40s %12s %10s\n' "tool" "ms/picture" "vs --jobs 1"
    for name in "${!ms[@]}"; do
        printf '%s\t%s\n' "${ms[$name]}" "$name"
    done | sort -n | while IFS=$'\t' read -r total name; do
        awk -v t="$total" -v n="$count" -v one="$one" -v name="$name" \
            'BEGIN { printf "  %-40s %12.1f %9.2fx\n", name, t / n, t / one }'
    done
    "$build/bench/bench_paths" --benchmark_filter=none "$folder" "$scratch/paths" 2>/dev/null |
        grep identical | sed 's/^/  /'
    unset ms

    if [ "$set" = mixed ]; then
        # Per file: the median of kadrix-batch's own time per source (--json,
        # whose keys come sorted: "ms" before "source").
        rm -f "$scratch/per-file"
        for ((i = 0; i < reps; i++)); do
            rm -rf "$scratch/out"
            "$batch" --jobs 1 --json --format jpeg --out "$scratch/out" "$folder" 2>/dev/null |
                sed -n 's/.*"ms":\([0-9]*\).*"source":"\([^"]*\)".*/\2 \1/p' |
                awk '{ n = split($1, part, "/"); print part[n], $2 }' >>"$scratch/per-file"
        done
        echo "  kadrix-batch --jobs 1 per file (median ms of $reps runs):"
        for f in "$folder"/*.jpg; do
            name=$(basename "$f")
            t=$(awk -v n="$name" '$1 == n { print $2 }' "$scratch/per-file" | median)
            printf '    %-28s %6s ms\n' "$name" "$t"
            eval "per_${name//[^a-z0-9]/_}=$t"
        done
        awk -v g="${per_grey_4000x3000_jpg:-0}" -v o="${per_odd_4001x2999_jpg:-0}" \
            'BEGIN { if (o > 0) printf "    grey_4000x3000.jpg costs %.2fx odd_4001x2999.jpg\n", g / o }'
    fi

    # Pixel checks against our BMP results (lossless on both sides).
    rm -rf "$scratch/ours"
    "$batch" --out "$scratch/ours" "$folder" >/dev/null
    if command -v vips >/dev/null; then
        rm -rf "$scratch/out" && mkdir -p "$scratch/out"
        vips_each png "" "$folder"
        "$build/bench/compare_results" vips "$folder" "$scratch/ours" "$scratch/out" 640 480 any | sed 's/^/  /'
    fi
    if command -v mogrify >/dev/null; then
        rm -rf "$scratch/out" && mkdir -p "$scratch/out"
        magick_all png "$folder"
        "$build/bench/compare_results" ImageMagick "$folder" "$scratch/ours" "$scratch/out" 640 480 even | sed 's/^/  /'
    fi
done
echo "  (kadrix-batch decodes a one-component JPEG to its 256 exact grey levels; the"
echo "   program's window keeps the options dialog's palette of 236 grey levels)"

# HEIC photos: kadrix-batch (decoding only the tiles a result shows, and the
# whole picture), vips and ImageMagick, all through libheif, and the results'
# pixels; then the framing choices (framing.sh) and results as large as the photo
# against libjpeg-turbo's tools and vips (large.sh).
if [[ " ${KADRIX_BENCH_SETS:-heif} " == *" heif "* ]]; then
    src=heic
    folder="$data/heif"
    count=$(ls "$folder"/*.heic | wc -l)
    echo
    echo "-- heif: $count iPhone-like HEIC files (4032x3024 grids of 8x6 HEVC tiles of 512x512, a rotation of 270 on a third)"
    declare -A ms=()
    one=$(time_runs "$batch" --jobs 1 --format jpeg --out "$scratch/out" "$folder")
    ms["kadrix-batch --jobs 1 (tiles)"]=$one
    ms["kadrix-batch --jobs 1 --decode whole"]=$(time_runs "$batch" --jobs 1 --decode whole --format jpeg --out "$scratch/out" "$folder")
    ms["kadrix-batch (all $(nproc) cores)"]=$(time_runs "$batch" --format jpeg --out "$scratch/out" "$folder")
    if command -v mogrify >/dev/null; then
        ms["ImageMagick mogrify (1 thread)"]=$(time_runs magick_all jpg "$folder" -quality 95 -sampling-factor 1x1)
    fi
    if command -v vips >/dev/null; then
        ms["vips gravity"]=$(VIPS_CONCURRENCY=1 time_runs vips_each jpg "[Q=95,no_subsample]" "$folder")
    fi
    printf '  %-40s %12s %10s\n' "tool" "ms/picture" "vs --jobs 1"
    for name in "${!ms[@]}"; do
        printf '%s\t%s\n' "${ms[$name]}" "$name"
    done | sort -n | while IFS=$'\t' read -r total name; do
        awk -v t="$total" -v n="$count" -v one="$one" -v name="$name" \
            'BEGIN { printf "  %-40s %12.1f %9.2fx\n", name, t / n, t / one }'
    done
    unset ms
    rm -rf "$scratch/ours"
    "$batch" --out "$scratch/ours" "$folder" >/dev/null
    if command -v vips >/dev/null; then
        rm -rf "$scratch/out" && mkdir -p "$scratch/out"
        vips_each png "" "$folder"
        "$build/bench/compare_results" vips "$folder" "$scratch/ours" "$scratch/out" 640 480 any '*.heic' | sed 's/^/  /'
    fi
    if command -v mogrify >/dev/null; then
        rm -rf "$scratch/out" && mkdir -p "$scratch/out"
        magick_all png "$folder"
        "$build/bench/compare_results" ImageMagick "$folder" "$scratch/ours" "$scratch/out" 640 480 any '*.heic' | sed 's/^/  /'
    fi
    src=jpg
fi

bash "$(dirname "$0")/framing.sh" "$build"
bash "$(dirname "$0")/large.sh" "$build"

echo
if [ -x /usr/bin/time ]; then
    # The last: a grid without a thumbnail measured for the subject anchor.
    for run in set24/large100.jpg camera/camera100.jpg heif-large/large100.heic \
        heif-huge/huge100.heic "heif-huge/huge100.heic --gravity subject"; do
        read -r source anchor <<<"$run"
        rm -rf "$scratch/out"
        /usr/bin/time -v "$batch" --jobs 1 --format jpeg $anchor --out "$scratch/out" "$data/$source" \
            2>&1 >/dev/null | awk -v s="$run" '/Maximum resident set size/ { printf "peak memory of kadrix-batch --jobs 1 on %s: %.1f MB\n", s, $NF / 1024 }'
    done
else
    echo "peak memory not measured: /usr/bin/time is missing"
fi
