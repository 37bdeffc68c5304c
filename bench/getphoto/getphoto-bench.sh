#!/usr/bin/env bash
# The Get a Photo wizard: a 24 MP JPEG chosen in the file browser (time to its preview and
# to the full picture, longest stall of the interface thread), beside the reference tools
# making a 200-pixel preview of the same file; then storing a page from SANE's test scanner
# beside scanimage piped into cjpeg. One run; never fails a build.
# Usage: getphoto-bench.sh BUILD-FOLDER
set -uo pipefail
build=${1:-build}
data=$build/bench-data
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
mkdir -p "$data"
convert=/usr/bin/convert   # the real ImageMagick, not a stand-in earlier on PATH
bench=$build/bench/bench_get_photo
[[ -x $bench ]] || { echo "getphoto: $bench is not built"; exit 0; }
source "$(dirname "$0")/../photo-maker.sh"
photo=$(make_photo photo-24mp 6000 4000)

ms() {  # milliseconds of one run of a command
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}

echo "== file browser preview of a 24 MP JPEG (6000x4000) =="
QT_QPA_PLATFORM=offscreen "$bench" "$data" photo-24mp.jpg | tee "$out/ours"
preview=$(awk '/^preview/ {print $5}' "$out/ours" | sort -n | head -1)
full=$(awk '/^preview/ {print $7}' "$out/ours" | sort -n | head -1)
vips=$(ms vipsthumbnail "$photo" -s 200 -o "$out/vips.jpg")
djpeg=$(ms sh -c "djpeg -scale 1/8 '$photo' > '$out/scaled.ppm'")
magick=$(ms "$convert" "$photo" -thumbnail 200x200 "$out/magick.jpg")
printf '%-44s %8s %10s\n' "preview of the 24 MP file" "ms" "ours/this"
printf '%-44s %8s %10s\n' "ours (best of 3, in process)" "$preview" "1.00"
for tool in "vipsthumbnail -s 200:$vips" "djpeg -scale 1/8:$djpeg" "ImageMagick -thumbnail 200x200:$magick"; do
  printf '%-44s %8s %10s\n' "${tool%%:*} (one process)" "${tool##*:}" \
    "$(awk -v a="$preview" -v b="${tool##*:}" 'BEGIN{ if (b > 0) printf "%.2f", a / b; else print "n/a" }')"
done
echo "full picture ready (best of 3): $full ms"

echo "== a scanned page from SANE's test device, stored as a photo =="
grep '^scan' "$out/ours"
export SANE_CONFIG_DIR=$(cd "$(dirname "$0")/../../tests/imagelib/sane.d" && pwd)
grey=$(ms sh -c "scanimage -d test:0 --format=pnm | cjpeg -quality 80 > '$out/grey.jpg'")
colour=$(ms sh -c "scanimage -d test:0 --mode Color --resolution 300 -l 0 -t 0 -x 200 -y 200 --format=pnm | cjpeg -quality 80 > '$out/colour.jpg'")
echo "scanimage | cjpeg, default grey page: $grey ms; colour 200x200 mm at 300 dpi: $colour ms"
exit 0
