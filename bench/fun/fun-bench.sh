#!/usr/bin/env bash
# A 24-megapixel photo (6000 x 4000) made into each fun project through the wizard: the
# project drawn (for the card projects: the photo composed into the first template, then
# the text), "Print It" to a PDF written (US letter, 300 dpi), and Finish to the photo
# stored. One run; never fails a build: exits 0.
#
#   bench/fun/fun-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "fun: no build folder '${1:-build}'"; exit 0; }
bench="$build/bench/bench_fun"
say() { printf '%s\n' "$*"; }

cmake --build "$build" --target bench_fun content > /dev/null 2>&1 ||
  { say "fun: could not build bench_fun in $build"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
figures=$(QT_QPA_PLATFORM=offscreen "$bench" "$build/bin/" "$work" 2> /dev/null) || { say "fun: the run failed"; exit 0; }
get() { printf '%s\n' "$figures" | awk -v k="$1" '$1 == k { $1 = ""; print substr($0, 2) }'; }

say "Fun projects from a 24 MP photo (6000 x 4000), one run, $(nproc) cores."
printf '%-14s %10s %10s %12s %10s %10s\n' "project" "draw ms" "print ms" "PDF bytes" "store ms" "size"
for project in sportscard calendar magazine greetingcard; do
  read -r print bytes <<< "$(get "$project-print")"
  read -r store stored size <<< "$(get "$project-store")"
  [ "$stored" = 1 ] || store="failed"
  printf '%-14s %10s %10s %12s %10s %10s\n' "$project" "$(get "$project-draw")" "$print" "$bytes" "$store" "$size"
done
exit 0
