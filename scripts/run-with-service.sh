#!/usr/bin/env bash
# Starts the program with the reference photo-sharing service beside it, so that
# publishing works on this computer with nothing else installed. The service keeps its
# accounts and photos in $XDG_DATA_HOME/brivane/service and listens on localhost only
# (HTTP 8080, HTTPS 8443, FTP 2121); it stops when the program ends. A service that
# already answers on those ports (`make service` in another terminal) is used as it is.
#
#   scripts/run-with-service.sh [BUILD_DIR]     (default: build)

set -u
build=${1:-build}
data=${XDG_DATA_HOME:-$HOME/.local/share}/brivane/service

answers() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2> /dev/null; }

service=""
if answers 8443; then
  echo "Using the photo-sharing service that already runs on localhost."
else
  log=$(mktemp)
  "$build/bin/brivane-service" --data "$data" --stop-with-parent > "$log" 2>&1 &
  service=$!
  for _ in $(seq 50); do
    grep -q '^brivane-service ' "$log" && break
    kill -0 "$service" 2> /dev/null || break
    sleep 0.1
  done
  if grep -q '^brivane-service ' "$log"; then
    echo "The photo-sharing service runs on localhost (its data: $data)."
  else
    echo "The photo-sharing service could not start; publishing will not work:" >&2
    cat "$log" >&2
    service=""
  fi
  rm -f "$log"
fi
trap '[ -n "$service" ] && kill "$service" 2> /dev/null' EXIT
"$build/bin/quendal"
