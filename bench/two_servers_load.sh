#!/bin/sh
# Two servers on one meet behind nginx against one server, in one run: wrk
# against the result query page of a 64-entrant round served by one
# `arenix serve`, then against nginx configured by packaging/nginx-arenix.conf
# in front of two `arenix serve` processes on the same meet folder (nginx
# keeps the public reply for the half second it was made in). Prints
# requests per second and p99 latency of both and their ratio.
#   bench/two_servers_load.sh [SECONDS [CONNECTIONS]]   (default 30 s, 32 connections)
set -e
cd "$(dirname "$0")/.."
top=$(pwd)
secs=${1:-30}
conns=${2:-32}
cmake --build build --target arenix_cli >/dev/null
work=$(mktemp -d /tmp/arenix-load-XXXXXX)
chmod 755 "$work"
pids=""
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

. bench/load_common.sh
write_load_meet

one=18190; a=18191; b=18192; front=18193
serve() {  # port [more options]
  port=$1; shift
  build/arenix serve --data "$work/data" --port "$port" --quiet "$@" >"$work/serve-$port.log" 2>&1 &
  pids="$pids $!"
}
serve $one
serve $a --node a --proxy 127.0.0.1
serve $b --node b --proxy 127.0.0.1

mkdir -p "$work/cache"
sed -e "s/127.0.0.1:8081/127.0.0.1:$a/; s/127.0.0.1:8082/127.0.0.1:$b/" \
    -e "s|listen 80;|listen 127.0.0.1:$front;|; s|/var/cache/nginx/arenix|$work/cache|" \
    packaging/nginx-arenix.conf >"$work/arenix.conf"
write_nginx_conf "  include $work/arenix.conf;"
nginx -c "$work/nginx.conf" -p "$work" -e "$work/nginx-error.log" &
pids="$pids $!"
for port in $one $a $b $front; do wait_for "http://127.0.0.1:$port/"; done

echo "wrk: ${secs}s, $conns connections, 2 threads, on $(nproc) cores"
measure one "http://127.0.0.1:$one$load_path"
measure two "http://127.0.0.1:$front$load_path"
echo "ratio two servers behind nginx / one server: $(echo "$two_rps $one_rps" | awk '{printf "%.2f", $1 / $2}')"
