# Shared by the benchmark scripts that run `arenix serve` on the sample meet
# (soak.sh, post_memory.sh, streams_load.sh). Sourced from the source tree.

# Sets $arenix ($ARENIX to compare another build, else build/arenix, built
# first), makes a fresh folder $work holding the sample meet in $work/data,
# and removes it on exit together with the server $pid.
#   sample_meet NAME      (NAME names the folder: /tmp/arenix-NAME-…)
sample_meet() {
  arenix=${ARENIX:-build/arenix}
  [ -n "$ARENIX" ] || cmake --build build --target arenix_cli >/dev/null
  work=$(mktemp -d "/tmp/arenix-$1-XXXXXX")
  pid=""
  trap 'stop_sample_server; rm -rf "$work"' EXIT INT TERM
  "$arenix" demo "$work/data" >/dev/null
}

# Starts `arenix serve` on $work/data as $pid (quiet, its log in
# $work/serve.log) and waits until it answers. SERVE_ARGS adds options of
# `arenix serve` (e.g. "--workers 8"), to compare settings.
#   serve_sample PORT
serve_sample() {
  # shellcheck disable=SC2086
  "$arenix" serve --data "$work/data" --port "$1" --quiet $SERVE_ARGS >"$work/serve.log" 2>&1 &
  pid=$!
  for i in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$1/" && break; sleep 0.1; done
}

# Stops the server started by serve_sample, if it runs.
stop_sample_server() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  pid=""
}
