#!/usr/bin/env bash
# Start-up of the photo list over a My Photos folder of 1000 photos (1600 x 1200 with
# 100-pixel thumbnails): time to the first entries and to the full list, memory, and the
# cost of one idle scan. Beside it, a generic folder view that makes its thumbnails on the
# fly: vipsthumbnail over the 1000 full photos. Never fails a build: exits 0.
#
#   bench/library/thumbnail-watcher-bench.sh [BUILD_DIR]     (default: build)

set -u
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "thumbnail-watcher: no build folder '${1:-build}'"; exit 0; }
bench="$build/bench/bench_thumbnail_watcher"
count=1000
cache="$build/bench-cache/watcher-myphotos-$count"
work="$build/bench-work/thumbnail-watcher"
say() { printf '%s\n' "$*"; }

cmake --build "$build" --target bench_thumbnail_watcher > /dev/null 2>&1 ||
  { say "thumbnail-watcher: could not build bench_thumbnail_watcher in $build"; exit 0; }
[ -x "$bench" ] || { say "thumbnail-watcher: $bench is missing"; exit 0; }

# The photos are made once and kept; generation is never timed.
if [ "$(ls "$cache" 2>/dev/null | grep -c '_tn\.jpg$')" -lt "$count" ]; then
  say "generating $count photos in $cache (once) ..."
  "$bench" generate "$cache" "$count" || { say "thumbnail-watcher: generation failed"; exit 0; }
fi
# Every contender starts from pages already in memory.
cat "$cache"/*.jpg > /dev/null

figures=$("$bench" run "$cache") || { say "thumbnail-watcher: the run failed"; exit 0; }
get() { printf '%s\n' "$figures" | awk -v k="$1" '$1 == k { print $2 }'; }

now() { date +%s.%N; }
t_vips=""
if command -v vipsthumbnail > /dev/null; then
  rm -rf "$work" && mkdir -p "$work"
  mapfile -t photos < <(ls "$cache"/*.jpg | grep -v '_tn\.jpg$')
  start=$(now)
  vipsthumbnail -s 100 -o "$work/%s.jpg" "${photos[@]:0:20}" 2> /dev/null
  t_vips20=$(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
  rm -rf "$work" && mkdir -p "$work"
  start=$(now)
  vipsthumbnail -s 100 -o "$work/%s.jpg" "${photos[@]}" 2> /dev/null ||
    say "thumbnail-watcher: vipsthumbnail reported failures"
  t_vips=$(awk -v a="$start" -v b="$(now)" 'BEGIN { printf "%.1f", (b - a) * 1000 }')
  made=$(ls "$work" | wc -l)
  rm -rf "$work"
else
  say "thumbnail-watcher: vipsthumbnail missing (apt-get install libvips-tools); skipped"
fi

say ""
say "Photo list start-up over $(get entries) photos of 1600 x 1200 (warm page cache), $(nproc) cores"
printf '  %-52s %10s ms\n' "first entry shown" "$(get first_entry_ms)"
printf '  %-52s %10s ms\n' "first 20 entries shown" "$(get first_20_entries_ms)"
printf '  %-52s %10s ms   (%s thumbnails decoded)\n' "full list shown" "$(get full_list_ms)" "$(get decodes)"
printf '  %-52s %10s KB   (thumbnail pixels %s KB)\n' "resident memory added by the full list" "$(get rss_growth_kb)" "$(get thumbnail_pixels_kb)"
printf '  %-52s %10s ms   (median of %s; min %s ms; %s decoded)\n' "one idle scan (listing, nothing to decode)" \
  "$(get idle_scan_median_ms)" "$(get idle_scans)" "$(get idle_scan_min_ms)" "$(get idle_scan_decodes)"
printf '  %-52s %10s ms\n' "stop during idle" "$(get stop_ms)"
if [ -n "$t_vips" ]; then
  say "Generic folder view, thumbnails made on the fly from the full photos:"
  printf '  %-52s %10s ms\n' "vipsthumbnail, first 20 photos" "$t_vips20"
  printf '  %-52s %10s ms   (%s made)\n' "vipsthumbnail, all $count photos" "$t_vips" "$made"
  awk -v a="$t_vips" -v b="$(get full_list_ms)" 'BEGIN { if (b > 0) printf "  full list: the watcher is %.1f times faster than decoding the photos\n", a / b }'
fi
exit 0
