#!/bin/sh
# Live result streams under load: STREAMS readers (default 2,000) hold an
# event stream of the senior men's 100 m heats of the sample meet open on
# `arenix serve`, 8 from each of 250 loopback addresses (under the
# per-address cap), and a recorder saves the heats' results once. Prints the server's
# memory and threads before and with the streams open, and how long after
# the save was sent each stream had its event (median, slowest).
#   bench/streams_load.sh [STREAMS [PORT]]      (default 2000, 18190)
set -e
cd "$(dirname "$0")/.."
streams=${1:-2000}
port=${2:-18190}
ulimit -n 16384 2>/dev/null || ulimit -n 8192
. bench/sample_server.sh
sample_meet streams
serve_sample "$port"

/usr/bin/python3 - "$port" "$pid" "$streams" <<'PY'
import asyncio, re, socket, statistics, sys, time, urllib.parse

port, pid, count = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3])
topic = "stage|100米|高中组|男||1"

def status():
    fields = {}
    for line in open(f"/proc/{pid}/status"):
        k, _, v = line.partition(":")
        fields[k] = v.strip()
    return int(fields["VmRSS"].split()[0]) / 1024.0, int(fields["Threads"])

def socket_memory_mb():
    # Kernel memory of all TCP sockets (both ends of every stream), in pages.
    for line in open("/proc/net/sockstat"):
        if line.startswith("TCP:"):
            parts = line.split()
            return int(parts[parts.index("mem") + 1]) * 4096 / 1048576.0
    return 0.0

def gbk(s):
    return urllib.parse.quote(s.encode("gbk"))

async def http(method, path, body=b"", cookie=""):
    r, w = await asyncio.open_connection("127.0.0.1", port)
    head = f"{method} {path} HTTP/1.1\r\nHost: 127.0.0.1:{port}\r\nConnection: close\r\n"
    head += f"Referer: http://127.0.0.1:{port}/index.asp\r\n"
    if cookie:
        head += f"Cookie: ARENIXSESSIONID={cookie}\r\n"
    if method == "POST":
        head += f"Content-Type: application/x-www-form-urlencoded\r\nContent-Length: {len(body)}\r\n"
    w.write(head.encode() + b"\r\n" + body)
    data = await r.read()
    w.close()
    return data

def form(fields):
    return "&".join(gbk(k) + "=" + gbk(v) for k, v in fields).encode()

async def stream(i, ready, arrived, t0):
    sock = socket.socket()
    sock.bind((f"127.0.{1 + i // 2000}.{1 + (i // 8) % 250}", 0))
    sock.setblocking(False)
    await asyncio.get_running_loop().sock_connect(sock, ("127.0.0.1", port))
    r, w = await asyncio.open_connection(sock=sock)
    w.write(f"GET /live?topic={urllib.parse.quote(topic)} HTTP/1.1\r\nHost: x\r\n\r\n".encode())
    buf = b""
    while b"event: hello" not in buf:
        chunk = await r.read(4096)
        if not chunk:
            raise SystemExit(f"stream {i} refused: {buf[:60]!r}")
        buf += chunk
    ready.append(i)
    while b"event: change" not in buf:
        chunk = await r.read(4096)
        if not chunk:
            return
        buf += chunk
    arrived.append(time.monotonic() - t0[0])
    w.close()

async def main():
    rss0, threads0 = status()
    kernel0 = socket_memory_mb()
    ready, arrived, t0 = [], [], [0.0]
    tasks = [asyncio.create_task(stream(i, ready, arrived, t0)) for i in range(count)]
    while len(ready) < count:
        await asyncio.sleep(0.1)
        for t in tasks:
            if t.done() and t.exception():
                raise t.exception()
    await asyncio.sleep(1)
    rss1, threads1 = status()
    kernel1 = socket_memory_mb()

    # The recorder logs in and saves every heat of the round.
    login = await http("POST", "/login.asp", form([("user", "jilu1"), ("password", "123456"), ("back", "")]))
    cookie = re.search(rb"ARENIXSESSIONID=([^;\r\n]+)", login).group(1).decode()
    page = (await http("GET", f"/entry.asp?age={gbk('高中组')}&sex={gbk('男')}&item={gbk('100米')}&item_sub=&sc=1&zc=0",
                       cookie=cookie)).decode("gbk", "replace")
    numbers = [n for n in re.search(r'name="ydy_bh_list" value="([^"]*)"', page).group(1).split("|") if n]
    fields = [("age", "高中组"), ("sex", "男"), ("item", "100米"), ("item_sub", ""), ("zdygs", ""), ("TsJs", "径赛"),
              ("Jtxm", "False"), ("JsFd", "True"), ("scs", "2"), ("sc", "1"), ("zc", "0"), ("bsjg", "0"),
              ("Record", ""), ("ydy_bh_list", "|" + "|".join(numbers))]
    for k, n in enumerate(numbers):
        fields += [("playcj_2_" + n, "11"), ("playcj_3_" + n, str(10 + k))]
    t0[0] = time.monotonic()
    saved = await http("POST", "/entry.asp", form(fields), cookie)
    save_ms = (time.monotonic() - t0[0]) * 1000
    assert b" 302 " in saved.split(b"\r\n")[0], saved[:200]
    await asyncio.wait(tasks, timeout=10)
    late = sorted(arrived)
    print(f"streams open: {len(ready)}")
    print(f"server memory: {rss0:.1f} MB before, {rss1:.1f} MB with the streams ({rss1 - rss0:.1f} MB for them, "
          f"{(rss1 - rss0) * 1024 / count:.1f} KB each)")
    print(f"kernel TCP memory: {kernel0:.1f} MB before, {kernel1:.1f} MB with the streams (both ends)")
    print(f"server threads: {threads0} before, {threads1} with the streams")
    print(f"save: {save_ms:.0f} ms to its reply; events arrived at {len(late)} of {count} streams, "
          f"median {statistics.median(late) * 1000:.0f} ms, slowest {late[-1] * 1000:.0f} ms after the save was sent")

asyncio.run(main())
PY
