#!/usr/bin/env bash
# Eight `brivane import --rename` processes of 50 photos each into one store, all with the
# same fifty names, against the same 400 imports by one process. Checks what a store shared
# by several writers must keep: every reported photo exists, no two share files. Prints the
# times of one run and their ratio. A benchmark never fails a build: it exits 0.
#
#   bench/library/concurrent-import-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "concurrent-import: no build folder '${1:-build}'"; exit 0; }
brivane="$build/bin/brivane"
convert=/usr/bin/convert
runs=8
each=50
width=1600
height=1200
cache="$build/bench-cache/photos-${width}x${height}"
work="$build/bench-work/concurrent-import"

say() { printf '%s\n' "$*"; }
[ -x "$brivane" ] || { say "concurrent-import: $brivane is not built"; exit 0; }
[ -x "$convert" ] || { say "concurrent-import: $convert is missing (apt-get install imagemagick)"; exit 0; }

# Fifty photos made once and kept; each run imports them from its own folder, so every
# name is offered eight times.
mkdir -p "$cache"
if [ ! -s "$cache/p50.jpg" ]; then
  say "generating $each photos of $width x $height ..."
  "$convert" -size "${width}x${height}" -seed 7 plasma:fractal -blur 0x1.5 "$cache/base.miff" || exit 0
  for ((i = 1; i <= each; i++)); do
    "$convert" "$cache/base.miff" -roll "+$((i * 397 % width))+$((i * 211 % height))" \
      -quality 90 "$cache/p$(printf %02d "$i").jpg" || exit 0
  done
fi
rm -rf "$work" && mkdir -p "$work"
for ((r = 1; r <= runs; r++)); do
  mkdir -p "$work/in/c$r" && cp "$cache"/p*.jpg "$work/in/c$r/"
done
cat "$work"/in/c*/*.jpg > /dev/null

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

# Every name reported stored is a whole photo, no two alike, and nothing else is there.
check() {
  local folder=$1 reported=$2 problems=0
  local names unique files
  names=$(sort "$reported" | wc -l)
  unique=$(sort -u "$reported" | wc -l)
  [ "$names" -eq "$unique" ] || { say "  FAULT: $((names - unique)) names reported twice"; problems=1; }
  while IFS= read -r name; do
    stem=${name//&/&&}
    [ -f "$folder/$stem.jpg" ] && [ -f "$folder/${stem}_tn.jpg" ] ||
      { say "  FAULT: '$name' was reported stored but is not there"; problems=1; }
  done < "$reported"
  files=$(find "$folder" -maxdepth 1 -name '*.jpg' | wc -l)
  [ "$files" -eq $((2 * names)) ] || { say "  FAULT: $files files for $names photos"; problems=1; }
  [ "$problems" -eq 0 ] && say "  $folder: $names photos reported, all present, none sharing files"
}

mkdir -p "$work/many"
start=$(now)
for ((r = 1; r <= runs; r++)); do
  "$brivane" --program-folder "$work/many" import --rename "$work/in/c$r"/p*.jpg \
    > "$work/many-$r.out" 2> "$work/many-$r.err" &
done
wait
t_many=$(elapsed "$start" "$(now)")
cat "$work"/many-*.out > "$work/many.out"

mkdir -p "$work/one"
start=$(now)
"$brivane" --program-folder "$work/one" import --rename "$work"/in/c*/p*.jpg > "$work/one.out" 2> "$work/one.err"
t_one=$(elapsed "$start" "$(now)")

say ""
say "Import of $((runs * each)) photos of $width x $height with fifty names offered $runs times, $(nproc) cores"
check "$work/many/myphotos" "$work/many.out"
check "$work/one/myphotos" "$work/one.out"
printf '  %-44s %8s s   %s\n' "$runs brivane import processes at once" "$t_many" "1.00"
printf '  %-44s %8s s   %s\n' "one brivane import of all $((runs * each))" "$t_one" "$(ratio "$t_one" "$t_many")"
say "  (last column: time relative to the $runs processes)"
rm -rf "$work"
exit 0
