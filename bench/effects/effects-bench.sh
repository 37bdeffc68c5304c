#!/usr/bin/env bash
# Applies each of brivane's 17 picture effects at its start value to one photo-like 12 MP JPEG
# (4000 x 3000) and writes a JPEG at quality 98 without chroma subsampling, timed as whole
# processes (decode, effect, encode), one run each: brivane effect --file, ImageMagick's
# nearest operation and libvips' nearest one where it has one. Also times our blur and
# noise reduction at neighbourhoods of 3 and 16 beside 8, and the decode-and-encode floor.
# Never fails a build: exits 0.
#
#   bench/effects/effects-bench.sh [BUILD_DIR]     (default: build)

set -u
build=${1:-build}
brivane=$build/bin/brivane
data=$build/bench-data
convert=/usr/bin/convert   # the real ImageMagick, not a stand-in earlier on PATH
say() { printf '%s\n' "$*"; }

if [ ! -x "$brivane" ]; then
  cmake --build "$build" --target brivane > /dev/null 2>&1 ||
    { say "effects: could not build brivane in $build"; exit 0; }
fi
command -v vips > /dev/null || say "effects: vips not found; no libvips figures"
[ -x "$convert" ] || say "effects: $convert not found; no ImageMagick figures"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$data"
source "$(dirname "$0")/../photo-maker.sh"
photo=$(make_photo photo-12mp 4000 3000)
[ -s "$photo" ] || { say "effects: could not make the test photo"; exit 0; }

# Matrices and tables for libvips, made before any timing. Each header names its scale and
# offset: libvips fails to recognise a matrix file with a short header when it starts with 0.
{ echo "8 8 64 0"; for _ in 1 2 3 4 5 6 7 8; do echo "1 1 1 1 1 1 1 1"; done; } > "$work/box8.mat"
printf '3 3 1 0\n1 2 1\n0 0 0\n-1 -2 -1\n' > "$work/sobel.mat"
printf '3 3 1 128\n0 1 0\n0 0 0\n0 -1 0\n' > "$work/emboss.mat"
# Hue turned 90 degrees and saturation times 1.5 as RGB matrices (the usual luminance-keeping
# ones), so libvips does each in one operation rather than through LCh and back.
printf '3 3 1 0\n0 0 1\n0.356 0.855 -0.211\n-0.574 1.430 0.144\n' > "$work/hue90.mat"
printf '3 3 1 0\n1.3935 -0.3575 -0.036\n-0.1065 1.1425 -0.036\n-0.1065 -0.3575 1.464\n' > "$work/sat150.mat"
awk 'BEGIN { print "256 1 1 0"; for (i = 0; i < 256; i++) printf "%d ", int(int(i * 32 / 255 + 0.5) * 255 / 32 + 0.5); print "" }' \
  > "$work/posterize.mat"
awk 'BEGIN { print "256 1 1 0"; for (i = 0; i < 256; i++) printf "%d ", (i > 128 ? 255 - i : i); print "" }' \
  > "$work/solarize.mat"
if command -v vips > /dev/null; then
  # A byte table keeps maplut's output in bytes, as ours and ImageMagick's are.
  vips cast "$work/posterize.mat" "$work/posterize.v" uchar 2> /dev/null
  vips cast "$work/solarize.mat" "$work/solarize.v" uchar 2> /dev/null
fi

jpeg='[Q=98,subsample-mode=off]'
quality=(-quality 98 -sampling-factor 1x1)
effects=(Brightness Contrast Sharpen Rotate "Invert Colors" "Gray Scale" Hue Saturation Mosaic
  "Oil Painting" Emboss Blur "Reduce noise" "Add noise" Posterize Solarize "Spatial Filter")

# Our choice of direction or filter where the effect has one.
ours_option() {
  case $1 in
    "Spatial Filter") echo "--option 22" ;;  # Sobel, horizontal
    Emboss) echo "--option 0" ;;             # north
  esac
}

