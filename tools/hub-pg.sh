#!/usr/bin/env bash
# A throwaway PostgreSQL 15 cluster in a folder of its own, for the level
# hub's tests and benchmark. initdb refuses to run as root, so as root the
# cluster runs as the user nobody.
#
#   tools/hub-pg.sh start DIR   makes and starts the cluster; prints the --db address
#   tools/hub-pg.sh stop DIR    stops it at once and removes DIR
set -euo pipefail
PGBIN=${PGBIN:-/usr/lib/postgresql/15/bin}
command=$1
dir=$2

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=nobody --regid=nogroup --clear-groups -- "$@"
  else
    "$@"
  fi
}

case $command in
start)
  mkdir -p "$dir"
  if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$dir"
    chmod o+x "$(dirname "$dir")"   # nobody passes through the folder that holds it
  fi
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  as_owner "$PGBIN/initdb" -D "$dir/data" -U hub --auth=trust -E UTF8 --locale=C.UTF-8 > "$dir/initdb.log" 2>&1
  as_owner "$PGBIN/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c max_connections=200" start > /dev/null
  as_owner "$PGBIN/createdb" -h 127.0.0.1 -p "$port" -U hub hub
  echo "postgresql://hub@127.0.0.1:$port/hub"
  ;;
stop)
  as_owner "$PGBIN/pg_ctl" -D "$dir/data" -m immediate stop > /dev/null 2>&1 || true
  rm -rf "$dir"
  ;;
*)
  echo "usage: tools/hub-pg.sh start|stop DIR" >&2
  exit 2
  ;;
esac
