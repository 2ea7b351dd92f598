#!/bin/sh
# Peak memory of one large form post: the server's peak resident size
# (VmHWM) before and after one urlencoded post of SIZE bytes to the result
# query page, sent once with Content-Length and once chunked (each to a
# fresh server, as the peak only grows).
#   bench/post_memory.sh [MEGABYTES]      (default 30; the body limit is 32 MiB)
# POST_PORT chooses the server's port (default 18190); ARENIX the binary
# (default build/arenix), to compare two builds.
set -e
cd "$(dirname "$0")/.."
mb=${1:-30}
. bench/sample_server.sh
sample_meet post
/usr/bin/python3 - "$work/form" "$mb" <<'PY'
import sys
with open(sys.argv[1], "wb") as f:
    f.write(b"sc=1&pad=")
    f.write(b"x" * (int(sys.argv[2]) * 1000 * 1000 - 9))
PY
port=${POST_PORT:-18190}
hwm() { awk '/^VmHWM/ {print $2}' "/proc/$pid/status"; }

for framing in length chunked; do
  serve_sample "$port"
  curl -sf -o /dev/null "http://127.0.0.1:$port/results.asp?sc=1"
  before=$(hwm)
  if [ "$framing" = chunked ]; then
    code=$(curl -s -o /dev/null -w '%{http_code}' -H 'Transfer-Encoding: chunked' \
      -H 'Content-Type: application/x-www-form-urlencoded' --data-binary @"$work/form" \
      "http://127.0.0.1:$port/results.asp")
  else
    code=$(curl -s -o /dev/null -w '%{http_code}' -H 'Content-Type: application/x-www-form-urlencoded' \
      --data-binary @"$work/form" "http://127.0.0.1:$port/results.asp")
  fi
  after=$(hwm)
  echo "$framing: ${mb} MB post answered $code; peak RSS $before KiB before, $after KiB after (+$((after - before)) KiB)"
  stop_sample_server
done
