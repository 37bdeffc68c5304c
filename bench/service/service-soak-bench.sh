#!/usr/bin/env bash
# A soak of the reference service (brivane-service): CLIENTS users at once (default 50)
# for DURATION seconds (default 300), first on SQLite, then on a private PostgreSQL server
# when its programs are installed. Each client signs up, then saves and deletes photos,
# albums, pages and places through the service's HTTP requests and uploads files through
# its FTP upload server (bench/service/soak_clients.py). At the end every user's records
# and files are compared with what the successful requests made. Prints requests per
# second, errors, latency percentiles and the accounting. Never fails a build: exits 0.
#
#   bench/service/service-soak-bench.sh [BUILD_DIR]      (default: build)
#   DURATION=300 CLIENTS=50                              (environment, the defaults)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "service-soak: no build folder '${1:-build}'"; exit 0; }
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
duration=${DURATION:-300}
clients=${CLIENTS:-50}
program="$build/bin/brivane-service"
work="$build/bench-work/service-soak"
pg_bin=/usr/lib/postgresql/15/bin
. "$(dirname "$0")/service-bench-support.sh"
python=/usr/bin/python3

say() { printf '%s\n' "$*"; }
cmake --build "$build" --target brivane-service > /dev/null 2>&1 || true
[ -x "$program" ] || { say "service-soak: $program is not built (cmake --build $build --target brivane-service)"; exit 0; }
"$python" -c "import pyftpdlib" 2> /dev/null || { say "service-soak: python3-pyftpdlib is missing"; exit 0; }

trap cleanup EXIT
rm -rf "$work" && mkdir -p "$work" || { say "service-soak: cannot use $work"; exit 0; }

# start_service NAME [--database CONNINFO]: sets $http and $ftp
start_service() {
  local name=$1 line=""
  shift
  "$program" --data "$work/$name" --http 0 --https off --ftp 0 --stop-with-parent "$@" \
    > "$work/$name.out" 2> "$work/$name.err" &
  service_pid=$!
  for _ in $(seq 200); do
    line=$(head -n 1 "$work/$name.out" 2> /dev/null)
    [ -n "$line" ] && break
    sleep 0.1
  done
  http=$(sed -nE 's/^brivane-service http=([0-9]+) .*/\1/p' <<< "$line")
  ftp=$(sed -nE 's/.* ftp=([0-9]+) .*/\1/p' <<< "$line")
  [ -n "$http" ] && [ -n "$ftp" ] || { say "service-soak: did not start (see $work/$name.err)"; return 1; }
}

soak() {  # store [--postgres CONNINFO]
  local store=$1 figures start
  shift
  start=$(cut -d' ' -f14,15 "/proc/$service_pid/stat" | awk '{ print $1 + $2 }')
  figures=$("$python" "$source_dir/bench/service/soak_clients.py" --http "$http" --ftp "$ftp" \
              --data "$work/$store" --clients "$clients" --seconds "$duration" "$@" 2> "$work/$store-clients.err")
  get() { printf '%s\n' "$figures" | awk -v k="$1" '$1 == k { print $2 }'; }
  local cpu rss
  cpu=$(cut -d' ' -f14,15 "/proc/$service_pid/stat" 2> /dev/null | awk -v s="$start" -v h="$(getconf CLK_TCK)" '{ printf "%.0f", ($1 + $2 - s) / h }')
  rss=$(awk '$1 == "VmHWM:" { printf "%.1f", $2 / 1024 }' "/proc/$service_pid/status" 2> /dev/null)
  if [ -z "$(get requests)" ]; then
    say "  $store: the clients failed (see $work/$store-clients.err)"
    return
  fi
  say ""
  say "  $store: $(get clients) clients ($(get signed_up) signed up, $(get stuck_clients) stuck) for $(get seconds) s"
  printf '    %-34s %s\n' "requests (HTTP and FTP uploads)" "$(get requests)"
  printf '    %-34s %s\n' "requests per second" "$(get requests_per_second)"
  printf '    %-34s %s\n' "errors" "$(get errors)"
  printf '%s\n' "$figures" | awk '$1 ~ /^errors_/ { printf "      %-32s %s\n", substr($1, 8), $2 }'
  printf '    %-34s %s\n' "by request" \
    "$(printf '%s\n' "$figures" | awk '$1 ~ /^count_/ { printf "%s%s %s", sep, substr($1, 7), $2; sep = ", " }')"
  printf '    %-34s p50 %s ms, p90 %s ms, p99 %s ms, p99.9 %s ms, max %s ms\n' "latency" "$(get latency_p50_ms)" \
    "$(get latency_p90_ms)" "$(get latency_p99_ms)" "$(get latency_p999_ms)" "$(get latency_max_ms)"
  printf '    %-34s %s s of CPU, peak resident memory %s MB\n' "service process" "$cpu" "$rss"
  printf '    %-34s photos %s of %s expected, albums %s of %s, files %s of %s; %s pages, %s places\n' \
    "held at the end" "$(get held_photos)" "$(get expected_photos)" "$(get held_albums)" "$(get expected_albums)" \
    "$(get held_files)" "$(get expected_files)" "$(get held_pages)" "$(get held_places)"
  printf '    %-34s %s (requests that failed: their items are not judged)\n' "uncertain items" "$(get uncertain_items)"
  printf '    %-34s users %s, photos %s, albums %s, pages %s, places %s; rows left by no request: %s\n' "database rows" \
    "$(get db_rows_users)" "$(get db_rows_photos)" "$(get db_rows_albums)" "$(get db_rows_album_pages)" \
    "$(get db_rows_album_slots)" "$(printf '%s\n' "$figures" | awk '$1 ~ /^db_/ && $1 !~ /^db_rows_/ { n += $2 } END { print n + 0 }')"
  printf '    %-34s %s\n' "mismatches" "$(get mismatches)"
  printf '%s\n' "$figures" | grep -E '^(MISMATCH|PROBLEM)' | head -20 | sed 's/^/      /'
  local failed
  failed=$(grep -c "failed" "$work/$store.err" 2> /dev/null)
  [ "${failed:-0}" = 0 ] || say "    $store: $failed lines of 'failed' in the service's log (see $work/$store.err)"
}

say ""
say "brivane-service soak: $clients clients for $duration s each store, $(nproc) cores"
if start_service sqlite; then
  soak sqlite
fi
cleanup

if start_private_postgres; then
  if start_service postgresql --database "$conninfo"; then
    soak postgresql --postgres "$conninfo"
  fi
fi
cleanup
say "  load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
[ -n "${KEEP_SERVICE_BENCH:-}" ] || rm -rf "$work"
exit 0
