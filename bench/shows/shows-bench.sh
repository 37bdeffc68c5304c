#!/usr/bin/env bash
# Builds a slide show of 100 photos of about 3 MB with `brivane show build`, extracts it
# by running it with a player that ends at once, and compares both with `cat` of the same
# bytes into a file on the same disk. Prints the throughputs, their ratio to cat's and the
# launcher's own size. A benchmark never fails a build: problems are reported, exit is 0.
#
#   bench/shows/shows-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "shows: no build folder '${1:-build}'"; exit 0; }
brivane="$build/bin/brivane"
mirrant="$build/bin/mirrant"
count=100
size=3000000
runs=5
cache="$build/bench-cache/show-photos"
work="$build/bench-work/shows"
program="$work/program"

say() { printf '%s\n' "$*"; }
cmake --build "$build" --target brivane mirrant > /dev/null 2>&1 || true
[ -x "$brivane" ] || { say "shows: $brivane is not built (cmake --build $build --target brivane)"; exit 0; }
[ -x "$mirrant" ] || { say "shows: $mirrant is not built (cmake --build $build --target mirrant)"; exit 0; }

# What the format cares about is bytes: JPEG markers around random data, made once.
generate() {
  mkdir -p "$cache" || return 1
  local i name
  for ((i = 1; i <= count; i++)); do
    name=$(printf 'photo-%03d.jpg' "$i")
    [ "$(stat -c %s "$cache/$name" 2>/dev/null)" = "$size" ] && continue
    (( i % 25 == 1 )) && say "generating photos $i to $((i + 24)) of $count ..."
    { printf '\377\330'; head -c $((size - 4)) /dev/urandom; printf '\377\331'; } > "$cache/$name" || return 1
  done
}
generate || { say "shows: could not generate the photos in $cache"; exit 0; }

# A program folder with the real launcher and modules, a player that ends at once, and the
# photos linked into its store.
rm -rf "$work" && mkdir -p "$program/myphotos" "$work/out" "$work/tmp" || { say "shows: cannot use $work"; exit 0; }
cp "$mirrant" "$program/"
for module in lfcmp10n ltdis10n ltfil10n ltkrn10n; do
  cp "$build/bin/$module.dll" "$program/" 2> /dev/null || printf 'module %s\n' "$module" > "$program/$module.dll"
done
printf '#!/bin/sh\nexit 0\n' > "$program/pavonel" && chmod +x "$program/pavonel"
names=()
for ((i = 1; i <= count; i++)); do
  name=$(printf 'photo-%03d' "$i")
  ln "$cache/$name.jpg" "$program/myphotos/$name.jpg" 2> /dev/null || cp "$cache/$name.jpg" "$program/myphotos/"
  printf '\377\330\377\331' > "$program/myphotos/${name}_tn.jpg"
  names+=("$name")
done
photos=("${names[@]/#/$program/myphotos/}")
photos=("${photos[@]/%/.jpg}")

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
best() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }
# Every contender starts from pages already in memory.
cat "${photos[@]}" > /dev/null

show="$work/out/Bench.exe"
# Bytes the show is made of, in its order; the head and the player stand-in are tiny.
sources=("$program/mirrant" "$program/pavonel" "$program"/lfcmp10n.dll "$program"/ltdis10n.dll
         "$program"/ltfil10n.dll "$program"/ltkrn10n.dll "${photos[@]}")
declare -A best_of
timed() {  # timed NAME COMMAND...: keeps the best time of NAME
  local start t
  sync
  start=$(now)
  "${@:2}" || return 1
  t=$(elapsed "$start" "$(now)")
  best_of[$1]=$(best "${best_of[$1]:-}" "$t")
}
build_show() {
  "$brivane" --program-folder "$program" show build --kind slideshow --name Bench --folder "$work/out" \
    "${names[@]}" > /dev/null 2> "$work/build.log"
}
cat_pieces() { cat "${sources[@]}" > "$work/cat.out"; }
# The builder makes its file durable before it replaces an earlier show.
cat_pieces_synced() { cat "${sources[@]}" > "$work/cat.out" && sync "$work/cat.out"; }
run_show() { TMPDIR="$work/tmp" "$show" 2> "$work/extract.log"; }
cat_show() { cat "$show" > "$work/cat.out"; }
# The launcher removes what it wrote; so does this reference.
cat_show_removed() { cat "$show" > "$work/cat.out" && rm -f "$work/cat.out"; }
# The same work as the launcher's: the show's bytes as 100-odd files, then removed.
split_show() { split -b "$size" "$show" "$work/split/piece-" && rm -rf "$work/split" && mkdir "$work/split"; }
mkdir -p "$work/split"

for ((run = 1; run <= runs; run++)); do
  rm -f "$show" "$work/cat.out"
  timed build build_show || { say "shows: brivane show build failed (see $work/build.log)"; exit 0; }
  rm -f "$work/cat.out"; timed cat_build cat_pieces
  rm -f "$work/cat.out"; timed cat_build_sync cat_pieces_synced
  rm -f "$work/cat.out"; timed extract run_show || { say "shows: the show failed (see $work/extract.log)"; exit 0; }
  [ -z "$(ls -A "$work/tmp")" ] || say "shows: the show left files in $work/tmp"
  rm -f "$work/cat.out"; timed cat_extract cat_show
  rm -f "$work/cat.out"; timed cat_extract_removed cat_show_removed
  timed split split_show
done

bytes=$(stat -c %s "$show")
rate() { awk -v n="$bytes" -v t="$1" 'BEGIN { if (t > 0) printf "%.0f", n / 1e6 / t; else print "-" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a > 0) printf "%.2f", b / a; else print "-" }'; }
line() { printf '  %-46s %7s s %6s MB/s   %s\n' "$1" "$2" "$(rate "$2")" "$3"; }
say ""
say "Slide show of $count photos ($(awk -v n="$bytes" 'BEGIN { printf "%.1f", n / 1e6 }') MB), best of $runs runs, $(nproc) cores"
line "build: brivane show build (incl. fsync)" "${best_of[build]}" \
  "$(ratio "${best_of[build]}" "${best_of[cat_build]}") of cat, $(ratio "${best_of[build]}" "${best_of[cat_build_sync]}") of cat+sync"
line "       cat of the same pieces" "${best_of[cat_build]}" ""
line "       cat of the same pieces, then sync FILE" "${best_of[cat_build_sync]}" ""
line "extract: show run (player ends at once)" "${best_of[extract]}" \
  "$(ratio "${best_of[extract]}" "${best_of[cat_extract]}") of cat, $(ratio "${best_of[extract]}" "${best_of[cat_extract_removed]}") of cat+rm, $(ratio "${best_of[extract]}" "${best_of[split]}") of split"
line "         cat of the show file" "${best_of[cat_extract]}" ""
line "         cat of the show file, then rm" "${best_of[cat_extract_removed]}" ""
line "         split into 3 MB files, then rm them" "${best_of[split]}" ""
say "  (x of cat: throughput relative to cat's; target at least 0.80)"
say "  launcher (mirrant) size: $(stat -c %s "$mirrant") bytes"
say "  load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
[ -n "${KEEP_SHOWS_BENCH:-}" ] || rm -rf "$work"
exit 0
