#!/bin/sh
# Load on the web module beside nginx, in one run: wrk against the result
# query page of a 64-entrant round (8 heats of 8, results and places entered)
# served by `arenix serve`, then against nginx serving that page's HTML as a
# static file. Prints requests per second and p99 latency of both and their
# ratio.
#   bench/web_load.sh [SECONDS [CONNECTIONS]]      (default 30 s, 32 connections)
# LOAD_PORT chooses the server's port (default 18180; nginx takes the next).
# BEFORE=path/to/arenix also measures that build's kept reply in the same
# run (on the port after nginx's), to compare two builds on a busy machine.
set -e
cd "$(dirname "$0")/.."
top=$(pwd)
secs=${1:-30}
conns=${2:-32}
cmake --build build --target arenix_cli >/dev/null
work=$(mktemp -d /tmp/arenix-load-XXXXXX)
chmod 755 "$work"  # nginx's workers read the page as another user
arenix_pid=""; nginx_pid=""; before_pid=""
cleanup() {
  [ -n "$arenix_pid" ] && kill "$arenix_pid" 2>/dev/null || true
  [ -n "$before_pid" ] && kill "$before_pid" 2>/dev/null || true
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

. bench/load_common.sh
write_load_meet

port=${LOAD_PORT:-18180}; nginx_port=$((port + 1))
build/arenix serve --data "$work/data" --port $port --quiet >"$work/serve.log" 2>&1 &
arenix_pid=$!
path=$load_path
wait_for "http://127.0.0.1:$port/"
mkdir -p "$work/html"
curl -sf -o "$work/html/results.html" "http://127.0.0.1:$port$path"
rows=$(grep -o "<tr align=center" "$work/html/results.html" | wc -l)
bytes=$(wc -c <"$work/html/results.html")
echo "page: $path, $rows entrant rows, $bytes bytes"
[ "$rows" -eq 64 ] || { echo "web_load: the page lists $rows entrants, not 64" >&2; exit 1; }

write_nginx_conf "  default_type \"text/html; charset=gbk\";
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/html;
  }"
nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
wait_for "http://127.0.0.1:$nginx_port/results.html"

echo "wrk: ${secs}s, $conns connections, 2 threads, on $(nproc) cores"
# The public page as spectators get it (its reply kept until the data
# changes), then the same page run for every request (a visitor with a
# session: the script, the component and the database each time).
measure arenix "http://127.0.0.1:$port$path"
measure arenix_run "http://127.0.0.1:$port$path" "Cookie: ARENIXSESSIONID=00000000000000000000000000000000"
measure nginx "http://127.0.0.1:$nginx_port/results.html"
echo "ratio arenix/nginx: $(echo "$arenix_rps $nginx_rps" | awk '{printf "%.3f", $1 / $2}')"
echo "ratio arenix (page run every time)/nginx: $(echo "$arenix_run_rps $nginx_rps" | awk '{printf "%.4f", $1 / $2}')"
if [ -n "$BEFORE" ]; then
  before_port=$((port + 2))
  "$BEFORE" serve --data "$work/data" --port $before_port --quiet >"$work/before.log" 2>&1 &
  before_pid=$!
  wait_for "http://127.0.0.1:$before_port/"
  measure before "http://127.0.0.1:$before_port$path"
  echo "ratio before/nginx: $(echo "$before_rps $nginx_rps" | awk '{printf "%.3f", $1 / $2}')"
fi
