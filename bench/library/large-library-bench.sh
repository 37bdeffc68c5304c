#!/usr/bin/env bash
# quendal over a large My Photos folder: 10,000 small photos (and 1,000, to show how it
# scales). For each size, two runs on the offscreen platform with a warm page cache:
#  - bench_photo_list_start, quendal's own start steps timed from the inside: first entry
#    shown, list filled, list painted full, peak memory, then IDLE seconds of nothing;
#  - build/bin/quendal itself, watched from outside through /proc: how long it stays busy
#    after its start, its peak memory, and the CPU and memory of IDLE seconds of nothing.
# There is no reference tool to set beside it. Never fails a build: exits 0.
#
#   bench/library/large-library-bench.sh [BUILD_DIR]     (default: build)
#   IDLE=60 SIZES="1000 10000"                           (environment, the defaults)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "large-library: no build folder '${1:-build}'"; exit 0; }
idle=${IDLE:-60}
sizes=${SIZES:-"1000 10000"}
brivane="$build/bin/brivane"
quendal="$build/bin/quendal"
probe="$build/bench/bench_photo_list_start"
cache="$build/bench-cache/large-library"
work="$build/bench-work/large-library"
python=/usr/bin/python3
say() { printf '%s\n' "$*"; }

cmake --build "$build" --target quendal brivane bench_photo_list_start > /dev/null 2>&1 ||
  { say "large-library: could not build quendal, brivane and bench_photo_list_start in $build"; exit 0; }
for tool in "$brivane" "$quendal" "$probe"; do
  [ -x "$tool" ] || { say "large-library: $tool is missing"; exit 0; }
done
command -v convert > /dev/null || { say "large-library: convert is missing (apt-get install imagemagick)"; exit 0; }

quendal_pid=""
cleanup() {
  [ -n "$quendal_pid" ] && kill "$quendal_pid" 2> /dev/null && wait "$quendal_pid" 2> /dev/null
  quendal_pid=""
}
trap cleanup EXIT

# A few photos stored by `brivane import` (photo and thumbnail, description inside), made
# once; every larger folder is copies of these pairs under other names, each with its own
# file time so the list order is fixed. Generation is never timed.
make_pairs() {
  local base="$cache/pairs" i
  [ "$(ls "$base/myphotos" 2> /dev/null | grep -c '_tn\.jpg$')" -ge 8 ] && return 0
  rm -rf "$base" && mkdir -p "$base/sources" || return 1
  for i in 1 2 3 4 5 6 7 8; do
    convert -size 640x480 -seed "$i" plasma:fractal -quality 90 "$base/sources/photo $i.jpg" || return 1
  done
  "$brivane" --program-folder "$base/" import --jobs 2 --description "A photo of the large library" \
    "$base/sources/"*.jpg > "$base/import.log" 2>&1
}
make_folder() {  # count: fills $cache/myphotos-COUNT once
  local count=$1 folder="$cache/myphotos-$1"
  [ "$(ls "$folder" 2> /dev/null | grep -c '_tn\.jpg$')" -eq "$count" ] && return 0
  say "making $count photos in $folder (once) ..."
  rm -rf "$folder" && mkdir -p "$folder" || return 1
  "$python" - "$cache/pairs/myphotos" "$folder" "$count" << 'EOF'
import os, shutil, sys
source, target, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
stems = sorted(name[:-7] for name in os.listdir(source) if name.endswith("_tn.jpg"))
base = 1600000000
for i in range(count):
    stem = stems[i % len(stems)]
    name = "Photo %05d" % i
    for suffix in (".jpg", "_tn.jpg"):
        shutil.copyfile(os.path.join(source, stem + suffix), os.path.join(target, name + suffix))
        os.utime(os.path.join(target, name + suffix), (base + i, base + i))
EOF
}
make_pairs || { say "large-library: could not make the photos with brivane import"; exit 0; }

# A program folder of its own: the build's shipped content, linked, and the photos.
prepare() {  # count
  rm -rf "$work" && mkdir -p "$work/prog" "$work/win" "$work/sys" "$work/home" || return 1
  local entry name
  for entry in "$build/bin/"*; do
    name=$(basename "$entry")
    case $name in myphotos | photos.dat | addrbook.dat | deletealbums.dat | *.debug) continue ;; esac
    ln -s "$entry" "$work/prog/$name"
  done
  cp -a "$cache/myphotos-$1" "$work/prog/myphotos"
  cat "$work/prog/myphotos/"* > /dev/null
}
# Always in a subshell of its own (a substitution or "&"): exec, so that $! is the program.
run_env() {
  exec env BRIVANE_PROGRAM_FOLDER="$work/prog/" BRIVANE_WINDOWS_FOLDER="$work/win/" BRIVANE_SYSTEM_FOLDER="$work/sys/" \
    HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share" \
    XDG_CACHE_HOME="$work/home/.cache" QT_QPA_PLATFORM=offscreen "$@"
}
now() { date +%s.%N; }
mb() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
sec() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", b - a; else print "-" }'; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2> /dev/null; }
status_kb() { awk -v k="$2" '$1 == k { print $2 }' "/proc/$1/status" 2> /dev/null; }
hz=$(getconf CLK_TCK)

