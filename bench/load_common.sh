# Shared by the load scripts of bench/: the meet they load and the wrk run.
# Sourced with $top (the source tree), $work (a fresh folder), $secs and
# $conns set.

# Writes the meet into $work/data: the sample meet with the high-school
# men's 100 m heats replaced by $1 entrants (default 64, in heats of 8; ten
# lanes past 99 heats) whose results and places are entered.
write_load_meet() {
"$top/build/arenix" demo "$work/data" >/dev/null
/usr/bin/python3 - "$top/build/arenix" "$work/data" "${1:-64}" <<'PY'
import subprocess, sys
arenix, data, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
lanes = 8 if count <= 8 * 99 else 10
def run(sql):
    subprocess.run([arenix, "db", "exec", data, sql], check=True, stdout=subprocess.DEVNULL)
where = "AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='高中组' And 性别=.T. And Empty(参赛子项目)"
run("Delete From Play Where " + where)
teams = ["第一中学", "第二中学", "实验中学", "育才学校", "外国语学校", "体育运动学校"]
surnames = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗"
given = "伟强磊军洋勇杰涛明超刚平辉鹏华飞"
order = sorted(range(count), key=lambda k: 1100 + (k * 37) % 300)
for i in range(count):
    heat, lane = i // lanes + 1, i % lanes + 1
    hundredths = 1100 + (i * 37) % 300
    result = "    %04d " % hundredths                       # seconds and hundredths
    place = order.index(i) + 1
    info = "%03d%03d" % (lanes, count % 1000)
    field = "%4d%4d%4d%6s%9s%4d%4d%6s" % (heat * 100 + lane, heat, lane, info, result, place, 0, "0.0")
    field = field.ljust(237)
    number = "9%03d" % (i + 1)
    name = surnames[i % 20] + given[(i * 7) % 16]
    run("Insert Into Play (ID, 编号, 运动员, 代表队, 年龄组, 性别, 参赛项目, 参赛子项目, 径赛田赛, 分道, 预赛信息) "
        "Values ('L%05d', '%s', '%s', '%s', '高中组', .T., '100米', '', '径赛', .T., '%s')"
        % (i + 1, number, name, teams[i % 6], field))
run("Update PlaySour Set 比赛状态=.T. Where " + where.replace("Empty(参赛子项目)", "Empty(参赛子项目)") +
    " And AllTrim(赛次名称)=='预赛'")
PY
}

# The result query of that round, GBK-encoded as the site's links are
# (age=高中组 sex=男 item=100米 sc=1).
load_path="/results.asp?age=%B8%DF%D6%D0%D7%E9&sex=%C4%D0&item=100%C3%D7&item_sub=&sc=1"

# Writes $work/nginx.conf: nginx in the foreground with its files under
# $work, and the given lines inside its http block.
write_nginx_conf() {
  mkdir -p "$work/temp"
  cat >"$work/nginx.conf" <<NGINX
worker_processes auto;
daemon off;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_body_temp_path $work/temp/body;
  proxy_temp_path $work/temp/proxy;
  fastcgi_temp_path $work/temp/fastcgi;
  uwsgi_temp_path $work/temp/uwsgi;
  scgi_temp_path $work/temp/scgi;
$1
}
NGINX
}

wait_for() {  # url: until it answers, at most 5 s
  for i in $(seq 50); do curl -sf -o /dev/null "$1" && return 0; sleep 0.1; done
  echo "no answer from $1" >&2
  return 1
}

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