# ImageMagick's nearest operation.
magick_ops() {
  case $1 in
    Brightness) echo "+level 20%,100%" ;;   # 20% of the way toward white
    Contrast) echo "-brightness-contrast 0x20" ;;
    Sharpen) echo "-sharpen 0x1" ;;
    Rotate) echo "-rotate 90" ;;
    "Invert Colors") echo "-negate" ;;
    "Gray Scale") echo "-colorspace Gray" ;;
    Hue) echo "-modulate 100,100,150" ;;
    Saturation) echo "-modulate 100,150" ;;
    Mosaic) echo "-scale 12.5% -scale 800%" ;;
    "Oil Painting") echo "-paint 8" ;;
    Emboss) echo "-emboss 1" ;;
    Blur) echo "-statistic Mean 8x8" ;;
    "Reduce noise") echo "-statistic Median 8x8" ;;
    "Add noise") echo "-attenuate 5 +noise Impulse" ;;  # about half the samples set black or white
    Posterize) echo "-posterize 33" ;;
    Solarize) echo "-solarize 50%" ;;
    "Spatial Filter") echo "-morphology Convolve Sobel" ;;
  esac
}

# libvips' nearest operation as a shell command on $1 (in), $2 (out) and $3 (a scratch
# file); nothing where it has none.
vips_ops() {
  case $1 in
    Brightness) echo 'vips linear "$1" "$2" 0.8 51 --uchar' ;;
    Contrast) echo 'vips linear --uchar "$1" "$2" 1.2 -- -25.6' ;;  # "--" lets the offset be negative
    Sharpen) echo 'vips sharpen "$1" "$2"' ;;
    Rotate) echo 'vips rot "$1" "$2" d90' ;;
    "Invert Colors") echo 'vips invert "$1" "$2"' ;;
    "Gray Scale") echo 'vips colourspace "$1" "$2" b-w' ;;
    Hue) echo "vips recomb \"\$1\" \"\$2\" $work/hue90.mat" ;;
    Saturation) echo "vips recomb \"\$1\" \"\$2\" $work/sat150.mat" ;;
    Mosaic) echo 'vips shrink "$1" "$3" 8 8 && vips zoom "$3" "$2" 8 8' ;;
    Emboss) echo "vips conv \"\$1\" \"\$2\" $work/emboss.mat --precision integer" ;;
    Blur) echo "vips conv \"\$1\" \"\$2\" $work/box8.mat --precision integer" ;;
    "Reduce noise") echo 'vips rank "$1" "$2" 8 8 32' ;;
    Posterize) echo "vips maplut \"\$1\" \"\$2\" $work/posterize.v" ;;
    Solarize) echo "vips maplut \"\$1\" \"\$2\" $work/solarize.v" ;;
    "Spatial Filter") echo "vips conv \"\$1\" \"\$2\" $work/sobel.mat --precision integer" ;;
  esac
}

# Milliseconds of one whole command, or "failed" when it fails or writes nothing.
timed() {  # label output-file command...
  local label=$1 file=$2 start
  shift 2
  rm -f "$file"
  start=$(date +%s.%N)
  if timeout 300 "$@" > /dev/null 2> "$work/err" && [ -s "$file" ]; then
    awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.0f", (b - a) * 1000 }'
  else
    echo failed
    echo "$label: $(tail -1 "$work/err")" >> "$work/failures"
  fi
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a + 0 > 0 && b + 0 > 0) printf "%.2f", a / b; else print "-" }'; }

# Untimed: the photo into the page cache, and each program's libraries loaded once, so no
# contender pays for reading from disk.
cat "$photo" > /dev/null
"$brivane" effect --list > /dev/null 2>&1
vips --version > /dev/null 2>&1
"$convert" -version > /dev/null 2>&1

