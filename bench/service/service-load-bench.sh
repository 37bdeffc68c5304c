#!/usr/bin/env bash
# Load on the reference service (brivane-service): signs up a user, then lets ab
# (5000 requests, 50 at a time) and, when installed, wrk (2 threads, 50 connections,
# 5 s) ask getpaths.asp and savephoto.asp; prints requests per second. First on SQLite,
# then on a private PostgreSQL server when its programs are installed. A benchmark never
# fails a build: problems are reported, exit is 0.
#
#   bench/service/service-load-bench.sh [BUILD_DIR]     (default: build)

set -u
build=$(cd "${1:-build}" 2>/dev/null && pwd) || { echo "service: no build folder '${1:-build}'"; exit 0; }
program="$build/bin/brivane-service"
work="$build/bench-work/service"
pg_bin=/usr/lib/postgresql/15/bin
. "$(dirname "$0")/service-bench-support.sh"

say() { printf '%s\n' "$*"; }
cmake --build "$build" --target brivane-service > /dev/null 2>&1 || true
[ -x "$program" ] || { say "service: $program is not built (cmake --build $build --target brivane-service)"; exit 0; }
command -v ab > /dev/null || { say "service: ab is missing (Debian package apache2-utils)"; exit 0; }
command -v curl > /dev/null || { say "service: curl is missing (Debian package curl)"; exit 0; }

trap cleanup EXIT
rm -rf "$work" && mkdir -p "$work" || { say "service: cannot use $work"; exit 0; }

# start_service NAME [--database CONNINFO]: sets $port
start_service() {
  local name=$1 line=""
  shift
  "$program" --data "$work/$name" --http 0 --https off --ftp off --stop-with-parent "$@" \
    > "$work/$name.out" 2> "$work/$name.err" &
  service_pid=$!
  for _ in $(seq 100); do
    line=$(head -n 1 "$work/$name.out" 2> /dev/null)
    [ -n "$line" ] && break
    sleep 0.1
  done
  port=$(sed -nE 's/^brivane-service http=([0-9]+) .*/\1/p' <<< "$line")
  [ -n "$port" ] || { say "service: did not start (see $work/$name.err)"; return 1; }
}

# rate TOOL URL: requests per second, and the requests that failed when some did
rate() {
  case $1 in
    ab) ab -q -n 5000 -c 50 "$2" 2> /dev/null |
          awk '/^Requests per second/ { r = $4 } /^(Failed requests|Non-2xx responses):/ { f += $NF }
               END { printf "%s%s", r, f ? " (" f " failed)" : "" }' ;;
    wrk) wrk -t2 -c50 -d5s "$2" 2> /dev/null |
           awk '/^Requests\/sec/ { r = $2 } /Non-2xx|Socket errors/ { f = f " " $0 }
                END { printf "%s%s", r, f ? " (" f ")" : "" }' ;;
  esac
}

run_store() {
  local store=$1 user base answer failed
  base="http://127.0.0.1:$port"
  user=$(curl -s "$base/register.asp?FirstName=Bench&LastName=Mark&Address1=1%20Road&Address2=&City=Town&State=ST&Zip=1&Country=&Phone=5&Fax=&Mobile=&Email=bench%40example.org&Password=pw" |
         sed -nE 's/^UserId=([0-9]+)\r$/\1/p')
  [ -n "$user" ] || { say "service ($store): could not sign up"; return; }
  answer=$(curl -s "$base/getpaths.asp?UserId=$user")
  [[ $answer == *"ActiveFlag=1"* ]] || { say "service ($store): getpaths.asp does not answer"; return; }
  local paths="$base/getpaths.asp?UserId=$user"
  local save="$base/savephoto.asp?UserId=$user&Photo=Fish%20%26%20Chips&Size=123456&W=640&H=480&Comment=Tom%20%26%20Jerry''s%20100%25"
  for tool in ab wrk; do
    command -v $tool > /dev/null || { say "  $tool is missing (Debian package ${tool/ab/apache2-utils}): skipped"; continue; }
    printf '  %-8s %-5s getpaths.asp %9s req/s    savephoto.asp %9s req/s\n' "$store" "$tool" \
      "$(rate $tool "$paths")" "$(rate $tool "$save")"
  done
  failed=$(grep -c "failed" "$work/$store.err" 2> /dev/null)
  [ "${failed:-0}" = 0 ] || say "  $store: $failed requests failed in the service (see $work/$store.err)"
}

say ""
say "brivane-service under load: $(nproc) cores, 50 clients at once (ab: 5000 requests; wrk: 5 s)"
if start_service sqlite; then
  run_store sqlite
fi
cleanup

if start_private_postgres; then
  if start_service postgresql --database "$conninfo"; then
    run_store postgresql
  fi
fi
cleanup
say "  load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
[ -n "${KEEP_SERVICE_BENCH:-}" ] || rm -rf "$work"
exit 0
