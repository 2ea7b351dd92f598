#!/bin/sh
# Soak: mixed load on the sample meet for a while (bench/soak.py: result
# lists, entry page views, result saves, registrations), then the count of
# errors and lost saves, the latency, and the server's memory (RSS) sampled
# every 5 s, which must stay flat.
#   bench/soak.sh [SECONDS [CONNECTIONS]]      (default 600 s, 64 connections)
# SOAK_PORT chooses the server's port (default 18200); ARENIX the binary
# (default build/arenix), to compare two builds; SERVE_ARGS options of
# `arenix serve` (e.g. "--workers 8"). When the run fails, the
# server's log (its failures with page, line and message) is kept in
# SOAK_LOG (default /tmp/arenix-soak-serve.log).
set -e
cd "$(dirname "$0")/.."
secs=${1:-600}
conns=${2:-64}
. bench/sample_server.sh
sample_meet soak
port=${SOAK_PORT:-18200}
serve_sample "$port"

rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
(
  while kill -0 "$pid" 2>/dev/null; do echo "$(rss)" >>"$work/rss"; sleep 5; done
) &
sampler=$!
# The server's processor time so far (user and system), in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
echo "load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
status=0
/usr/bin/python3 bench/soak.py "http://127.0.0.1:$port" "$secs" "$conns" >"$work/soak.out" || status=$?
cat "$work/soak.out"
kill "$sampler" 2>/dev/null || true
echo "load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
# Processor time per request: a figure that the machine's other load
# changes far less than the requests a second.
awk -v ticks="$(cpu_ticks)" -v hz="$(getconf CLK_TCK)" '/^requests:/ {
      printf "server CPU: %.1f s, %.2f ms per request\n", ticks / hz, 1000 * ticks / hz / $2 }' "$work/soak.out"
echo "RSS every 5 s (KiB): $(tr '\n' ' ' <"$work/rss")"
awk 'NR == 1 {first = $1} {last = $1; if ($1 > max) max = $1}
     END {printf "RSS: first %d KiB, highest %d KiB, last %d KiB\n", first, max, last}' "$work/rss"
grep -i "error" "$work/serve.log" | sort | uniq -c | sort -rn | head -20 || true
if [ "$status" -ne 0 ]; then
  cp "$work/serve.log" "${SOAK_LOG:-/tmp/arenix-soak-serve.log}"
  echo "server log kept in ${SOAK_LOG:-/tmp/arenix-soak-serve.log}"
fi
exit $status
