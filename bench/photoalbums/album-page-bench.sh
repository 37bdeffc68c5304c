#!/usr/bin/env bash
# Album pages of 20 photos of 4000 x 3000 (layout C2352): the time from a page switch
# until every picture is shown, with photos decoded whole and then shrunk to a third,
# and decoded at libjpeg's largest scale not below a third; meanwhile the longest time
# the interface thread is kept from its events (target: at most 50 ms). One run; never
# fails a build: exits 0.
#
#   bench/photoalbums/album-page-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "album pages: no build folder '${1:-build}'"; exit 0; }
bench="$build/bench/bench_album_page"
cmake --build "$build" --target bench_album_page content > /dev/null 2>&1 ||
  { echo "album pages: could not build bench_album_page in $build"; exit 0; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/labels.dat" "$work/"
echo "generating 20 photos of 4000 x 3000 and an album of two pages ..."
"$bench" generate "$work" || { echo "album pages: generation failed"; exit 0; }
cat "$work"/myphotos/*.jpg > /dev/null
figures=$("$bench" run "$work" 2> /dev/null) || { echo "album pages: the run failed"; exit 0; }
get() { printf '%s\n' "$figures" | awk -v k="$1" '$1 == k { print $2 }'; }

printf '\nAlbum page of %s photos of 4000x3000 (best of 3 switches), %s cores\n' "$(get places)" "$(nproc)"
printf '  %-58s %8s ms   (interface thread longest stall %s ms)\n' \
  "decoded whole, then shrunk to a third" "$(get full_shown_ms)" "$(get full_longest_stall_ms)"
printf '  %-58s %8s ms   (interface thread longest stall %s ms; target 50 ms)\n' \
  "decoded at a reduced scale, then shrunk to a third" "$(get scaled_shown_ms)" "$(get scaled_longest_stall_ms)"
printf '  %-58s %8s ms\n' "a switch made while the other page still loads" "$(get interrupted_switch_shown_ms)"
awk -v a="$(get scaled_shown_ms)" -v b="$(get full_shown_ms)" \
  'BEGIN { if (b > 0) printf "  reduced / whole: %.2f\n", a / b }'
exit 0
