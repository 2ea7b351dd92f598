#!/bin/sh
# The result query page run for every request (a visitor with a session)
# beside its peer, in one run: `arenix serve` on the meet against PHP-FPM
# behind nginx rendering the same round's rows from an SQLite copy of the
# meet's Play table with a session started (bench/php_peer/results.php),
# and the kept public reply against nginx's static copy of the page.
# Prints pages per second, CPU per page of each side (arenix's process;
# nginx's and PHP-FPM's processes together) and the ratios.
#   bench/php_peer_load.sh [SECONDS [CONNECTIONS [ROWS]]]
#                                    (default 20 s, 32 connections, 64 rows)
# Needs nginx, wrk, php-fpm and php-sqlite3 (scripts/bootstrap installs them).
# PEER_PORT: the first of the two ports it listens on (default 18380).
set -e
cd "$(dirname "$0")/.."
top=$(pwd)
secs=${1:-20}
conns=${2:-32}
rows=${3:-64}
fpm=$(ls /usr/sbin/php-fpm* 2>/dev/null | head -1)
[ -n "$fpm" ] || { echo "php_peer_load: php-fpm is not installed (scripts/bootstrap)" >&2; exit 1; }
cmake --build build --target arenix_cli >/dev/null
work=$(mktemp -d /tmp/arenix-peer-XXXXXX)
chmod 755 "$work"
arenix_pid=""; nginx_pid=""; fpm_pid=""
cleanup() {
  [ -n "$arenix_pid" ] && kill "$arenix_pid" 2>/dev/null || true
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
  [ -n "$fpm_pid" ] && kill "$fpm_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

. bench/load_common.sh
echo "writing the meet with a round of $rows entrants"
write_load_meet "$rows"

# The SQLite copy of Play for the peer, every field as stored.
mkdir -p "$work/php"
cp bench/php_peer/results.php "$work/php/"
/usr/bin/python3 - "$work/data" "$work/php/meet.sqlite" <<'PY'
import sqlite3, sys
from dbfread import DBF
play = DBF(sys.argv[1] + "/Play.dbf", encoding="gbk", char_decode_errors="replace")
db = sqlite3.connect(sys.argv[2])
names = play.field_names
db.execute("CREATE TABLE Play (%s)" % ", ".join('"%s"' % n for n in names))
db.executemany("INSERT INTO Play VALUES (%s)" % ", ".join("?" * len(names)),
               ([(int(v) if isinstance(v, bool) else v if isinstance(v, (int, float, str)) or v is None else str(v))
                 for v in (r[n] for n in names)] for r in play))
db.commit()
PY
mkdir -p "$work/sessions"; chmod 777 "$work/sessions" "$work/php"

port=${PEER_PORT:-18380}; nginx_port=$((port + 1))
build/arenix serve --data "$work/data" --port $port --quiet >"$work/serve.log" 2>&1 &
arenix_pid=$!
wait_for "http://127.0.0.1:$port/"
mkdir -p "$work/html"
curl -sf -o "$work/html/results.html" "http://127.0.0.1:$port$load_path"
shown=$(grep -o "<tr align=center" "$work/html/results.html" | wc -l)
echo "arenix page: $shown entrant rows, $(wc -c <"$work/html/results.html") bytes"
[ "$shown" -eq "$rows" ] || { echo "php_peer_load: the page lists $shown entrants, not $rows" >&2; exit 1; }

cat >"$work/fpm.conf" <<FPM
[global]
pid = $work/fpm.pid
error_log = $work/fpm.log
daemonize = no
[www]
listen = $work/fpm.sock
listen.mode = 0666
pm = static
pm.max_children = $(nproc)
php_admin_value[session.save_path] = $work/sessions
php_admin_value[opcache.enable] = 1
FPM
$fpm -y "$work/fpm.conf" -R &
fpm_pid=$!
write_nginx_conf "  default_type \"text/html; charset=gbk\";
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/html;
    location = /results.php {
      root $work/php;
      fastcgi_pass unix:$work/fpm.sock;
      fastcgi_param SCRIPT_FILENAME $work/php/results.php;
      fastcgi_param QUERY_STRING \$query_string;
      fastcgi_param REQUEST_METHOD \$request_method;
      fastcgi_param HTTP_COOKIE \$http_cookie;
    }
  }"
nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
wait_for "http://127.0.0.1:$nginx_port/results.html"
php_path="/results.php?item=100%E7%B1%B3&age=%E9%AB%98%E4%B8%AD%E7%BB%84"
wait_for "http://127.0.0.1:$nginx_port$php_path"
php_rows=$(curl -sf "http://127.0.0.1:$nginx_port$php_path" | grep -o "<tr align=center" | wc -l)
echo "php page: $php_rows entrant rows"
[ "$php_rows" -eq "$rows" ] || { echo "php_peer_load: the peer lists $php_rows entrants, not $rows" >&2; exit 1; }

# CPU time (clock ticks) of processes: a pid and its children.
ticks() {
  total=0
  for p in "$@" $(for q in "$@"; do pgrep -P "$q"; done); do
    t=$(awk '{print $14 + $15}' "/proc/$p/stat" 2>/dev/null || echo 0)
    total=$((total + t))
  done
  echo $total
}
hz=$(getconf CLK_TCK)
cpu_per_page() {  # name ticks-before ticks-after rps
  echo "$2 $3 $4" | awk -v hz="$hz" -v s="$secs" -v n="$1" \
    '{printf "%s: %.3f ms CPU per page\n", n, ($2 - $1) * 1000 / hz / ($3 * s)}'
}

echo "wrk: ${secs}s, $conns connections, 2 threads, on $(nproc) cores"
a0=$(ticks $arenix_pid)
measure arenix_run "http://127.0.0.1:$port$load_path" "Cookie: ARENIXSESSIONID=00000000000000000000000000000000"
a1=$(ticks $arenix_pid)
p0=$(ticks $fpm_pid $nginx_pid)
measure php "http://127.0.0.1:$nginx_port$php_path" "Cookie: PHPSESSID=benchsession0000000000000000"
p1=$(ticks $fpm_pid $nginx_pid)
cpu_per_page arenix_run "$a0" "$a1" "$arenix_run_rps"
cpu_per_page php "$p0" "$p1" "$php_rps"
measure arenix_kept "http://127.0.0.1:$port$load_path"
measure nginx "http://127.0.0.1:$nginx_port/results.html"
echo "ratio arenix (page run every time)/php: $(echo "$arenix_run_rps $php_rps" | awk '{printf "%.3f", $1 / $2}')"
echo "ratio arenix (kept reply)/nginx static: $(echo "$arenix_kept_rps $nginx_rps" | awk '{printf "%.3f", $1 / $2}')"
