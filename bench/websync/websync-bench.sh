#!/usr/bin/env bash
# Publishing and retrieving 200 photos of 12 MP (with their thumbnails) against the
# reference service on loopback: `brivane publish` (first run, then a second run with
# nothing changed, which must send nothing in under a second) next to `lftp mirror -R` of
# the same My Photos folder to the same FTP server, and `brivane retrieve` into an empty
# My Photos next to `lftp mirror` of the same remote folder into an empty folder. Prints
# the times of one run and the ratios. Never fails a build: exits 0.
#
#   bench/websync/websync-bench.sh [BUILD_DIR]     (default: build; COUNT=N for fewer photos)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "websync: no build folder '${1:-build}'"; exit 0; }
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
count=${COUNT:-200}
width=4000
height=3000
convert=/usr/bin/convert
cache="$build/bench-cache/websync-${width}x${height}"
work="$build/bench-work/websync"

say() { printf '%s\n' "$*"; }
cmake --build "$build" --target brivane brivane-service > /dev/null 2>&1 ||
  { say "websync: could not build brivane and brivane-service in $build"; exit 0; }
brivane="$build/bin/brivane"
[ -x "$convert" ] || { say "websync: $convert is missing (apt-get install imagemagick)"; exit 0; }
command -v curl > /dev/null || { say "websync: curl is missing (apt-get install curl)"; exit 0; }
have_lftp=1
command -v lftp > /dev/null || { have_lftp=0; say "websync: lftp not found (apt-get install lftp); no reference figures"; }
labels="$build/bin/labels.dat"
[ -s "$labels" ] || labels="$source_dir/content/labels.dat"

# The source pictures are made once and kept: two smooth plasma pictures with grain,
# rolled and tinted into as many different photos as asked for. Never timed.
generate() {
  mkdir -p "$cache/sources" || return 1
  local bases=2 i
  for ((i = 1; i <= bases; i++)); do
    [ -s "$cache/base-$i.miff" ] && continue
    say "generating base picture $i of $bases ..."
    "$convert" -size 1000x750 -seed "$i" plasma:fractal -resize "${width}x${height}!" \
      -attenuate 0.4 +noise Gaussian "$cache/base-$i.miff" || return 1
  done
  local missing=()
  for ((i = 1; i <= count; i++)); do
    [ -s "$cache/sources/$(printf 'photo-%03d.jpg' "$i")" ] || missing+=("$i")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  say "generating ${#missing[@]} source photos ..."
  printf '%s\n' "${missing[@]}" | xargs -P "$(nproc)" -I{} sh -c '
    i={}; name=$(printf "photo-%03d.jpg" "$i")
    "$0" "$1/base-$(( (i - 1) % 2 + 1 )).miff" -roll "+$(( i * 397 % $2 ))+$(( i * 211 % $3 ))" \
      -modulate "100,$(( 80 + i % 40 )),$(( 60 + i * 7 % 80 ))" -quality 92 "$1/sources/.$name" &&
      mv "$1/sources/.$name" "$1/sources/$name"' "$convert" "$cache" "$width" "$height"
}

