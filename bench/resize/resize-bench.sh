#!/usr/bin/env bash
# Resizes one photo-like 24 MP JPEG (6000 x 4000) to each of the Resize dialog's eight
# presets and to twice its size, as whole processes (decode, resize, encode as JPEG quality
# 98 without chroma subsampling), one run each: brivane resize --file, libvips' resize
# (lanczos3) and ImageMagick's -resize (its default filter). Peak memory of each run too.
# Then the quality of our averaging: the PSNR of each preset against ImageMagick's
# -filter Box -resize of the same photo (both written as PNG).
# Never fails a build: exits 0.
#
#   bench/resize/resize-bench.sh [BUILD_DIR]     (default: build)

set -u
build=${1:-build}
brivane=$build/bin/brivane
data=$build/bench-data
convert=/usr/bin/convert   # the real ImageMagick, not a stand-in earlier on PATH
compare=/usr/bin/compare
say() { printf '%s\n' "$*"; }

if [ ! -x "$brivane" ]; then
  cmake --build "$build" --target brivane > /dev/null 2>&1 ||
    { say "resize: could not build brivane in $build"; exit 0; }
fi
command -v vips > /dev/null || say "resize: vips not found; no libvips figures"
[ -x "$convert" ] || say "resize: $convert not found; no ImageMagick figures"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$data"
source "$(dirname "$0")/../photo-maker.sh"
photo=$(make_photo photo-24mp 6000 4000)
[ -s "$photo" ] || { say "resize: could not make the test photo"; exit 0; }

# Milliseconds and peak resident megabytes of one whole command ("failed -" when it fails
# or writes nothing).
timed() {  # output-file command...
  local file=$1 program=$2
  shift
  rm -f "$file"
  if /usr/bin/time -f '%e %M' -o "$work/time" timeout 600 "$@" > /dev/null 2> "$work/err" && [ -s "$file" ]; then
    awk '{ printf "%.0f %.0f", $1 * 1000, $2 / 1024 }' "$work/time"
  else
    echo "failed -"
    echo "$size, $program: $(grep -v '^Command exited' "$work/err" | tail -1)" >> "$work/failures"
  fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", a / b; else print "-" }'; }

cat "$photo" > /dev/null
"$brivane" --help > /dev/null 2>&1
vips --version > /dev/null 2>&1
"$convert" -version > /dev/null 2>&1

say "Resizing a 6000x4000 JPEG, written as JPEG quality 98 without chroma subsampling;"
say "whole processes (decode, resize, encode), one run each, $(nproc) cores. ms and peak MB."
say "Ratios above 1 mean ours took less time."
say ""
printf '%-11s %8s %8s %8s %7s %7s %7s %9s %7s\n' "size" "ours ms" "vips ms" "IM ms" "ours MB" "vips MB" "IM MB" "vips/ours" "IM/ours"
for size in 320x200 640x400 640x480 800x600 1024x768 1152x864 1280x1024 1600x1200 12000x8000; do
  w=${size%x*} h=${size#*x}
  read -r ours ours_mb <<< "$(timed "$work/ours.jpg" "$brivane" resize --file "$photo" "$work/ours.jpg" "$size")"
  read -r theirs_v vips_mb <<< "$(timed "$work/vips.jpg" vips resize "$photo" "$work/vips.jpg[Q=98,subsample-mode=off]" \
    "$(awk -v a="$w" 'BEGIN { print a / 6000 }')" --vscale "$(awk -v a="$h" 'BEGIN { print a / 4000 }')" --kernel lanczos3)"
  read -r theirs_m magick_mb <<< "$(timed "$work/magick.jpg" "$convert" "$photo" -resize "${size}!" -quality 98 -sampling-factor 1x1 "$work/magick.jpg")"
  printf '%-11s %8s %8s %8s %7s %7s %7s %9s %7s\n' "$size" "$ours" "$theirs_v" "$theirs_m" "$ours_mb" "$vips_mb" "$magick_mb" \
    "$(ratio "$theirs_v" "$ours")" "$(ratio "$theirs_m" "$ours")"
done
say ""
say "(12000x8000 is twice the photo's size: our bicubic, vips' lanczos3, ImageMagick's default.)"

if [ -s "$work/failures" ]; then
  say "Failed:"
  sed 's/^/  /' "$work/failures"
fi

# Quality: the PNG of each preset against ImageMagick's box-filtered one.
say ""
say "Averaging quality: PSNR of ours against convert -filter Box -resize, in dB (higher is closer):"
line=""
for size in 320x200 640x480 800x600 1024x768 1600x1200; do
  "$brivane" resize --file "$photo" "$work/ours.png" "$size" > /dev/null 2>&1
  "$convert" "$photo" -filter Box -resize "${size}!" "$work/box.png" 2> /dev/null
  psnr=$("$compare" -metric PSNR "$work/ours.png" "$work/box.png" null: 2>&1 | awk '{ print $1 }')
  line+="$size ${psnr:-failed}; "
done
say "  ${line%; }"
exit 0