size=$(vipsheader "$photo" 2> /dev/null | cut -d' ' -f2)
say "Effects on a ${size:-4000x3000} JPEG, written as JPEG quality 98 without chroma subsampling;"
say "whole processes (decode, effect, encode), one run each, $(nproc) cores."
say "Targets: at least 20x faster than ImageMagick on the neighbourhood filters (Mosaic,"
say "Oil Painting, Blur, Reduce noise); never slower than libvips where it has the operation."
say ""
printf '%-16s %9s %9s %9s %9s %9s\n' "effect" "ours ms" "IM ms" "vips ms" "IM/ours" "vips/ours"
for effect in "${effects[@]}"; do
  read -ra option <<< "$(ours_option "$effect")"
  ours=$(timed "$effect, ours" "$work/ours.jpg" "$brivane" effect --file "${option[@]}" "$photo" "$work/ours.jpg" "$effect")
  magick="-"
  if [ -x "$convert" ]; then
    read -ra ops <<< "$(magick_ops "$effect")"
    magick=$(timed "$effect, ImageMagick" "$work/magick.jpg" "$convert" "$photo" "${ops[@]}" "${quality[@]}" "$work/magick.jpg")
  fi
  libvips="-"
  ops=$(vips_ops "$effect")
  if [ -n "$ops" ] && command -v vips > /dev/null; then
    libvips=$(timed "$effect, libvips" "$work/vips.jpg" sh -c "$ops" sh "$photo" "$work/vips.jpg$jpeg" "$work/scratch.v")
  fi
  printf '%-16s %9s %9s %9s %9s %9s\n' "$effect" "$ours" "$magick" "$libvips" \
    "$(ratio "$magick" "$ours")" "$(ratio "$libvips" "$ours")"
done

# The cost of our median and mean should hardly grow with the neighbourhood.
sizes=""
for effect in Blur "Reduce noise"; do
  small=$(timed "$effect 3x3, ours" "$work/ours.jpg" "$brivane" effect --file --value 3 "$photo" "$work/ours.jpg" "$effect")
  middle=$(timed "$effect 8x8, ours" "$work/ours.jpg" "$brivane" effect --file --value 8 "$photo" "$work/ours.jpg" "$effect")
  large=$(timed "$effect 16x16, ours" "$work/ours.jpg" "$brivane" effect --file --value 16 "$photo" "$work/ours.jpg" "$effect")
  sizes+="$(printf '%s 3/8/16: %s/%s/%s ms, 16x16/3x3 %s; ' "$effect" "$small" "$middle" "$large" "$(ratio "$large" "$small")")"
done
say ""
say "Neighbourhood size (target 16x16/3x3 at most 1.5): ${sizes%; }"

# Reduce noise at 0 only decodes and encodes: the floor under every figure above.
floor=$(timed "I/O floor, ours" "$work/ours.jpg" "$brivane" effect --file --value 0 "$photo" "$work/ours.jpg" "Reduce noise")
vips_floor="-" magick_floor="-"
command -v vips > /dev/null && vips_floor=$(timed "I/O floor, libvips" "$work/vips.jpg" vips copy "$photo" "$work/vips.jpg$jpeg")
[ -x "$convert" ] && magick_floor=$(timed "I/O floor, ImageMagick" "$work/magick.jpg" "$convert" "$photo" "${quality[@]}" "$work/magick.jpg")
say "Times include decode and encode; decode + encode alone: ours $floor ms, vips copy $vips_floor ms,"
say "convert $magick_floor ms."

say ""
say "Compared with (ImageMagick | libvips):"
for effect in "${effects[@]}"; do
  ops=$(vips_ops "$effect")
  ops=${ops//\"\$1\"/in}
  ops=${ops//\"\$2\"/out}
  ops=${ops//\"\$3\"/tmp.v}
  ops=${ops//$work\//}
  printf '  %-16s %-36s | %s\n' "$effect" "$(magick_ops "$effect")" "${ops:--}"
done
if [ -s "$work/failures" ]; then
  say ""
  say "Failed:"
  sed 's/^/  /' "$work/failures"
fi
exit 0
