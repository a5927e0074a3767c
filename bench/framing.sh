#!/usr/bin/env bash
# The framing choices' cost (called by bench/run.sh, or alone with the build
# folder as $1 once the data set exists): the "square" set, the phone-like
# pictures framed to 4032x4032 so that margins appear above and below, with
# each fill; the 12-megapixel set framed to 640x480 anchored north-west
# against centred; the subject anchor against the centre anchor and against
# vips smartcrop --interesting attention on one thread (phone-like, 12-MP,
# real-looking scenes and HEIF sets), and how far the subject anchor and vips
# choose apart; a ratio against the fixed size of the same pixels.
# kadrix-batch on one core, JPEG results, median of $reps runs, the load
# average beside the figures.
# With KADRIX_BENCH_REFERENCE naming another build's kadrix-batch (an earlier
# commit), every result of these runs, and their BMP results, must be the
# same bytes as that program writes. With KADRIX_BENCH_PHOTOS naming a folder
# of real JPEG photos, the subject anchor and vips are compared on them too,
# framed to KADRIX_BENCH_PHOTOS_SIZE (360x240 unless said).
set -euo pipefail

source "$(dirname "$0")/timing.sh"
bench_folders "${1:-}" framing
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
# The machine's load, shown beside the figures (it is shared).

# vips smartcrop --interesting attention on one thread, on each file of a
# folder matching a pattern, into the folder after --out.
vips_smartcrop_each() { # folder, pattern, --out, folder
    local f
    mkdir -p "$4"
    for f in "$1"/$2; do
        VIPS_CONCURRENCY=1 vips smartcrop "$f" "$4/$(basename "${f%.*}").jpg[Q=95]" 640 480 \
            --interesting attention
    done
}

# How far the subject anchor and vips smartcrop choose apart on the files of a
# folder matching a pattern, framed to WxH (640x480 unless given): the distance between the two
# windows' centres as a share of the picture (the offsets over its width and
# height, taken together), median and worst. Both measure the upright picture
# (vips's JPEG loader told to turn it); vips centres its window on its
# attention point, kept inside the picture.
subject_distance() { # name, folder, pattern[, WxH]
    local name="$1" folder="$2" pattern="$3" size="${4:-640x480}" f source w h x y ax ay
    local rw="${size%x*}" rh="${size#*x}"
    rm -rf "$scratch/out"
    "$batch" --jobs 1 --json --gravity subject --format jpeg --size "$size" --out "$scratch/out" \
        "$folder"/$pattern \
        2>/dev/null |
        sed -n 's/.*,"height":\([0-9]*\).*"source":"\([^"]*\)".*"width":\([0-9]*\),"x":\(-\{0,1\}[0-9]*\),"y":\(-\{0,1\}[0-9]*\).*/\2 \3 \1 \4 \5/p' \
        >"$scratch/ours"
    while read -r source w h x y; do
        f="$source"
        case "${f##*.}" in jpg | jpeg | JPG | JPEG) f="$f[autorotate]" ;; esac
        { read -r ax && read -r ay; } < <(VIPS_CONCURRENCY=1 vips smartcrop "$f" \
            "$scratch/smartcrop.v" "$rw" "$rh" --interesting attention --attention-x --attention-y)
        awk -v w="$w" -v h="$h" -v x="$x" -v y="$y" -v ax="$ax" -v ay="$ay" -v rw="$rw" -v rh="$rh" 'BEGIN {
            vx = ax - int(rw / 2); if (vx > w - rw) vx = w - rw; if (vx < 0) vx = 0
            vy = ay - int(rh / 2); if (vy > h - rh) vy = h - rh; if (vy < 0) vy = 0
            printf "%.4f\n", sqrt(((x - vx) / w) ^ 2 + ((y - vy) / h) ^ 2) }'
    done <"$scratch/ours" | sort -n | awk -v name="$name" '{ v[NR] = $1 }
        END { printf "  %-34s median %.3f, worst %.3f of the picture (%d files)\n", name,
              v[int((NR + 1) / 2)], v[NR], NR }'
}