# The photos stored by `brivane import` (stem.jpg and stem_tn.jpg), kept per count.
library="$cache/library-$count"
import_photos() {
  [ -e "$library/done" ] && return 0
  rm -rf "$library" && mkdir -p "$library" && cp "$labels" "$library/" || return 1
  say "importing $count photos with brivane import ..."
  local sources=() i
  for ((i = 1; i <= count; i++)); do sources+=("$cache/sources/$(printf 'photo-%03d.jpg' "$i")"); done
  "$brivane" --program-folder "$library" import "${sources[@]}" > /dev/null 2> "$cache/import.log" || return 1
  touch "$library/done"
}
generate || { say "websync: could not generate the source photos in $cache"; exit 0; }
import_photos || { say "websync: brivane import failed (see $cache/import.log)"; exit 0; }
photos=$(ls "$library/myphotos" | grep -c '\.jpg$')
photo_bytes=$(du -sb "$library/myphotos" | cut -f1)
distinct=$(md5sum "$library"/myphotos/*.jpg | cut -d' ' -f1 | sort -u | wc -l)
[ "$distinct" -eq "$photos" ] || say "websync: warning: only $distinct of $photos stored files differ"

rm -rf "$work" && mkdir -p "$work" || { say "websync: cannot make $work"; exit 0; }
exec 3< <("$build/bin/brivane-service" --data "$work/data" --http 0 --https 0 --ftp 0 --stop-with-parent 2> "$work/service.log")
service=$!
kept=0
trap 'kill $service 2>/dev/null; [ "$kept" -eq 1 ] || rm -rf "$work"' EXIT
read -r -t 30 line <&3 || { say "websync: the service did not start: $(cat "$work/service.log")"; exit 0; }
http=$(sed -n 's/.* http=\([0-9]*\).*/\1/p' <<< "$line")
https=$(sed -n 's/.* https=\([0-9]*\).*/\1/p' <<< "$line")
ftp=$(sed -n 's/.* ftp=\([0-9]*\).*/\1/p' <<< "$line")
cert="$work/data/tls/cert.pem"

# Signs up an account with room for every photo; prints "USERID UPLOADPWD".
sign_up() {  # first name
  local answer user pwd
  answer=$(curl -sf "http://127.0.0.1:$http/register.asp?FirstName=$1&LastName=Bench&Address1=1&Address2=&City=C&State=S&Zip=1&Country=&Phone=1&Fax=&Mobile=&Email=$1%40example.com&Password=pw") || return 1
  user=$(tr -d '\r' <<< "$answer" | sed -n 's/^UserId=//p')
  [ -n "$user" ] || return 1
  pwd=$(curl -sf "http://127.0.0.1:$http/getpaths.asp?UserId=$user" | tr -d '\r' | sed -n 's/^UploadPwd=//p')
  [ -n "$pwd" ] || return 1
  "$build/bin/brivane-service" --data "$work/data" set-space "$user" $((photo_bytes * 4)) > /dev/null || return 1
  echo "$user $pwd"
}
read -r user1 pwd1 < <(sign_up Brivane) && [ -n "${user1:-}" ] || { say "websync: could not sign up an account"; exit 0; }
read -r user2 pwd2 < <(sign_up Lftp) && [ -n "${user2:-}" ] || { say "websync: could not sign up a second account"; exit 0; }

# A program folder of its own for each brivane run, all on the first account.
program() {  # name [with-photos]
  mkdir -p "$work/$1/prog" "$work/$1/win" && cp "$labels" "$work/$1/prog/" || return 1
  printf '[Settings]\nUserId=%s\nPassword=pw\nServiceHost=localhost:%s\nServiceCAFile=%s\n' \
    "$user1" "$https" "$cert" > "$work/$1/win/quendal.ini"
  [ -z "${2:-}" ] || cp -a "$library/myphotos" "$work/$1/prog/"
}
# Each run sets $seconds. Earlier writes reach the disk first, so no run pays for another's.
run_brivane() {  # folder log command...; the summary goes to folder/log.out
  local folder=$1 log=$2 start status
  shift 2
  sync
  start=$(date +%s.%N)
  BRIVANE_PROGRAM_FOLDER="$work/$folder/prog/" BRIVANE_WINDOWS_FOLDER="$work/$folder/win/" \
    "$brivane" "$@" > "$work/$folder/$log.out" 2> "$work/$folder/$log.err"
  status=$?
  seconds=$(elapsed "$start")
  [ "$status" -eq 0 ] || { say "websync: brivane $* exited with $status (see $work/$folder/$log.err)"; kept=1; }
}
run_lftp() {  # log user pwd commands; lftp's output goes to work/log
  local start
  sync
  start=$(date +%s.%N)
  lftp -u "$2,$3" -p "$ftp" 127.0.0.1 -e "set ftp:passive-mode on; set net:max-retries 2; set cmd:fail-exit yes; $4; quit" \
    > "$work/$1" 2>&1 || { say "websync: lftp failed (see $work/$1)"; kept=1; }
  seconds=$(elapsed "$start")
}
elapsed() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
transferred() { grep -c "^Transferring file" "$1"; }
program publish with-photos || { say "websync: cannot make a program folder in $work"; exit 0; }
# Every contender starts from pages already in memory.
cat "$work"/publish/prog/myphotos/* > /dev/null
run_brivane publish first publish; t_publish=$seconds
run_brivane publish second publish; t_republish=$seconds
sent_first=$(cat "$work/publish/first.out")
sent_second=$(cat "$work/publish/second.out")
verdict=FAIL
grep -q '^sent 0 of 0 files' <<< "$sent_second" &&
  awk -v t="$t_republish" 'BEGIN { exit !(t < 1) }' && verdict=PASS

# lftp sends the same folder to the second account: whole files, one at a time (its
# default --parallel=1), no permissions (the server offers no SITE CHMOD), not the
# store's hidden lock files.
t_mirror_up="" t_remirror_up="" t_mirror_down="" t_mirror_down_sync=""
if [ "$have_lftp" -eq 1 ]; then
  mirror_up="mirror -R --no-perms --exclude-glob .* --verbose=1 $work/publish/prog/myphotos/ /photos/$user2"
  run_lftp up.log "$user2" "$pwd2" "$mirror_up"; t_mirror_up=$seconds
  up_files=$(transferred "$work/up.log")
  run_lftp reup.log "$user2" "$pwd2" "$mirror_up"; t_remirror_up=$seconds
  reup_files=$(transferred "$work/reup.log")
fi

program retrieve || { say "websync: cannot make a program folder in $work"; exit 0; }
run_brivane retrieve only retrieve; t_retrieve=$seconds
received=$(cat "$work/retrieve/only.out")
if [ "$have_lftp" -eq 1 ]; then
  mkdir -p "$work/lftp-down"
  run_lftp down.log "$user1" "$pwd1" "mirror --no-perms --verbose=1 /photos/$user1 $work/lftp-down"
  t_mirror_down=$seconds
  # brivane makes each received file durable before it is put in place; lftp does not.
  start=$(date +%s.%N)
  sync
  t_mirror_down_sync=$(awk -v a="$t_mirror_down" -v b="$(elapsed "$start")" 'BEGIN { printf "%.2f", a + b }')
  down_files=$(transferred "$work/down.log")
  down_bytes=$(du -sb "$work/lftp-down" | cut -f1)
fi
retrieved_bytes=$(du -sb "$work/retrieve/prog/myphotos" 2> /dev/null | cut -f1)
cmp -s <(cd "$library/myphotos" && md5sum -- *) <(cd "$work/retrieve/prog/myphotos" 2> /dev/null && md5sum -- *) ||
  { say "websync: warning: the retrieved photos differ from the published ones"; kept=1; }

mb() { awk -v b="$1" 'BEGIN { printf "%.0f MB", b / 1048576 }'; }
say ""
say "Publishing and retrieving $count photos of ${width} x ${height} ($photos files with thumbnails, $(mb "$photo_bytes")), loopback, $(nproc) cores"
say "  brivane publish, first run:   $sent_first"
say "  brivane publish, second run:  $sent_second"
say "  brivane retrieve:             $received"
[ "$have_lftp" -eq 1 ] && say "  lftp: $up_files files sent, then $reup_files; $down_files files received ($(mb "$down_bytes"); brivane $(mb "${retrieved_bytes:-0}"))"
cell() { [ -z "$1" ] || printf '%8s s' "$1"; }
row() {  # what brivane-seconds lftp-command lftp-seconds [brivane-seconds for the ratio]
  printf '  %-32s %10s   %-28s %10s   %s\n' "$1" "$(cell "$2")" "$3" "$(cell "$4")" "$(ratio "${5:-$2}" "${4:-0}")"
}
printf '  %-32s %10s   %-28s %10s   %s\n' "" "brivane" "" "lftp" "brivane / lftp"
row "publish (first run)" "$t_publish" "mirror -R" "$t_mirror_up"
row "publish (nothing changed)" "$t_republish" "mirror -R (nothing changed)" "$t_remirror_up"
row "retrieve (into empty My Photos)" "$t_retrieve" "mirror (into empty folder)" "$t_mirror_down"
row "" "" "mirror, then sync" "$t_mirror_down_sync" "$t_retrieve"
say "  second publish sends nothing in under a second: $verdict"
[ "$kept" -eq 1 ] && say "  (the run's files stay in $work for a look)"
exit 0