say ""
say "quendal over a large My Photos folder (small photos: 640 x 480, 100-pixel thumbnails)"
say "  offscreen platform, warm page cache, $(nproc) cores, idle period ${idle} s"
for count in $sizes; do
  make_folder "$count" || { say "large-library: could not make $count photos"; continue; }

  # From the inside.
  prepare "$count" || { say "large-library: cannot use $work"; exit 0; }
  start=$(now)
  figures=$(run_env "$probe" "$count" "$idle" 2> "$work/probe.err")
  get() { printf '%s\n' "$figures" | awk -v k="$1" '$1 == k { print $2 }'; }
  if [ -z "$(get list_filled)" ]; then
    say "large-library: the timed start over $count photos failed (see $work/probe.err)"
  else
    say ""
    say "$count photos: quendal's start steps, timed inside"
    printf '  %-46s %10s s\n' "first entry shown" "$(sec "$start" "$(get first_entry)")"
    printf '  %-46s %10s s   (%s entries)\n' "list filled (whole folder in the list)" "$(sec "$start" "$(get list_filled)")" "$(get entries)"
    printf '  %-46s %10s s\n' "list painted full" "$(sec "$start" "$(get list_painted_full)")"
    printf '  %-46s %10s MB\n' "peak resident memory when filled" "$(mb "$(get peak_rss_kb_at_filled)")"
    printf '  %-46s %10s ms   (%s%% of one core over %s s)\n' "idle: CPU used" "$(get idle_cpu_ms)" \
      "$(awk -v c="$(get idle_cpu_ms)" -v s="$(get idle_seconds)" 'BEGIN { printf "%.3f", c / 10 / s }')" "$(get idle_seconds)"
    printf '  %-46s %10s MB   -> %s MB (highest %s MB)\n' "idle: resident memory, start -> end" \
      "$(mb "$(get idle_rss_start_kb)")" "$(mb "$(get idle_rss_end_kb)")" "$(mb "$(get idle_rss_max_kb)")"
  fi

  # build/bin/quendal itself, from outside.
  prepare "$count" || exit 0
  start=$(now)
  run_env "$quendal" > "$work/quendal.out" 2> "$work/quendal.err" &
  quendal_pid=$!
  last_ticks=0 last_change=$start quiet_since=""
  # Busy until: the last moment its CPU time grew before two quiet seconds (10 ms ticks).
  for _ in $(seq 3000); do
    sleep 0.1
    t=$(ticks "$quendal_pid") || break
    [ -n "$t" ] || break
    stamp=$(now)
    if [ "$t" != "$last_ticks" ]; then
      last_ticks=$t last_change=$stamp
    elif awk -v a="$last_change" -v b="$stamp" 'BEGIN { exit !(b - a >= 2) }'; then
      break
    fi
  done
  if ! kill -0 "$quendal_pid" 2> /dev/null; then
    say "large-library: quendal ended early (see $work/quendal.err)"
    quendal_pid=""
    continue
  fi
  busy=$(sec "$start" "$last_change")
  peak=$(status_kb "$quendal_pid" VmHWM:)
  t0=$(ticks "$quendal_pid") r0=$(status_kb "$quendal_pid" VmRSS:) rmax=$r0 w0=$(now)
  for ((s = 0; s < idle; s += 5)); do
    sleep 5
    r=$(status_kb "$quendal_pid" VmRSS:)
    [ -n "$r" ] && [ "$r" -gt "$rmax" ] && rmax=$r
  done
  t1=$(ticks "$quendal_pid") r1=$(status_kb "$quendal_pid" VmRSS:) w1=$(now)
  threads=$(ls "/proc/$quendal_pid/task" | wc -l)
  cleanup
  say "$count photos: build/bin/quendal, watched from outside"
  printf '  %-46s %10s s\n' "busy after start until" "$busy"
  printf '  %-46s %10s MB\n' "peak resident memory" "$(mb "$peak")"
  printf '  %-46s %10s ms   (%s%% of one core over %s s; %s threads)\n' "idle: CPU used" \
    "$(( (t1 - t0) * 1000 / hz ))" "$(awk -v t=$((t1 - t0)) -v h="$hz" -v a="$w0" -v b="$w1" 'BEGIN { printf "%.3f", t / h * 100 / (b - a) }')" \
    "$(awk -v a="$w0" -v b="$w1" 'BEGIN { printf "%.0f", b - a }')" "$threads"
  printf '  %-46s %10s MB   -> %s MB (highest %s MB)\n' "idle: resident memory, start -> end" "$(mb "$r0")" "$(mb "$r1")" "$(mb "$rmax")"
done
say "  load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
[ -n "${KEEP_LARGE_LIBRARY_BENCH:-}" ] || rm -rf "$work"
exit 0
