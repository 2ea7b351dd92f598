#!/bin/sh
# Load on the web module beside nginx, in one run: wrk against the result
# query page of a 64-entrant round (8 heats of 8, results and places entered)
# served by `arenix serve`, then against nginx serving that page's HTML as a
# static file. Prints requests per second and p99 latency of both and their
# ratio.
#   bench/web_load.sh [SECONDS [CONNECTIONS]]      (default 30 s, 32 connections)
set -e
cd "$(dirname "$0")/.."
top=$(pwd)
secs=${1:-30}
conns=${2:-32}
cmake --build build --target arenix_cli >/dev/null
work=$(mktemp -d /tmp/arenix-load-XXXXXX)
chmod 755 "$work"  # nginx's workers read the page as another user
arenix_pid=""; nginx_pid=""
cleanup() {
  [ -n "$arenix_pid" ] && kill "$arenix_pid" 2>/dev/null || true
  [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# The meet: the sample meet with the high-school men's 100 m heats replaced
# by 64 entrants whose results and places are entered.
build/arenix demo "$work/data" >/dev/null
/usr/bin/python3 - "$top/build/arenix" "$work/data" <<'PY'
import subprocess, sys
arenix, data = sys.argv[1], sys.argv[2]
def run(sql):
    subprocess.run([arenix, "db", "exec", data, sql], check=True, stdout=subprocess.DEVNULL)
where = "AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='高中组' And 性别=.T. And Empty(参赛子项目)"
run("Delete From Play Where " + where)
teams = ["第一中学", "第二中学", "实验中学", "育才学校", "外国语学校", "体育运动学校"]
surnames = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗"
given = "伟强磊军洋勇杰涛明超刚平辉鹏华飞"
for i in range(64):
    heat, lane = i // 8 + 1, i % 8 + 1
    hundredths = 1100 + (i * 37) % 300
    result = "    %04d " % hundredths                       # seconds and hundredths
    place = sorted(range(64), key=lambda k: 1100 + (k * 37) % 300).index(i) + 1
    field = "%4d%4d%4d%6s%9s%4d%4d%6s" % (heat * 100 + lane, heat, lane, "008064", result, place, 0, "0.0")
    field = field.ljust(237)
    number = "9%03d" % (i + 1)
    name = surnames[i % 20] + given[(i * 7) % 16]
    run("Insert Into Play (ID, 编号, 运动员, 代表队, 年龄组, 性别, 参赛项目, 参赛子项目, 径赛田赛, 分道, 预赛信息) "
        "Values ('L%05d', '%s', '%s', '%s', '高中组', .T., '100米', '', '径赛', .T., '%s')"
        % (i + 1, number, name, teams[i % 6], field))
run("Update PlaySour Set 比赛状态=.T. Where " + where.replace("Empty(参赛子项目)", "Empty(参赛子项目)") +
    " And AllTrim(赛次名称)=='预赛'")
PY

port=18180; nginx_port=18181
build/arenix serve --data "$work/data" --port $port --quiet >"$work/serve.log" 2>&1 &
arenix_pid=$!
# age=高中组 sex=男 item=100米 sc=1, GBK-encoded as the site's links are.
path="/results.asp?age=%B8%DF%D6%D0%D7%E9&sex=%C4%D0&item=100%C3%D7&item_sub=&sc=1"
for i in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
mkdir -p "$work/html"
curl -sf -o "$work/html/results.html" "http://127.0.0.1:$port$path"
rows=$(grep -o "<tr align=center" "$work/html/results.html" | wc -l)
bytes=$(wc -c <"$work/html/results.html")
echo "page: $path, $rows entrant rows, $bytes bytes"
[ "$rows" -eq 64 ] || { echo "web_load: the page lists $rows entrants, not 64" >&2; exit 1; }

cat >"$work/nginx.conf" <<NGINX
worker_processes auto;
daemon off;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
  access_log off;
  default_type "text/html; charset=gbk";
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/html;
  }
}
NGINX
nginx -c "$work/nginx.conf" -p "$work" &
nginx_pid=$!
for i in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$nginx_port/results.html" && break; sleep 0.1; done

measure() {  # name url [header] -> requests/s, p99 latency, errors
  if [ -n "$3" ]; then out=$(wrk -t2 -c"$conns" -d"${secs}s" --timeout 10s --latency -H "$3" "$2")
  else out=$(wrk -t2 -c"$conns" -d"${secs}s" --timeout 10s --latency "$2"); fi
  rps=$(echo "$out" | awk '/Requests\/sec/ {print $2}')
  p99=$(echo "$out" | awk '$1 == "99%" {print $2}')
  non2xx=$(echo "$out" | awk '/Non-2xx/ {print $NF}')
  sock=$(echo "$out" | awk '/Socket errors/ {print $0}')
  echo "$1: $rps requests/s, p99 $p99, non-2xx ${non2xx:-0}${sock:+, $sock}"
  eval "${1}_rps=$rps"
}
echo "wrk: ${secs}s, $conns connections, 2 threads, on $(nproc) cores"
# The public page as spectators get it (its reply kept until the data
# changes), then the same page run for every request (a visitor with a
# session: the script, the component and the database each time).
measure arenix "http://127.0.0.1:$port$path"
measure arenix_run "http://127.0.0.1:$port$path" "Cookie: ARENIXSESSIONID=00000000000000000000000000000000"
measure nginx "http://127.0.0.1:$nginx_port/results.html"
echo "ratio arenix/nginx: $(echo "$arenix_rps $nginx_rps" | awk '{printf "%.3f", $1 / $2}')"
echo "ratio arenix (page run every time)/nginx: $(echo "$arenix_run_rps $nginx_rps" | awk '{printf "%.4f", $1 / $2}')"
