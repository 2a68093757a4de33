#!/usr/bin/env bash
# `lumeris render` against two other ways of producing the same picture, on the same inputs:
# (a) an ImageMagick command with the same look (padding, rounded corners, shadow, gradient
# background) and (b) headless Chromium screenshotting the very document lumeris renders.
# For each engine: the first image and the steady state (seconds per image over a batch of 20),
# and peak resident memory (for lumeris, of its own process and of its web process). Inputs are
# dense app screens (a header, a sidebar, about 40 lines of small text).
#
# Usage: bench/render-compare.sh [BUILD_DIR]   (default build-bench, from `make bench`)
# COUNT=N images per batch (20); BEFORE=other/lumeris adds its rows; ONLY_LUMERIS=1 skips the
# other engines.
# Needs imagemagick, xvfb and chromium (apt-get install chromium).
set -euo pipefail
build=$(realpath "${1:-build-bench}")
lumeris=$build/lumeris
writer=$build/bench/document_writer
resources=$(realpath "$(dirname "$0")/../resources")
chromium=$(command -v chromium || true)
count=${COUNT:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

now() { date +%s.%N; }
seconds() { echo "$2 - $1" | bc -l; }

# The process ids below $1 (children, their children, ...).
descendants() {
    local child
    for child in $(pgrep -P "$1" || true); do
        echo "$child"
        descendants "$child"
    done
}

# Peak VmHWM (kB) of a process tree while it runs: "<own> <largest descendant named like $2>".
# Only this run's processes count, not those of other programs on the machine.
watchPeaks() {
    local root=$1 childName=$2 own=0 child=0
    while kill -0 "$root" 2>/dev/null; do
        local hwm
        hwm=$(awk '/VmHWM/ {print $2}' "/proc/$root/status" 2>/dev/null || echo 0)
        ((hwm > own)) && own=$hwm
        for pid in $(descendants "$root"); do
            grep -q "$childName" "/proc/$pid/cmdline" 2>/dev/null || continue
            hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
            ((hwm > child)) && child=$hwm
        done
        sleep 0.05
    done
    echo "$own $child"
}

# A dense app screen, as people capture them: a dark header, a sidebar and about 40 lines of
# small text (scale 2 at 2880 × 1800), with an address and a host to find.
makeInputs() { # size prefix
    local scale=1 line lines
    [[ $1 == 2880x1800 ]] && scale=2
    for i in $(seq 1 $count); do
        lines=()
        for line in $(seq 1 40); do
            lines+=(-annotate "+$((290 * scale))+$(((80 + 20 * line) * scale))"
                "Build $i.$line finished in $((line % 7 + 1)) min $((line * 3 % 60)) s; $((line * 11)) tests passed, 0 failed; report mailed to ci-$line@example.org from 10.0.$i.$line")
        done
        convert -size "$1" xc:'#f6f6f6' \
            -fill '#1f2430' -draw "rectangle 0,0 $((1440 * scale)),$((56 * scale))" \
            -fill '#e8e8e8' -draw "rectangle 0,$((56 * scale)) $((260 * scale)),$((900 * scale))" \
            -font DejaVu-Sans -pointsize $((14 * scale)) -fill white \
            -annotate "+$((24 * scale))+$((36 * scale))" "Release notes $i   signed in as dana@example.com" \
            -pointsize $((12 * scale)) -fill "#2b2b2b" "${lines[@]}" -depth 8 "$work/$2-$i.png"
    done
}

look=(--set settings.background-id=custom --set settings.bg-color.option=gradient)

report() { # engine size first steady peak
    printf '| %s | %s | %.2f s | %.2f s | %s |\n' "$1" "$2" "$3" "$4" "$5"
}

echo "| Engine | Input | First image | Steady state (per image) | Peak memory |"
echo "|---|---|---|---|---|"
for size in 1440x900 2880x1800; do
    makeInputs "$size" "$size"
    inputs=("$work/$size"-*.png)

    # lumeris: one run for the first image, as a new user's first (no settings, no cached
    # pictures), one run over the batch; then the same with auto-redaction (OCR of every input)
    # on. BEFORE=path/to/lumeris adds the rows of another build, for a side-by-side comparison.
    for binary in "$lumeris" ${BEFORE:+"$BEFORE"}; do
    for redact in false true; do
        settings=("${look[@]}" --set "settings.auto-redact=$redact")
        fresh=$(mktemp -d -p "$work")
        start=$(now)
        XDG_CONFIG_HOME=$fresh/config XDG_DATA_HOME=$fresh/data XDG_CACHE_HOME=$fresh/cache \
            "$binary" render -q -d "$work/out-first" "${settings[@]}" "${inputs[0]}"
        first=$(seconds "$start" "$(now)")
        start=$(now)
        XDG_CONFIG_HOME=$fresh/config XDG_DATA_HOME=$fresh/data XDG_CACHE_HOME=$fresh/cache \
            "$binary" render -q -d "$work/out-l-$size" "${settings[@]}" "${inputs[@]}" &
        peaks=$(watchPeaks $! WebKitWebProcess)
        wait $!
        total=$(seconds "$start" "$(now)")
        steady=$(echo "($total - $first) / ($count - 1)" | bc -l)
        read -r own web <<<"$peaks"
        label="lumeris render"
        [[ $redact == true ]] && label="lumeris render, auto-redact (OCR)"
        [[ $binary != "$lumeris" ]] && label="$label, before"
        report "$label" "$size" "$first" "$steady" \
            "$((own / 1024)) MB + web process $((web / 1024)) MB"
    done
    done
    [[ -n ${ONLY_LUMERIS:-} ]] && continue

    # ImageMagick: one process per image, as a script would run it.
    read -r width height < <("$writer" "${inputs[0]}" "$work/probe.html")
    times=()
    peak=0
    for input in "${inputs[@]}"; do
        start=$(now)
        /usr/bin/time -f %M -o "$work/mem" convert "$input" \
            \( +clone -alpha extract -draw "fill black polygon 0,0 0,20 20,0 fill white circle 20,20 20,0" \
               \( +clone -flip \) -compose Multiply -composite \( +clone -flop \) -compose Multiply -composite \) \
            -alpha off -compose CopyOpacity -composite \
            \( +clone -background black -shadow 40x25+0+15 \) +swap -background none -compose Over \
            -layers merge +repage \
            \( -size "${width}x${height}" gradient:'#c04180'-'#e55074' \) +swap -gravity center \
            -compose Over -composite -depth 8 -interlace PNG "$work/im.png"
        times+=("$(seconds "$start" "$(now)")")
        mem=$(cat "$work/mem"); ((mem > peak)) && peak=$mem
    done
    rest=$(printf '%s\n' "${times[@]:1}" | paste -sd+ | bc -l)
    report "ImageMagick convert" "$size" "${times[0]}" "$(echo "$rest / ($count - 1)" | bc -l)" "$((peak / 1024)) MB"

    # Chromium: the same document, one headless process per image.
    if [[ -n $chromium ]]; then
        cp "$resources"/web/*.css "$resources"/web/*.js "$work/"
        times=()
        peak=0
        for input in "${inputs[@]}"; do
            read -r width height < <("$writer" "$input" "$work/doc.html")
            start=$(now)
            /usr/bin/time -f %M -o "$work/mem" "$chromium" --headless --no-sandbox --disable-gpu \
                --hide-scrollbars --default-background-color=00000000 \
                --window-size="$width,$height" --screenshot="$work/chromium.png" \
                "file://$work/doc.html" >/dev/null 2>&1
            times+=("$(seconds "$start" "$(now)")")
            mem=$(cat "$work/mem"); ((mem > peak)) && peak=$mem
        done
        rest=$(printf '%s\n' "${times[@]:1}" | paste -sd+ | bc -l)
        report "Chromium --headless --screenshot" "$size" "${times[0]}" \
            "$(echo "$rest / ($count - 1)" | bc -l)" "$((peak / 1024)) MB (largest process)"
    else
        echo "| Chromium | $size | not installed (apt-get install chromium) | | |"
    fi
done
