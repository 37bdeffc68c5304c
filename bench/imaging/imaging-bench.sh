#!/usr/bin/env bash
# Imports photo-like 24 MP and 12 MP JPEGs with our imaging library and with the
# reference tools, and reads headers and thumbnails; prints times, peak memory and ratios.
# Usage: imaging-bench.sh BUILD-FOLDER
set -uo pipefail
build=${1:-build}
data=$build/bench-data
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
mkdir -p "$data"
convert=/usr/bin/convert   # the real ImageMagick, not a stand-in earlier on PATH

source "$(dirname "$0")/../photo-maker.sh"

# Best of three runs of a command: "seconds peak-KB".
measure() {
  local best="" line
  for _ in 1 2 3; do
    /usr/bin/time -o "$out/time" -f '%e %M' "$@" >/dev/null 2>&1
    line=$(tail -1 "$out/time")
    if [[ -z $best ]] || awk -v a="${line%% *}" -v b="${best%% *}" 'BEGIN{exit !(a<b)}'; then
      best=$line
    fi
  done
  echo "$best"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b > 0) printf "%.2f", a / b; else print "n/a" }'; }

printf '%-34s %9s %10s %12s\n' "import pipeline" "seconds" "peak MB" "ours/this"
for size in "24mp 6000 4000" "12mp 4000 3000"; do
  set -- $size
  photo=$(make_photo "photo-$1" "$2" "$3")
  decoded_mb=$(( $2 * $3 * 4 / 1048576 ))
  ours=$(measure "$build/bench/bench_import_pipeline" "$photo" "$out")
  floor=$(measure sh -c "djpeg '$photo' | cjpeg -quality 80 -sample 2x2 > '$out/f.jpg'")
  vips=$(measure sh -c "vips copy '$photo' '$out/v.jpg[Q=80]' && vipsthumbnail '$photo' -s 100 -o '$out/vt.jpg[Q=80]'")
  magick=$(measure "$convert" "$photo" -quality 80 -sampling-factor 2x2 -write "$out/m.jpg" -thumbnail 100x100 "$out/mt.jpg")
  for row in "brivane:$ours" "djpeg | cjpeg (floor):$floor" "libvips copy + vipsthumbnail:$vips" "ImageMagick convert:$magick"; do
    name=${row%%:*}; figures=${row#*:}; secs=${figures% *}; kb=${figures#* }
    printf '%-34s %9s %10d %12s\n' "$1 $name" "$secs" "$((kb / 1024))" "$(ratio "${ours% *}" "$secs")"
  done
  printf '%-34s %9s %10d %12s\n' "$1 decoded picture (32-bit)" "" "$decoded_mb" \
    "$(ratio "$(( ${ours#* } / 1024 ))" "$decoded_mb")x mem"
done

# 1000 thumbnails with descriptions, made once.
thumbs=$data/thumbs
if [[ ! -s $thumbs/999_tn.jpg ]]; then
  mkdir -p "$thumbs"
  "$convert" "$(make_photo photo-12mp 4000 3000)" -resize 100x75 "$out/t.jpg"
  for i in $(seq 0 999); do cp "$out/t.jpg" "$thumbs/${i}_tn.jpg"; done
  exiftool -q -overwrite_original -XMP-dc:Description="A day at the beach" -ImageDescription="A day at the beach" "$thumbs" >/dev/null
fi
read -r _ info_ms dims < <("$build/bench/bench_file_reading" "$(make_photo photo-24mp 6000 4000)" "$thumbs" | grep info_ms)
read -r _ thumbs_s count described < <("$build/bench/bench_file_reading" "$(make_photo photo-24mp 6000 4000)" "$thumbs" | grep thumbs_s)
start=$(date +%s.%N)
vipsheader "$(make_photo photo-24mp 6000 4000)" >/dev/null
vips_info=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN{printf "%.2f", (e-s)*1000}')
start=$(date +%s.%N)
"$convert" "$thumbs/*.jpg" -format '%w %h %[EXIF:ImageDescription]\n' info: >/dev/null 2>&1 ||
  /usr/bin/identify -format '%w %h %[EXIF:ImageDescription]\n' "$thumbs"/*.jpg >/dev/null
magick_thumbs=$(awk -v s="$start" -v e="$(date +%s.%N)" 'BEGIN{printf "%.3f", e-s}')
echo
printf 'GetImageFileInfo on a 24 MP JPEG (%s): %s ms a call; vipsheader process: %s ms\n' "$dims" "$info_ms" "$vips_info"
printf '%s thumbnails decoded with descriptions (%s found): %s s; ImageMagick identify: %s s (ours/theirs %s)\n' \
  "$count" "$described" "$thumbs_s" "$magick_thumbs" "$(ratio "$thumbs_s" "$magick_thumbs")"
