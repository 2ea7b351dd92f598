#!/bin/sh
# Soak: mixed load on the sample meet for a while (bench/soak.py: result
# lists, entry page views, result saves, registrations), then the count of
# errors and lost saves, the latency, and the server's memory (RSS) sampled
# every 5 s, which must stay flat.
#   bench/soak.sh [SECONDS [CONNECTIONS]]      (default 600 s, 64 connections)
# SOAK_PORT chooses the server's port (default 18200); ARENIX the binary
# (default build/arenix), to compare two builds.
set -e
cd "$(dirname "$0")/.."
secs=${1:-600}
conns=${2:-64}
arenix=${ARENIX:-build/arenix}
[ -n "$ARENIX" ] || cmake --build build --target arenix_cli >/dev/null
work=$(mktemp -d /tmp/arenix-soak-XXXXXX)
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

"$arenix" demo "$work/data" >/dev/null
port=${SOAK_PORT:-18200}
"$arenix" serve --data "$work/data" --port $port --quiet >"$work/serve.log" 2>&1 &
pid=$!
for i in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done

rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
(
  while kill -0 "$pid" 2>/dev/null; do echo "$(rss)" >>"$work/rss"; sleep 5; done
) &
sampler=$!
status=0
/usr/bin/python3 bench/soak.py "http://127.0.0.1:$port" "$secs" "$conns" || status=$?
kill "$sampler" 2>/dev/null || true
echo "RSS every 5 s (KiB): $(tr '\n' ' ' <"$work/rss")"
awk 'NR == 1 {first = $1} {last = $1; if ($1 > max) max = $1}
     END {printf "RSS: first %d KiB, highest %d KiB, last %d KiB\n", first, max, last}' "$work/rss"
grep -i "error" "$work/serve.log" | head -5 || true
exit $status
