#!/usr/bin/env bash
# photos.dat of 1,000 albums of 10 pages each (layouts cycling through the 7 album layouts
# of labels.dat, about one place in six blank, a third of the pages published): the median
# time of saving it (SaveAlbums: written beside, synced, renamed) and of loading it
# (LoadAlbums), and its size. One run; never fails a build: exits 0.
#
#   bench/albums/albums-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "albums: no build folder '${1:-build}'"; exit 0; }
bench="$build/bench/bench_album_file"

cmake --build "$build" --target bench_album_file content > /dev/null 2>&1 ||
  { echo "albums: could not build bench_album_file in $build"; exit 0; }

figures=$("$bench" "$build/bin/labels.dat") || { echo "albums: the run failed"; exit 0; }
get() { printf '%s\n' "$figures" | awk -v k="$1" '$1 == k { print $2 }'; }

echo "photos.dat of $(get albums) albums, $(get pages) pages, $(get places) places, $(nproc) cores"
printf '  %-44s %10s bytes\n' "file size" "$(get file_bytes)"
printf '  %-44s %10s ms\n' "saving (median of 7, fsync included)" "$(get save_ms)"
printf '  %-44s %10s ms\n' "loading (median of 7)" "$(get load_ms)"
printf '  %-44s %10s\n' "loaded albums written again" "$(get round_trip)"
printf '  %-44s %10s KB\n' "peak resident memory" "$(get peak_rss_kb)"
exit 0
