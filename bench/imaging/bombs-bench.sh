#!/usr/bin/env bash
# The decompression bombs a fuzzing campaign found (a PNG, an arithmetic-coded JPEG, an
# MS Paint and a GEM Image file): time and peak memory for Brivane to refuse each, beside
# ImageMagick's identify and convert on the same file, once with the system's policy and
# once with the limits Brivane gives Magick (what reading them cost before they were
# refused from their headers). One run each; ratios are ours/theirs. Never fails a build.
# Usage: bombs-bench.sh BUILD-FOLDER
set -uo pipefail
build=${1:-build}
bench=$build/bench/bench_bomb_refusal
[[ -x $bench ]] || { echo "bombs: $bench is not built"; exit 0; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
identify=/usr/bin/identify convert=/usr/bin/convert   # the real ImageMagick
policy=$(cd "$build/bin/magick" 2>/dev/null && pwd)
"$bench" write "$out/bombs" || { echo "bombs: could not write the files"; exit 0; }

# One run of a command with its own $TMPDIR, where Magick's disk caches go and are
# weighed every half second: "seconds peak-MB exit-status temporary-files-peak-MB".
measure() {
  local tmp=$out/tmp disk=0 now pid
  rm -rf "$tmp" && mkdir -p "$tmp"
  TMPDIR=$tmp MAGICK_TEMPORARY_PATH=$tmp /usr/bin/time -o "$out/time" -f '%e %M %x' \
    timeout 300 "$@" >"$out/stdout" 2>"$out/stderr" &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    now=$(du -sk "$tmp" 2>/dev/null | cut -f1)
    (( ${now:-0} > disk )) && disk=$now
    sleep 0.5
  done
  wait "$pid"
  read -r secs kb status < <(tail -1 "$out/time")
  printf '%s %d %s %s\n' "$secs" "$((kb / 1024))" "$status" "$(awk -v k="$disk" 'BEGIN{printf "%.1f", k / 1024}')"
  rm -rf "$tmp"
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b > 0) printf "%.3f", a / b; else print "n/a" }'; }

row() { printf '%-27s %-27s %8s %8s %8s %5s %9s %9s   %s\n' "$@"; }
row file reader seconds "peak MB" "tmp MB" exit "time o/t" "mem o/t" ""
for file in "$out"/bombs/*; do
  name=$(basename "$file")
  read -r ours_s ours_mb ours_x ours_disk < <(measure "$bench" refuse "$file")
  row "$name" "brivane (process)" "$ours_s" "$ours_mb" "$ours_disk" "$ours_x" "1.000" "1.000" \
    "$(cut -d' ' -f1 "$out/stdout") ($(stat -c %s "$file") bytes)"
  row "" "brivane (in process)" "$(cut -d' ' -f2 "$out/stdout")" "" "" "" "" "" ""
  for tool in "identify:$identify" "convert:$convert"; do
    for limits in system brivane; do
      if [[ $limits == system ]]; then
        run=(env -u MAGICK_CONFIGURE_PATH)
      else
        run=(env MAGICK_CONFIGURE_PATH="$policy")
      fi
      if [[ ${tool%%:*} == identify ]]; then
        figures=$(measure "${run[@]}" "$identify" "$file")
      else
        figures=$(measure "${run[@]}" "$convert" "$file" null:)
      fi
      read -r secs mb status disk <<<"$figures"
      row "" "${tool%%:*} ($limits limits)" "$secs" "$mb" "$disk" "$status" \
        "$(ratio "$ours_s" "$secs")" "$(ratio "$ours_mb" "$mb")" "$(head -c 70 "$out/stderr" | tr '\n' ' ')"
    done
  done
  # Our JPEG codec is libjpeg's: its own tool decodes what the codec decoded before.
  if [[ $name == *.jpg ]] && command -v djpeg >/dev/null; then
    read -r secs mb status disk < <(measure sh -c "djpeg '$file' > /dev/null")
    row "" "djpeg (streams the rows)" "$secs" "$mb" "$disk" "$status" \
      "$(ratio "$ours_s" "$secs")" "$(ratio "$ours_mb" "$mb")" "$(head -c 70 "$out/stderr" | tr '\n' ' ')"
  fi
done
echo "(o/t: ours over theirs; exit 124: stopped after 300 s; peak MB: resident peak; tmp MB:"
echo " the most temporary files seen in \$TMPDIR; Magick has no reader for MS Paint or GEM"
echo " Image, so its figures there are for turning down an unknown format)"
