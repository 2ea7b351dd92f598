#!/usr/bin/python3
"""Mixed load on a running `arenix serve` of the sample meet, as a meet day
brings it: spectators reading result lists, recorders viewing the entry page
and saving heats, a delegation saving its registration. Each saver owns one
heat and each registrar one athlete's name, so that at the end every
acknowledged save can be looked for: a save that was acknowledged and is not
there is a lost save. Started by bench/soak.sh, which samples the server's
memory.

    soak.py BASE_URL SECONDS CONNECTIONS
"""
import html
import html.parser
import http.client
import random
import re
import sys
import threading
import time
import urllib.parse

BASE = urllib.parse.urlsplit(sys.argv[1])
SECONDS = float(sys.argv[2])
CONNECTIONS = int(sys.argv[3])


def q(text):
    return urllib.parse.quote(text.encode("gbk"))


class Client:
    """A browser: its session cookie, GBK forms, the site's referrer. Each
    comes from an address of its own (127.0.0.2, .3, ...), as visitors do;
    the server caps the connections of one address."""

    count = 0

    def __init__(self):
        self.cookie = ""
        Client.count += 1
        self.address = "127.0.%d.%d" % (Client.count // 250, 2 + Client.count % 250)

    def send(self, method, path, fields=None):
        body = None
        headers = {"Host": BASE.netloc, "Referer": "%s://%s/index.asp" % (BASE.scheme, BASE.netloc)}
        if self.cookie:
            headers["Cookie"] = self.cookie
        if fields is not None:
            body = "&".join(q(k) + "=" + q(v) for k, v in fields)
            headers["Content-Type"] = "application/x-www-form-urlencoded"
        conn = http.client.HTTPConnection(BASE.hostname, BASE.port, timeout=60, source_address=(self.address, 0))
        try:
            conn.request(method, path, body=body, headers=headers)
            r = conn.getresponse()
            data = r.read()
            for k, v in r.getheaders():
                if k.lower() == "set-cookie" and v.startswith("ARENIXSESSIONID="):
                    self.cookie = v.split(";")[0]
            return r.status, r.getheader("Location") or "", data.decode("gbk", "replace")
        finally:
            conn.close()

    def login(self, user, password):
        status, location, _ = self.send("POST", "/login.asp", [("user", user), ("password", password), ("back", "")])
        if status != 302:
            with lock:  # a client that cannot log in is an error of the run
                errors.append("POST /login.asp (%s): %d" % (user, status))
            raise RuntimeError("login of %s failed: %d" % (user, status))


class FormReader(html.parser.HTMLParser):
    """The fields of one form of a page, as the browser would post them."""

    def __init__(self, form_name):
        super().__init__()
        self.form_name, self.inside, self.fields = form_name, False, []
        self.select, self.options = None, []

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "form":
            self.inside = a.get("name") == self.form_name
        elif not self.inside:
            return
        elif tag == "input" and a.get("name") and a.get("type", "text") in ("text", "hidden", "search"):
            self.fields.append((a["name"], a.get("value") or ""))
        elif tag == "select" and a.get("name"):
            self.select, self.options = a["name"], []
        elif tag == "option" and self.select:
            self.options.append((a.get("value") or "", "selected" in a))

    def handle_endtag(self, tag):
        if tag == "form":
            self.inside = False
        elif tag == "select" and self.select:
            chosen = [v for v, s in self.options if s] or [v for v, _ in self.options[:1]]
            self.fields.append((self.select, chosen[0] if chosen else ""))
            self.select = None


def form_of(page, name):
    reader = FormReader(name)
    reader.feed(page)
    return reader.fields


# The stages the load works on: the high-school men's 100 m heats.
STAGE = "age=%s&item=%s&sex=%s&sc=1" % (q("高中组"), q("100米"), q("男"))
RESULTS = "/results.asp?" + STAGE

lock = threading.Lock()
latencies, errors, notes = [], [], []
deadline = time.time() + SECONDS


def reason(body):
    """What an error page says: its text without scripts, styles and tags
    (the site's error page starts with a long script)."""
    text = re.sub(r"(?is)<(script|style)\b.*?</\1>", " ", body)
    text = html.unescape(re.sub(r"(?s)<[^>]*>", " ", text))
    return " ".join(text.split())[:300]


def timed(client, method, path, fields=None, ok=(200, 302)):
    start = time.time()
    try:
        status, location, body = client.send(method, path, fields)
    except Exception as e:  # a reset or a timeout is an error of the run
        with lock:
            errors.append("%s %s: %s" % (method, path, e))
        return None, "", ""
    with lock:
        latencies.append(time.time() - start)
        if status not in ok or "出错原因" in body:
            errors.append("%s %s: %d after %.1f s: %s"
                          % (method, path, status, time.time() - start, reason(body)))
    return status, location, body


def spectator():
    c = Client()
    while time.time() < deadline:
        timed(c, "GET", random.choice([RESULTS, RESULTS + "&zc=1", "/index.asp", "/entrants.asp"]))


def viewer():
    c = Client()
    c.login("jilu1", "123456")
    while time.time() < deadline:
        timed(c, "GET", "/entry.asp?%s&zc=%d" % (STAGE, random.choice([1, 2])))


saved = {}  # heat -> the last acknowledged round


def saver(heat):
    c = Client()
    c.login("jilu1", "123456")
    numbers = []
    for attempt in range(10):  # the page may be refused while the server is loaded
        _, _, page = c.send("GET", "/entry.asp?%s&zc=%d" % (STAGE, heat))
        form = form_of(page, "myform")
        numbers = [n for n in dict(form).get("ydy_bh_list", "").split("|") if n]
        if numbers:
            break
    if not numbers:
        raise RuntimeError("no entry form for heat %d" % heat)
    hidden = [(k, v) for k, v in form if not k.startswith("playcj_")]
    r = 0
    while time.time() < deadline:
        r += 1
        fields = list(hidden)
        for i, n in enumerate(numbers):
            fields += [("playcj_1_" + n, ""), ("playcj_2_" + n, str(10 + r % 50)), ("playcj_3_" + n, "%02d" % (10 * i + heat))]
        status, location, _ = timed(c, "POST", "/entry.asp", fields, ok=(302,))
        if status == 302 and "saved=1" in location:
            with lock:
                saved[heat] = (r, numbers)


registered = {}  # athlete field -> the last acknowledged name


def registrar():
    c = Client()
    c.login("dyzx", "123456")
    _, _, page = c.send("GET", "/register.asp")
    form = form_of(page, "myform")
    field = next(k for k, _ in form if k.startswith("ydy_xm_"))
    r = 0
    while time.time() < deadline:
        r += 1
        name = "潘" + "一二三四五六七八九十"[r % 10] + "华"
        fields = [(k, name if k == field else v) for k, v in form]
        status, location, body = timed(c, "POST", "/register.asp", fields, ok=(200, 302))
        if status in (200, 302) and "出错原因" not in body:
            with lock:
                registered[field] = name


def main():
    threads = [threading.Thread(target=saver, args=(h,)) for h in (1, 2)]
    threads.append(threading.Thread(target=registrar))
    rest = max(CONNECTIONS - len(threads), 2)
    threads += [threading.Thread(target=viewer) for _ in range(rest // 4)]
    threads += [threading.Thread(target=spectator) for _ in range(rest - rest // 4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()

    # Every acknowledged save is in the stage: each heat shows its saver's
    # last round (the result list reads the stage field).
    lost = 0
    _, _, page = Client().send("GET", RESULTS + "&nocache=%d" % time.time())
    for heat, (r, numbers) in sorted(saved.items()):
        for i, _ in enumerate(numbers):
            if "%d”%02d" % (10 + r % 50, 10 * i + heat) not in page:
                lost += 1
                notes.append("heat %d round %d athlete %d missing" % (heat, r, i))
                break
    c = Client()
    c.login("dyzx", "123456")
    _, _, page = c.send("GET", "/register.asp")
    lost_registrations = sum(1 for f, name in registered.items() if dict(form_of(page, "myform")).get(f) != name)

    lat = sorted(latencies)
    p = lambda f: lat[min(len(lat) - 1, int(len(lat) * f))] * 1000 if lat else 0
    print("requests: %d in %.0f s (%.0f/s), errors: %d, lost saves: %d of %d heats, lost registrations: %d"
          % (len(lat), SECONDS, len(lat) / SECONDS, len(errors), lost, len(saved), lost_registrations))
    print("latency: p50 %.0f ms, p99 %.0f ms, max %.0f ms" % (p(0.5), p(0.99), p(1.0)))
    print("saves acknowledged: %s" % ", ".join("heat %d: %d" % (h, r) for h, (r, _) in sorted(saved.items())))
    for e in (errors[:20] + notes[:5]):
        print("  " + e)
    sys.exit(1 if errors or lost or lost_registrations else 0)


main()
