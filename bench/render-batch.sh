#!/usr/bin/env bash
# Wall time of `lumeris render` over a batch, per image: a UI-like 1440 x 900 screenshot (flat
# colours and text, a small PNG) and a photo-like one (noise, a 7 MB PNG), ten of each.
# Usage: bench/render-batch.sh [BUILD_DIR]   (default: build)
set -euo pipefail
build=${1:-build}
lumeris=$(realpath "$build/lumeris")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for i in $(seq 1 10); do
    convert -size 1440x900 xc:'#f6f6f6' -fill '#2b2b2b' -font DejaVu-Sans -pointsize 15 \
        -annotate +40+60 "Release notes $i" -fill '#555555' \
        -annotate +40+100 "Build $i finished in 3 min 12 s; 418 tests passed, 0 failed." \
        -fill '#d0e4ff' -draw "rectangle 40,140 1400,860" "$work/ui-$i.png"
    convert -size 1440x900 plasma:fractal -seed "$i" "$work/photo-$i.png" 2>/dev/null
done

run() {
    local label=$1
    shift
    local start end
    start=$(date +%s.%N)
    "$lumeris" render -q -d "$work/out" "$@"
    end=$(date +%s.%N)
    printf '%-44s %6.0f ms per image\n' "$label" "$(echo "($end - $start) * 1000 / 10" | bc -l)"
}

run "UI-like, recognition off" --set settings.auto-redact=false "$work"/ui-*.png
run "UI-like, auto-redact on (OCR)" "$work"/ui-*.png
run "photo-like, recognition off" --set settings.auto-redact=false "$work"/photo-*.png
