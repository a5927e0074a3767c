#!/usr/bin/env bash
# Renders the README's pictures (docs/*.png) under a virtual X server with a
# small window manager, openbox, so that window frames and titles show.
# Usage: tools/render-docs.sh BUILD_DIR [OUTPUT_DIR]
set -euo pipefail
build=${1:-build}
out=${2:-docs}
formshot=$(realpath "$build/tools/formshot")
mkdir -p "$out"
out=$(realpath "$out")
# The virtual display's own runtime folder, so nothing of the caller's
# desktop session is touched.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24" \
    bash -c 'openbox --sm-disable & wm=$!; sleep 1; "$0" "$1"; status=$?; kill $wm; exit $status' \
    "$formshot" "$out"
