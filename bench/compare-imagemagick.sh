#!/usr/bin/env bash
# Runs the encoder and border-colour benchmarks, then ImageMagick on the very same pixels:
#   convert -interlace PNG, convert -interlace JPEG -quality 90, and -trim's border detection.
# Usage: bench/compare-imagemagick.sh [build-dir]   (default build-bench, made by `make bench`)
set -euo pipefail
dir=${1:-build-bench}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

LUMERIS_BENCH_WRITE_INPUT="$work/composition.pam" "$dir/bench/bench_ImageEncoderBench"
LUMERIS_BENCH_WRITE_SCREENSHOT="$work/screenshot.pam" "$dir/bench/bench_BorderColorBench"

# Mean wall time of a command over N runs, in milliseconds.
mean_ms() {
    local runs=$1; shift
    local start end
    start=$(date +%s%N)
    for _ in $(seq "$runs"); do "$@" >/dev/null; done
    end=$(date +%s%N)
    echo $(( (end - start) / runs / 1000000 ))
}

echo
echo "ImageMagick ($(convert -version | head -1 | cut -d' ' -f2-3)), same pixels:"
png_ms=$(mean_ms 5 convert "$work/composition.pam" -strip -interlace PNG "$work/im.png")
jpg_ms=$(mean_ms 5 convert "$work/composition.pam" -strip -interlace JPEG -quality 90 "$work/im.jpg")
trim_ms=$(mean_ms 5 convert "$work/screenshot.pam" -fuzz 5% -format '%@' info:)
echo "  convert -interlace PNG            ${png_ms} ms  $(stat -c %s "$work/im.png") bytes"
echo "  convert -interlace JPEG -quality 90  ${jpg_ms} ms  $(stat -c %s "$work/im.jpg") bytes"
echo "  convert -fuzz 5% -format %@ (trim box)  ${trim_ms} ms"
echo "(ImageMagick times include process start and reading the PAM file.)"
