#!/usr/bin/env bash
# A label sheet of 30 labels (Avery 5160) holding 30 different 12-megapixel photos (4000 x
# 3000): placing them (decode and give), the memory they hold, the first paint of the sheet
# in a page view of 640 x 828 and a redraw (target: at most 16 ms), then printing the sheet
# as a 600 dpi PDF (time and size). Beside it, one process each printing the same photos
# on the same sheet: brivane labels print, and gLabels' batch printer (glabels-3-batch,
# Debian's glabels) or, without it, ImageMagick's montage onto a 600 dpi letter page.
# One run; never fails a build: exits 0.
#
#   bench/labels/labels-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "labels: no build folder '${1:-build}'"; exit 0; }
bench="$build/bench/bench_label_sheet"
brivane="$build/bin/brivane"
count=30
say() { printf '%s\n' "$*"; }

cmake --build "$build" --target bench_label_sheet brivane content > /dev/null 2>&1 ||
  { say "labels: could not build bench_label_sheet and brivane in $build"; exit 0; }

# The photos are made for this run in a program folder of their own, and removed after.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
program="$work/program"
mkdir -p "$program" && cp "$build/bin/labels.dat" "$program/"
say "generating $count photos of 4000 x 3000 in $program/myphotos ..."
"$bench" generate "$program" "$count" || { say "labels: generation failed"; exit 0; }
# Every contender starts from files already in memory.
cat "$program"/myphotos/*.jpg > /dev/null

figures=$("$bench" run "$program") || { say "labels: the run failed"; exit 0; }
get() { printf '%s\n' "$figures" | awk -v k="$1" '$1 == k { print $2 }'; }

names=()
photos=()
for i in $(seq 0 $((count - 1))); do
  names+=("$(printf 'photo %02d' "$i")")
  photos+=("$program/myphotos/$(printf 'photo %02d' "$i").jpg")
done

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.0f", (b - a) * 1000 }'; }
size_of() { stat -c %s "$1" 2> /dev/null || echo 0; }
# Peak resident size of one run, from GNU time.
peak() { awk '/Maximum resident/ { print $NF }' "$1" 2> /dev/null; }

start=$(now)
/usr/bin/time -v -o "$work/brivane.time" "$brivane" --program-folder "$program" labels print \
  --template 5160 --pdf "$work/brivane.pdf" "${names[@]}" > /dev/null ||
  say "labels: brivane labels print failed"
t_brivane=$(elapsed "$start")

reference="" t_reference="" reference_file="" reference_time=""
if command -v glabels-3-batch > /dev/null; then
  reference="glabels-3-batch (the photos merged from a CSV)"
  printf '%s\n' "${photos[@]}" > "$work/photos.csv"
  # The photo in the middle of each label at the size ours prints it (4:3, 0.75 in tall).
  cat > "$work/sheet.glabels" << XML
<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlspace/">
  <Template brand="Avery" part="5160" size="US-Letter" description="Address Labels">
    <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
      <Markup-margin size="0.0625in"/>
      <Layout nx="3" ny="10" x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-image x="0.8125in" y="0.125in" w="1in" h="0.75in" field="1" a0="1" a1="0" a2="0" a3="1" a4="0" a5="0"/>
  </Objects>
  <Merge type="Text/Comma" src="$work/photos.csv"/>
</Glabels-document>
XML
  reference_file="$work/glabels.pdf"
  start=$(now)
  /usr/bin/time -v -o "$work/reference.time" glabels-3-batch -o "$reference_file" "$work/sheet.glabels" \
    > "$work/reference.log" 2>&1 || say "labels: glabels-3-batch failed: $(tail -1 "$work/reference.log")"
  t_reference=$(elapsed "$start")
elif [ -x /usr/bin/montage ]; then
  reference="ImageMagick montage, 3 x 10 on a 600 dpi letter page (JPEG)"
  reference_file="$work/montage.jpg"
  start=$(now)
  /usr/bin/time -v -o "$work/reference.time" /usr/bin/montage "${photos[@]}" -tile 3x10 \
    -geometry 650x446+117+77 -density 600 -units PixelsPerInch -quality 94 "$reference_file" \
    > "$work/reference.log" 2>&1 || say "labels: montage failed: $(tail -1 "$work/reference.log")"
  t_reference=$(elapsed "$start")
else
  say "labels: neither glabels-3-batch (apt-get install glabels) nor montage found; no comparison"
fi

say ""
say "Label sheet 5160 (30 labels) of $(get photos) photos of $(get photo_size), $(nproc) cores"
printf '  %-56s %10s ms\n' "placing the photos (decode + give, one thread)" "$(get place_ms)"
printf '  %-56s %10s KB   (pixels held %s KB)\n' "resident memory added by the placed photos" \
  "$(get rss_growth_kb)" "$(get held_pixels_kb)"
printf '  %-56s %10s ms\n' "first paint at 640 x 828 (every photo scaled once)" "$(get first_paint_ms)"
printf '  %-56s %10s ms   (target 16 ms; median of 25: %s ms)\n' "one redraw after it" \
  "$(get redraw_ms)" "$(get redraw_median_ms)"
printf '  %-56s %10s ms\n' "redraw after selecting another label" "$(get select_redraw_ms)"
printf '  %-56s %10s KB\n' "resident memory added by the scaled copies" "$(get scaled_cache_growth_kb)"
printf '  %-56s %10s ms   (%s bytes)\n' "printing the placed sheet to a 600 dpi PDF" "$(get pdf_ms)" "$(get pdf_bytes)"
printf '  %-56s %10s KB\n' "peak resident memory of all of it" "$(get peak_rss_kb)"
say "One process printing the $count photos on the sheet (decode included):"
printf '  %-56s %10s ms   (%s bytes, peak %s KB)\n' "brivane labels print, 600 dpi PDF" "$t_brivane" \
  "$(size_of "$work/brivane.pdf")" "$(peak "$work/brivane.time")"
if [ -n "$reference" ]; then
  printf '  %-56s %10s ms   (%s bytes, peak %s KB)\n' "$reference" "$t_reference" \
    "$(size_of "$reference_file")" "$(peak "$work/reference.time")"
  awk -v a="$t_brivane" -v b="$t_reference" -v sa="$(size_of "$work/brivane.pdf")" \
    -v sb="$(size_of "$reference_file")" -v ma="$(peak "$work/brivane.time")" -v mb="$(peak "$work/reference.time")" \
    'BEGIN { if (a > 0 && sa > 0 && ma > 0)
               printf "  brivane / reference: time %.2f, file size %.2f, peak memory %.2f\n", a / b, sa / sb, ma / mb }'
fi
exit 0
