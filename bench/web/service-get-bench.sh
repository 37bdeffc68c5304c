#!/usr/bin/env bash
# Round trips of one client against the reference service on loopback (SQLite): the
# client's ServiceGet over plain HTTP and over HTTPS (the cached connection a publishing
# run uses), each next to ApacheBench (`ab -c 1`) making the same request, as requests per
# second and the ratio. Never fails a build: exits 0.
#
#   bench/web/service-get-bench.sh [BUILD_DIR]     (default: build)

set -u
build=${1:-build}
count=${COUNT:-2000}
say() { printf '%s\n' "$*"; }
cmake --build "$build" --target brivane-service bench_service_get > /dev/null 2>&1 ||
  { say "service-get: could not build in $build"; exit 0; }
command -v ab > /dev/null || say "service-get: ab not found (apache2-utils); no reference figures"

work=$(mktemp -d)
exec 3< <("$build/bin/brivane-service" --data "$work/data" --http 0 --https 0 --ftp off --stop-with-parent 2>"$work/err")
service=$!
trap 'kill $service 2>/dev/null; rm -rf "$work"' EXIT
read -r -t 20 line <&3 || { say "service-get: the service did not start: $(cat "$work/err")"; exit 0; }
http=$(sed -n 's/.* http=\([0-9]*\).*/\1/p' <<< "$line")
https=$(sed -n 's/.* https=\([0-9]*\).*/\1/p' <<< "$line")

out=$("$build/bench/bench_service_get" "$http" "$https" "$work/data/tls/cert.pem" "$count") ||
  { say "service-get: the client failed"; exit 0; }
user=$(sed -n 's/^user //p' <<< "$out")
ours_http=$(sed -n 's/^http //p' <<< "$out")
ours_https=$(sed -n 's/^https //p' <<< "$out")

ab_rate() {  # url
  ab -q -n "$count" -c 1 "$1" 2>/dev/null | sed -n 's/^Requests per second: *\([0-9.]*\).*/\1/p'
}
ab_http=$(ab_rate "http://127.0.0.1:$http/getalbums.asp?UserId=$user")
ab_https=$(ab_rate "https://127.0.0.1:$https/getalbums.asp?UserId=$user")
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
say "ServiceGet round trips, one client, $count requests (getalbums.asp, SQLite):"
printf '  %-6s  brivane %8s req/s   ab -c 1 %8s req/s   ratio %s\n' \
  http "$ours_http" "${ab_http:--}" "$(ratio "$ours_http" "${ab_http:-0}")" \
  https "$ours_https" "${ab_https:--}" "$(ratio "$ours_https" "${ab_https:-0}")"
exit 0
