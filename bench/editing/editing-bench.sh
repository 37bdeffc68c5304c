#!/usr/bin/env bash
# Dragging a 24-megapixel photo (6000 x 4000) behind a frame and under a crop shape: the
# preview's repaint over 200 moves (min, median, max; target at most 16 ms). Then the
# framed picture made on OK for every shipped frame and edge, and the oval crop of the
# whole photo, in the program (the photo already decoded, as the dialogs have it) beside
# ImageMagick doing the same work as a process (decode included; its decode alone is
# printed too). Then a speech balloon from OK to the photo stored again. One run; never
# fails a build: exits 0.
#
#   bench/editing/editing-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "editing: no build folder '${1:-build}'"; exit 0; }
bench="$build/bench/bench_editing"
convert=/usr/bin/convert   # the real ImageMagick, not a stand-in earlier on PATH
say() { printf '%s\n' "$*"; }

cmake --build "$build" --target bench_editing content > /dev/null 2>&1 ||
  { say "editing: could not build bench_editing in $build"; exit 0; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

figures=$(QT_QPA_PLATFORM=offscreen "$bench" "$build/bin/frames/" "$build/bin/edges/" "$work" 2> /dev/null) ||
  { say "editing: the run failed"; exit 0; }
get() { printf '%s\n' "$figures" | awk -v k="$1" '$1 == k { print $2 }'; }

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.0f", (b - a) * 1000 }'; }
magick() {  # times one ImageMagick run; prints ms or "failed"
  local start; start=$(now)
  if timeout 300 "$convert" "$@" > /dev/null 2>&1; then elapsed "$start"; else echo failed; fi
}

say "Editing a 24 MP photo (6000 x 4000), one run, $(nproc) cores."
say ""
say "Repaint of the preview for each of 200 drag moves (target at most 16 ms):"
printf '  behind a frame:     min %s ms, median %s ms, max %s ms\n' \
  "$(get frame-repaint-min)" "$(get frame-repaint-median)" "$(get frame-repaint-max)"
printf '  under a crop shape: min %s ms, median %s ms, max %s ms\n' \
  "$(get crop-repaint-min)" "$(get crop-repaint-median)" "$(get crop-repaint-max)"
printf '  red-eye view at full size, scrolled: min %s ms, median %s ms, max %s ms\n' \
  "$(get redeye-repaint-min)" "$(get redeye-repaint-median)" "$(get redeye-repaint-max)"
say ""

photo="$work/photo.jpg"
[ -s "$photo" ] || { say "editing: no photo written"; exit 0; }
cat "$photo" > /dev/null
decode=$(magick "$photo" null:)
say "Framing on OK: ours in the program; ImageMagick as a process (its decode alone: $decode ms)"
say "  ImageMagick: -resize x<frame height> -extent <frame size> on white, the frame with its black made transparent over it"
printf '  %-16s %8s %12s %8s\n' "frame" "ours ms" "ImageMagick" "ratio"
printf '%s\n' "$figures" | grep '^frame ' | sed 's/^frame //' | while IFS='|' read -r name ms result; do
  file="$build/bin/frames/$name.gif"
  [ -f "$file" ] || file="$build/bin/edges/$name.gif"
  size=$(identify -format '%wx%h' "$file" 2> /dev/null)
  height=${size#*x}
  theirs=$(magick "$photo" -resize "x$height" -gravity center -background white -extent "$size" \
    \( "$file" -transparent black \) -composite -quality 98 "$work/framed.jpg")
  ratio=$(awk -v a="$ms" -v b="$theirs" 'BEGIN { if (b + 0 > 0 && a + 0 > 0) printf "%.1f", b / a; else print "-" }')
  [ "$result" = 1 ] || ms="failed"
  printf '  %-16s %8s %12s %8s\n' "$name" "$ms" "$theirs" "$ratio"
done
say ""

read -r x y w h <<< "$(printf '%s\n' "$figures" | awk '$1 == "oval-rect" { print $2, $3, $4, $5 }')"
ours=$(get oval-crop)
theirs=$(magick "$photo" \( +clone -fill black -colorize 100 -fill white \
  -draw "ellipse $((x + w / 2)),$((y + h / 2)) $((w / 2)),$((h / 2)) 0,360" \) -alpha off \
  -compose CopyOpacity -composite -background white -alpha remove -quality 98 "$work/oval.jpg")
ratio=$(awk -v a="$ours" -v b="$theirs" 'BEGIN { if (b + 0 > 0 && a + 0 > 0) printf "%.1f", b / a; else print "-" }')
say "Oval crop of the whole photo: ours $ours ms; ImageMagick (ellipse mask, CopyOpacity on white) $theirs ms; ratio $ratio"
say ""

# ImageMagick draws a box of the same place and size with a line of text, as a process.
read -r cx cy cw ch <<< "$(printf '%s\n' "$figures" | awk '$1 == "caption-box" { print $2, $3, $4, $5 }')"
theirs=$(magick "$photo" -fill white -stroke black -strokewidth 5 \
  -draw "roundrectangle $cx,$cy $((cx + cw)),$((cy + ch)) 40,40" -stroke none -fill navy -pointsize 80 \
  -annotate "+$((cx + 20))+$((cy + ch / 2))" "Wir waren am Strand" -quality 98 "$work/caption.jpg")
read -r draw result <<< "$(printf '%s\n' "$figures" | awk '$1 == "caption-draw" { print $2, $3 }')"
[ "$result" = 1 ] || draw="failed"
say "Speech balloon on the stored photo (${cw}x${ch} pixels, 86 characters at 14 pt, scale $(awk -v w="$cw" 'BEGIN { printf "%.2f", 6000 / 1280 }')):"
stored=$(get caption-stored)
[ "$stored" = 1 ] && stored="" || stored=" (the stored photo does not show it: failed)"
say "  from OK to the photo stored again: $(get caption-ok-to-stored) ms$stored"
say "  the drawing alone, into the photo in memory: $draw ms"
say "  ImageMagick drawing a rounded box and a line of text as a process (decode and encode included): $theirs ms"
exit 0
