# Sourced by the service benchmarks, which set pg_bin, work and say.

service_pid=""
pg_pid=""
# Stops the service and PostgreSQL, whichever runs.
cleanup() {
  [ -n "$service_pid" ] && kill "$service_pid" 2> /dev/null && wait "$service_pid" 2> /dev/null
  [ -n "$pg_pid" ] && kill -INT "$pg_pid" 2> /dev/null && wait "$pg_pid" 2> /dev/null
  service_pid=""
  pg_pid=""
}

# Starts a private PostgreSQL server in $work, as the postgres user when we are root (it
# refuses root). Sets pg_pid and conninfo; says why and fails when it cannot.
start_private_postgres() {
  if [ ! -x "$pg_bin/initdb" ]; then
    say "  postgresql: not installed (Debian package postgresql): skipped"
    return 1
  fi
  local as_pg=()
  if [ "$(id -u)" = 0 ]; then
    as_pg=(setpriv --reuid=postgres --regid=postgres --init-groups --pdeathsig TERM --)
    chown postgres: "$work"
  fi
  local pg_port=$(( 20000 + RANDOM % 20000 ))
  if ! "${as_pg[@]}" "$pg_bin/initdb" -D "$work/pg" -U postgres -A trust --no-sync -E UTF8 --locale=C.UTF-8 \
      > "$work/initdb.log" 2>&1; then
    say "  postgresql: initdb failed (see $work/initdb.log)"
    return 1
  fi
  "${as_pg[@]}" "$pg_bin/postgres" -D "$work/pg" -k "$work" -p "$pg_port" -c listen_addresses=127.0.0.1 \
    -c fsync=off -c max_connections=100 > "$work/postgres.log" 2>&1 &
  pg_pid=$!
  for _ in $(seq 100); do
    "$pg_bin/pg_isready" -q -h 127.0.0.1 -p "$pg_port" && break
    sleep 0.1
  done
  conninfo="host=127.0.0.1 port=$pg_port user=postgres dbname=postgres"
}
