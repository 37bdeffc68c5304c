#!/usr/bin/env bash
# Imports 100 photo-like 12-MP JPEGs with `brivane import` and does the same work with
# ImageMagick (full-size re-encode at quality 80 plus a 100-pixel thumbnail per file) and
# with libvips (vips copy + vipsthumbnail). Prints the times of one run and their ratios.
# A benchmark never fails a build: every problem is reported and the script exits 0.
#
#   bench/library/brivane-import-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "brivane-import: no build folder '${1:-build}'"; exit 0; }
brivane="$build/bin/brivane"
convert=/usr/bin/convert
count=100
width=4000
height=3000
cache="$build/bench-cache/photos-${width}x${height}"
work="$build/bench-work/brivane-import"

say() { printf '%s\n' "$*"; }
[ -x "$brivane" ] || { say "brivane-import: $brivane is not built (cmake --build $build --target brivane)"; exit 0; }
[ -x "$convert" ] || { say "brivane-import: $convert is missing (apt-get install imagemagick)"; exit 0; }

# The pictures are made once and kept: a few plasma fractals with a little grain, rolled
# and tinted into a hundred different photos. Generation is never timed.
generate() {
  mkdir -p "$cache" || return 1
  local bases=4 i
  for ((i = 1; i <= bases; i++)); do
    [ -s "$cache/base-$i.miff" ] && continue
    say "generating base picture $i of $bases ..."
    "$convert" -size "${width}x${height}" -seed "$i" plasma:fractal -blur 0x1.5 \
      -attenuate 0.4 +noise Gaussian "$cache/base-$i.miff" || return 1
  done
  for ((i = 1; i <= count; i++)); do
    local name
    name=$(printf 'photo-%03d.jpg' "$i")
    [ -s "$cache/$name" ] && continue
    (( i % 10 == 1 )) && say "generating photos $i to $((i + 9)) of $count ..."
    "$convert" "$cache/base-$(( (i - 1) % bases + 1 )).miff" \
      -roll "+$(( i * 397 % width ))+$(( i * 211 % height ))" \
      -modulate "100,$(( 80 + i % 40 )),$(( 60 + i * 7 % 80 ))" \
      -quality 92 "$cache/$name" || return 1
  done
}
generate || { say "brivane-import: could not generate the test photos in $cache"; exit 0; }
photos=("$cache"/photo-*.jpg)
[ "${#photos[@]}" -ge "$count" ] || { say "brivane-import: only ${#photos[@]} photos in $cache"; exit 0; }

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

fresh() { rm -rf "$work/$1" && mkdir -p "$work/$1"; }
kept=0
# Every contender starts from pages already in memory.
cat "${photos[@]}" > /dev/null

# brivane: into the My Photos folder of a fresh program folder.
fresh brivane
start=$(now)
"$brivane" --program-folder "$work/brivane" import "${photos[@]}" > /dev/null 2> "$work/brivane.log"
status=$?
t_brivane=$(elapsed "$start" "$(now)")
stored=$(ls "$work/brivane/myphotos/" 2>/dev/null | grep -c '_tn\.jpg$')
[ "$status" -eq 0 ] || { say "brivane-import: brivane exited with $status (see $work/brivane.log)"; kept=1; }

# The same on one thread, to show what the parallel import adds.
fresh brivane1
start=$(now)
"$brivane" --program-folder "$work/brivane1" import --jobs 1 "${photos[@]}" > /dev/null 2> "$work/brivane1.log" \
  || { say "brivane-import: brivane --jobs 1 failed (see $work/brivane1.log)"; kept=1; }
t_brivane1=$(elapsed "$start" "$(now)")

# ImageMagick: one process a photo, decoding once for both files.
fresh magick
start=$(now)
for f in "${photos[@]}"; do
  stem=$(basename "$f" .jpg)
  "$convert" "$f" -quality 80 -write "$work/magick/$stem.jpg" \
    -thumbnail 100x100 "$work/magick/${stem}_tn.jpg" || say "brivane-import: convert failed on $f"
done
t_magick=$(elapsed "$start" "$(now)")

# libvips: vips copy for the photo, vipsthumbnail for the thumbnail.
t_vips=""
if command -v vips > /dev/null && command -v vipsthumbnail > /dev/null; then
  fresh vips
  start=$(now)
  for f in "${photos[@]}"; do
    stem=$(basename "$f" .jpg)
    vips copy "$f" "$work/vips/$stem.jpg[Q=80]" || say "brivane-import: vips failed on $f"
    vipsthumbnail "$f" -s 100 -o "$work/vips/${stem}_tn.jpg[Q=80]" || say "brivane-import: vipsthumbnail failed on $f"
  done
  t_vips=$(elapsed "$start" "$(now)")
else
  say "brivane-import: libvips tools missing (apt-get install libvips-tools); skipped"
fi

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
say ""
say "Import of $count photos of ${width} x ${height} (JPEG quality 80, 4:2:0, 100-pixel thumbnails), $(nproc) cores"
printf '  %-40s %8s s   %s\n' "brivane import ($stored stored)" "$t_brivane" "1.00"
printf '  %-40s %8s s   %s\n' "brivane import --jobs 1" "$t_brivane1" "$(ratio "$t_brivane1" "$t_brivane")"
printf '  %-40s %8s s   %s\n' "ImageMagick convert (one process a file)" "$t_magick" "$(ratio "$t_magick" "$t_brivane")"
[ -n "$t_vips" ] && printf '  %-40s %8s s   %s\n' "libvips copy + vipsthumbnail" "$t_vips" "$(ratio "$t_vips" "$t_brivane")"
say "  (last column: time relative to brivane; above 1 means slower than brivane)"
say "  load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
# The outputs stay for a look when something failed.
[ "$kept" -eq 1 ] || rm -rf "$work"
exit 0