# The centre anchor, then north-west and south-east against it, on a folder's
# JPEG files framed to 640x480.
anchors_against_centre() { # folder, target of north-west
    local count centre t anchor target
    count=$(ls "$1"/*.jpg | wc -l)
    centre=$(time_runs "$batch" --jobs 1 --format jpeg "$1")
    report "--gravity centre" "$centre" "$count" "$centre" ""
    for anchor in north-west south-east; do
        target=""
        [ "$anchor" = north-west ] && target="$2"
        t=$(time_runs "$batch" --jobs 1 --format jpeg --gravity "$anchor" "$1")
        report "--gravity $anchor" "$t" "$count" "$centre" "$target"
    done
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
anchors_against_centre "$set12" "(target: the same within noise)"
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
anchors_against_centre "$phone" ""

# The subject anchor measures each picture on a reduced decode before the
# window is decoded; a ratio computes each result's size.
echo
echo "-- subject anchor: 640x480, --jobs 1, JPEG results (target at most 1.5x the centre anchor,"
echo "   2x on HEIF; vips smartcrop --interesting attention on one thread at least 10x slower)"
for set in phone set12 scenes heif; do
    pattern='*.jpg'
    [ "$set" = heif ] && pattern='*.heic'
    ls "$data/$set"/$pattern >/dev/null 2>&1 || continue
    count=$(ls "$data/$set"/$pattern | wc -l)
    centre=$(time_runs "$batch" --jobs 1 --format jpeg "$data/$set")
    report "$set --gravity centre" "$centre" "$count" "$centre" ""
    target="(target at most 1.5x)"
    [ "$set" = heif ] && target="(target at most 2x)"
    [ "$set" = scenes ] && target=""
    subject=$(time_runs "$batch" --jobs 1 --format jpeg --gravity subject "$data/$set")
    report "$set --gravity subject" "$subject" "$count" "$centre" "$target"
    # The measure alone: the reduced decode of the whole picture and the
    # interest it holds, without the window. A JPEG without restart markers
    # is entropy-decoded whole by any reduced decode, so this is the floor.
    t=$(time_runs "$batch" --jobs 1 --format jpeg --gravity subject --dry-run "$data/$set")
    report "$set the measure alone (--dry-run)" "$t" "$count" "$centre" ""
    if command -v vips >/dev/null; then
        t=$(time_runs vips_smartcrop_each "$data/$set" "$pattern")
        report "$set vips smartcrop (1 thread)" "$t" "$count" "$centre" \
            "($(awk -v t="$t" -v s="$subject" 'BEGIN { printf "%.1fx", t / s }') the subject anchor's time)"
    fi
    load
done
if command -v vips >/dev/null; then
    echo
    echo "-- where the subject anchor and vips smartcrop --interesting attention choose, 640x480"
    for set in phone set12 scenes heif; do
        pattern='*.jpg'
        [ "$set" = heif ] && pattern='*.heic'
        ls "$data/$set"/$pattern >/dev/null 2>&1 && subject_distance "$set" "$data/$set" "$pattern"
    done
    if [ -n "${KADRIX_BENCH_PHOTOS:-}" ]; then
        size="${KADRIX_BENCH_PHOTOS_SIZE:-360x240}"
        subject_distance "real photos, $size" "$KADRIX_BENCH_PHOTOS" '*.[jJ][pP]*[gG]' "$size"
    fi
fi
echo
count=$(ls "$set12"/*.jpg | wc -l)
echo "-- ratio: set12 cropped to 16:9 (4000x2250) against the fixed size 4000x2250, --jobs 1"
fixed=$(time_runs "$batch" --jobs 1 --format jpeg --size 4000x2250 "$set12")
report "--size 4000x2250" "$fixed" "$count" "$fixed" ""
t=$(time_runs "$batch" --jobs 1 --format jpeg --size 16:9 "$set12")
report "--size 16:9" "$t" "$count" "$fixed" "(target: the same within noise)"
load
same_bytes --jobs 1 --format jpeg --size 16:9 "$set12"
# HEIF grids (a third turned) and the rows their tiles give, whole and cropped.
if ls "$data/heif"/*.heic >/dev/null 2>&1; then
    for fill in edge blur; do
        same_bytes --jobs 1 --format jpeg --size 4032x4032 --fill "$fill" "$data/heif"
    done
    same_bytes --jobs 1 --format bmp --size 3000x2000 --gravity south-east "$data/heif"
fi
