#!/usr/bin/env bash
# Results as large as the photo (called by bench/run.sh, or alone with the
# build folder as $1 once the data set exists): the square set (the
# phone-like pictures framed to 4032x4032, edge fill) and the 12-megapixel
# set cropped to 16:9, against the floor, libjpeg-turbo's own djpeg piped into
# cjpeg on one core (the same pictures decoded and encoded at quality 95,
# 4:4:4: the whole source for the square set, the 16:9 crop for the other),
# and against vips gravity on one thread (turning the photos upright as
# kadrix-batch does); then the peak memory of kadrix-batch --jobs 1 with each
# fill. Median of $reps runs, JPEG results at quality 95 4:4:4, the load
# average beside the figures.
set -euo pipefail

source "$(dirname "$0")/timing.sh"
bench_folders "${1:-}" large
report() { # name, total ms, pictures, kadrix-batch's ms
    awk -v name="$1" -v t="$2" -v n="$3" -v ours="$4" \
        'BEGIN { printf "  %-44s %8.1f ms/picture  kadrix-batch %.2fx its time\n", name, t / n, ours / t }'
}

# djpeg piped into cjpeg on one core, over a folder's JPEG files, each
# decoded whole or cropped to the region given.
floor_each() { # folder, region WxH+X+Y or "", --out, folder
    local f
    mkdir -p "$4"
    for f in "$1"/*.jpg; do
        taskset -c 0 sh -c 'djpeg $1 "$2" | cjpeg -quality 95 -sample 1x1 >"$3"' sh \
            "${2:+-crop $2}" "$f" "$4/${f##*/}"
    done
}
# vips gravity on one thread, the photo turned upright first.
vips_each() { # folder, width, height, extend, --out, folder
    local f
    mkdir -p "$6"
    for f in "$1"/*.jpg; do
        VIPS_CONCURRENCY=1 vips gravity "$f[autorotate]" "$6/${f##*/}[Q=95,no_subsample]" \
            centre "$2" "$3" --extend "$4"
    done
}
compare() { # name, folder, kadrix-batch arguments..., then "--" and the floor's region, vips's size
    local name="$1" folder="$2" count ours floor vips
    shift 2
    local args=()
    while [ "$1" != -- ]; do
        args+=("$1")
        shift
    done
    shift
    count=$(ls "$folder"/*.jpg | wc -l)
    echo "-- $name: $count pictures, --jobs 1"
    ours=$(time_runs "$batch" --jobs 1 --format jpeg "${args[@]}" "$folder")
    report "kadrix-batch ${args[*]}" "$ours" "$count" "$ours"
    if command -v djpeg >/dev/null && command -v cjpeg >/dev/null; then
        floor=$(time_runs floor_each "$folder" "$1")
        report "djpeg | cjpeg (the floor, target 1.15x)" "$floor" "$count" "$ours"
    fi
    if command -v vips >/dev/null; then
        vips=$(time_runs vips_each "$folder" "$2" "$3" copy)
        report "vips gravity (1 thread, target 1/1.7x)" "$vips" "$count" "$ours"
    fi
    load
}

echo
"$batch" --jobs 1 --size 4032x4032 --format jpeg --out "$scratch/out" "$data/phone" >/dev/null 2>&1 # warms the file cache
compare "square (phone-like 4032x3024 to 4032x4032, edge fill)" "$data/phone" \
    --size 4032x4032 --fill edge -- "" 4032 4032
compare "set12 cropped to 16:9 (4000x3000 to 4000x2250)" "$data/set12" \
    --size 16:9 -- 4000x2250+0+375 4000 2250

echo
if [ -x /usr/bin/time ]; then
    echo "-- peak memory of kadrix-batch --jobs 1 (target under 48 MB)"
    for fill in colour edge mirror blur; do
        rm -rf "$scratch/out"
        /usr/bin/time -v "$batch" --jobs 1 --size 4032x4032 --fill "$fill" --format jpeg \
            --out "$scratch/out" "$data/phone" 2>&1 >/dev/null |
            awk -v f="$fill" '/Maximum resident set size/ { printf "  square, --fill %-7s %6.1f MB\n", f, $NF / 1024 }'
    done
    rm -rf "$scratch/out"
    /usr/bin/time -v "$batch" --jobs 1 --size 16:9 --format jpeg --out "$scratch/out" "$data/set12" \
        2>&1 >/dev/null |
        awk '/Maximum resident set size/ { printf "  set12 --size 16:9      %6.1f MB\n", $NF / 1024 }'
    load
fi
