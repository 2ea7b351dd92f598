#!/usr/bin/env python3
"""Serves one sample meet from two site folders and compares what the pages
send, page by page, for a visitor without a login and for the organiser, a
recorder and a delegation: status, redirect, content type and body, the body
with its whitespace and render stamps set aside.

A rewrite of the pages that must not change what they send (a template in
place of built-up strings, one row walker for another) is checked with it:

  tests/web/site_compare.py --arenix build/arenix --old-rev main --new site \
      --port 18600 --out /tmp/site-diff

(--old FOLDER takes a site folder instead of a revision.)

The same writes (result saves, a switch of the desk, a registration) are made
on both meets in the same order, so that the pages after them are compared
too. Exit status 1 when any page differs; the differences are written to
--out, one file per page.
"""
import argparse
import difflib
import hashlib
import html.parser
import http.client
import io
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import urllib.parse
import zipfile

LOGINS = {"organiser": ("admin", "admin2025"), "recorder": ("jilu1", "123456"), "delegation": ("dyzx", "123456")}


def gbk_query(pairs):
    return "&".join(urllib.parse.quote(k.encode("gbk")) + "=" + urllib.parse.quote(str(v).encode("gbk"))
                    for k, v in pairs)


class Reply:
    def __init__(self, status, headers, body):
        self.status, self.headers, self.body = status, headers, body
        self.location = headers.get("location", "")
        self.type = headers.get("content-type", "")

    def text(self):
        charset = "gbk" if "gbk" in self.type.lower() else "utf-8"
        return self.body.decode(charset, errors="replace")


class Client:
    """A browser of one site: its session cookie, a referrer of the site."""

    def __init__(self, port):
        self.port, self.session = port, ""

    def send(self, method, path, fields=None):
        conn = http.client.HTTPConnection("127.0.0.1", self.port, timeout=60)
        headers = {"Referer": "http://127.0.0.1:%d/index.asp" % self.port, "Connection": "close"}
        if self.session:
            headers["Cookie"] = "ARENIXSESSIONID=" + self.session
        body = None
        if method == "POST":
            body = gbk_query(fields or []).encode("ascii")
            headers["Content-Type"] = "application/x-www-form-urlencoded"
        conn.request(method, path, body=body, headers=headers)
        r = conn.getresponse()
        data = r.read()
        hdrs = {k.lower(): v for k, v in r.getheaders()}
        cookie = hdrs.get("set-cookie", "")
        if cookie.startswith("ARENIXSESSIONID="):
            self.session = cookie[len("ARENIXSESSIONID="):].split(";")[0]
        conn.close()
        return Reply(r.status, hdrs, data)

    def login(self, role):
        user, password = LOGINS[role]
        r = self.send("POST", "/login.asp", [("user", user), ("password", password), ("back", "")])
        if r.status != 302:
            raise SystemExit("login of %s failed on port %d: %d" % (user, self.port, r.status))


class FormFields(html.parser.HTMLParser):
    """The named inputs of one form of a page, in page order."""

    def __init__(self, form_name):
        super().__init__()
        self.form_name, self.inside, self.fields, self.select = form_name, False, [], None

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "form":
            self.inside = a.get("name") == self.form_name
        elif self.inside and tag == "input" and a.get("name") and a.get("type") not in ("submit", "checkbox"):
            self.fields.append([a["name"], a.get("value") or ""])
        elif self.inside and tag == "select" and a.get("name"):
            self.select = [a["name"], None]
            self.fields.append(self.select)
        elif self.select is not None and tag == "option":
            if self.select[1] is None or "selected" in a:
                self.select[1] = a.get("value") or ""

    def handle_endtag(self, tag):
        if tag == "form":
            self.inside = False
        elif tag == "select" and self.select is not None:
            self.select[1] = self.select[1] or ""
            self.select = None


def form_fields(page_text, form_name):
    p = FormFields(form_name)
    p.feed(page_text)
    return p.fields


def normalised(text):
    text = re.sub(r'data-rendered="\d+"', 'data-rendered=""', text)
    text = re.sub(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", "<time>", text)  # the audit log's clock
    text = re.sub(r"\s+", " ", text)
    return re.sub(r"\s*([<>])\s*", r"\1", text).strip()


# Elements around which white space never shows: a difference in white space
# anywhere else (between links of a menu, inside a cell) is reported.
BLOCKS = ("html|head|body|meta|link|script|title|style|header|nav|main|footer|section|div|p|h1|h2|h3|h4|table|"
          "thead|tbody|tr|td|th|form|select|option|dl|dt|dd|ul|li|!DOCTYPE")


def visible_spacing(text):
    text = re.sub(r'data-rendered="\d+"', 'data-rendered=""', text)
    text = re.sub(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d", "<time>", text)
    text = re.sub(r"\s+", " ", text)
    return re.sub(r"\s*(</?(?:%s)\b[^>]*>)\s*" % BLOCKS, r"\1", text).strip()


def zip_members(data):
    try:
        with zipfile.ZipFile(io.BytesIO(data)) as z:
            return {n: z.read(n) for n in z.namelist() if not n.startswith("docProps/")}
    except zipfile.BadZipFile:
        return None


def pdf_without_dates(data):
    return re.sub(rb"\((D:[0-9Z+\-']+)\)", b"()", data)


def difference(old, new):
    """None when the two replies send the same page, else a readable diff."""
    heads = [(h, getattr(old, h), getattr(new, h)) for h in ("status", "location", "type")]
    lines = ["%s: %r != %r" % (h, a, b) for h, a, b in heads if a != b]
    kind = old.type.lower()
    if "html" in kind or not kind:
        a, b = normalised(old.text()), normalised(new.text())
        if a == b and visible_spacing(old.text()) != visible_spacing(new.text()):
            a, b = visible_spacing(old.text()), visible_spacing(new.text())
            lines.append("white space differs where it shows")
        if a != b:
            lines += difflib.unified_diff(a.replace("><", ">\n<").split("\n"), b.replace("><", ">\n<").split("\n"),
                                          "old", "new", lineterm="", n=2)
    elif "text" in kind or "json" in kind:
        if old.body != new.body:  # data for programs: every byte counts
            lines += difflib.unified_diff(old.text().split("\n"), new.text().split("\n"), "old", "new", lineterm="", n=1)
    elif "pdf" in kind:
        if pdf_without_dates(old.body) != pdf_without_dates(new.body):
            lines.append("pdf bytes differ")
    else:
        za, zb = zip_members(old.body), zip_members(new.body)
        if (za if za is not None else old.body) != (zb if zb is not None else new.body):
            lines.append("%s bytes differ" % old.type)
    return "\n".join(lines) if lines else None


def free(port):
    with socket.socket() as s:
        return s.connect_ex(("127.0.0.1", port)) != 0


class Servers:
    def __init__(self, arenix, sites, port, work):
        subprocess.run([arenix, "demo", os.path.join(work, "meet")], check=True, stdout=subprocess.DEVNULL)
        self.procs, self.ports = [], []
        try:
            self.start(arenix, sites, port, work)
        except BaseException:
            self.stop()
            raise

    def start(self, arenix, sites, port, work):
        for i, site in enumerate(sites):
            data = os.path.join(work, "meet%d" % i)
            shutil.copytree(os.path.join(work, "meet"), data)
            # A copy of the site: pages write files of their own (charts) under it.
            site = shutil.copytree(site, os.path.join(work, "site%d" % i))
            p = port + i
            if not free(p):
                raise SystemExit("port %d is taken" % p)
            self.procs.append(subprocess.Popen([arenix, "serve", "--site", site, "--data", data, "--port", str(p),
                                                "--quiet"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
            self.ports.append(p)
        for p in self.ports:
            for _ in range(100):
                if not free(p):
                    break
                time.sleep(0.1)

    def stop(self):
        for proc in self.procs:
            proc.terminate()
            proc.wait()


class Comparison:
    def __init__(self, ports, out):
        self.clients = {role: [Client(p) for p in ports] for role in ["visitor"] + list(LOGINS)}
        for role in LOGINS:
            for c in self.clients[role]:
                c.login(role)
        self.out, self.seen, self.differing = out, 0, []

    def both(self, role, method, path, fields=None, expect=None):
        """The same request on both sites; the old site's reply, which must
        hold `expect` when given (the request reached the case it is for)."""
        old, new = (c.send(method, path, fields) for c in self.clients[role])
        if method == "POST":
            time.sleep(1.1)  # each write in a second of its own: the audit log lists by time
        self.seen += 1
        diff = difference(old, new)
        label = "%s %s %s" % (role, method, path)
        print(("DIFF " if diff else "same ") + label + (" [%d]" % old.status))
        if expect and expect not in old.text():
            raise SystemExit("%s: the old site's reply lacks %r" % (label, expect))
        if diff:
            self.differing.append(label)
            name = hashlib.sha1(label.encode()).hexdigest()[:10] + ".diff"
            with open(os.path.join(self.out, name), "w", encoding="utf-8") as f:
                f.write(label + "\n" + diff + "\n")
        return old

    def get(self, role, path, query=()):
        return self.both(role, "GET", path + ("?" + gbk_query(query) if query else ""))


def selectors(page_text, name):
    m = re.search(r"<select name='%s'[^>]*>(.*?)</select>" % name, page_text, re.S)
    return re.findall(r"value='([^']*)'", m.group(1)) if m else []


def read_pages(c):
    """Every page of the site for every role, with the queries that choose what it shows."""
    home = c.get("visitor", "/results.asp").text()
    ages, items = selectors(home, "Age"), selectors(home, "Item")
    for role in c.clients:
        for page in ["/index.asp", "/athletes.asp", "/entrants.asp", "/login.asp", "/register.asp", "/entry.asp",
                     "/timing.asp", "/results.asp", "/admin/index.asp", "/admin/overview.asp", "/admin/teams.asp",
                     "/admin/accounts.asp", "/admin/startlist.asp", "/admin/scores.asp", "/admin/records.asp",
                     "/admin/audit.asp", "/admin/notices.asp", "/admin/chart.asp"]:
            c.get(role, page)
        c.get(role, "/login.asp", [("denied", "1"), ("back", "entry.asp")])
        for q in ([("page", "2")], [("age", ages[1])], [("keyword", "中学")], [("keyword", "O'Neil 50%<b>")],
                  [("age", ages[0]), ("keyword", "1"), ("page", "3")]):
            c.get(role, "/entrants.asp", q)
            c.get(role, "/athletes.asp", q)
    for age in ages:
        for item in items:
            for sex in ("男", "女"):
                q = [("age", age), ("item", item), ("sex", sex)]
                page = c.get("visitor", "/results.asp", q).text()
                for sc in selectors(page, "sc"):
                    c.get("visitor", "/results.asp", q + [("sc", sc)])
                c.get("recorder", "/entry.asp", q)
                c.get("visitor", "/results.json", q)
    q = [("age", ages[0]), ("item", items[0]), ("sex", "女"), ("sc", "4")]
    for role in c.clients:
        c.get(role, "/results.asp", q)
        c.get(role, "/results.asp", q + [("excel", "1")])
    c.get("visitor", "/results.csv", q)
    c.get("visitor", "/meet.json")
    for item in items + ["<b>'x'</b>"]:
        c.get("visitor", "/comm/item_sub_list.asp", [("item", item), ("item_sub", "跳远")])
    c.get("visitor", "/results.asp", [("item", "<script>x</script>"), ("age", "'\"><b>"), ("sc", "9"), ("zc", "-1")])
    c.get("recorder", "/entry.asp", [("item", "跳远"), ("age", ages[0])])  # an event the recorder may not enter
    c.get("recorder", "/entry.asp", [("item", items[0]), ("age", ages[0]), ("zc", "2")])
    c.get("recorder", "/entry.asp", [("item", "<i>"), ("age", "\"'")])
    for kind in ("evt", "ppl"):
        for role in c.clients:
            c.get(role, "/timing.asp", [("export", kind)])
    c.get("recorder", "/timing.asp", [("file", "none.lif")])
    for age in ages:
        c.get("organiser", "/admin/chart.asp", [("age", age)])
        c.get("organiser", "/admin/scores.asp", [("age", age)])
    start = c.get("organiser", "/admin/startlist.asp").text()
    for item in selectors(start.replace('"', "'"), "item")[:4]:
        for sex in ("男", "女", "混"):
            for stage in ("预赛", "决赛"):
                q = [("item", item), ("age", ages[0]), ("sex", sex), ("stage", stage)]
                c.get("organiser", "/admin/startlist.asp", q)
    c.get("organiser", "/admin/startlist.asp", [("item", items[0]), ("age", ages[0]), ("stage", "预赛"), ("pdf", "1")])
    c.get("organiser", "/admin/overview.asp", [("export", "1")])
    c.get("organiser", "/admin/overview.asp", [("export", "1"), ("keyword", "中学")])
    c.get("organiser", "/admin/overview.asp", [("keyword", "中学"), ("page", "2")])
    for team_page in ("/register.asp",):
        c.get("delegation", team_page, [("age", ages[1])])
        c.get("organiser", team_page, [("team", "第一中学"), ("age", ages[0])])
    return ages, items


def entry_form(c, query, fill):
    """The recorder's entry form of a stage from the old site, with marks typed by fill(number)."""
    page = c.get("recorder", "/entry.asp", query).text()
    fields = form_fields(page, "myform")
    for f in fields:
        m = re.match(r"playcj_(\d)_(.+)$", f[0])
        if m:
            f[1] = fill(m.group(2), int(m.group(1)))
    return fields


def write_and_read(c, ages, items):
    """Saves, corrections and kept forms, the same on both meets, and the pages after them."""
    q = [("age", ages[0]), ("item", items[0]), ("sex", "男"), ("sc", "1")]
    marks = lambda bib, part: {1: "", 2: str(11 + int(bib) % 7), 3: str(int(bib) % 90 + 10)}.get(part, "")
    fields = entry_form(c, q, marks)
    saved = c.both("recorder", "POST", "/entry.asp", fields)
    if saved.location:
        c.both("recorder", "GET", "/" + saved.location.split("/", 3)[-1].lstrip("/"), expect="msg ok")
    c.get("visitor", "/results.asp", q)
    c.get("visitor", "/results.asp", q[:3] + [("sc", "4")])
    c.get("visitor", "/index.asp")
    c.get("visitor", "/results.json", q)
    c.get("visitor", "/results.csv", q)
    # The final, then a correction of the heats: the page that asks first.
    final = entry_form(c, q[:3] + [("sc", "4")], marks)
    c.both("recorder", "POST", "/entry.asp", final)
    c.get("recorder", "/entry.asp", q)
    c.both("recorder", "POST", "/entry.asp", fields, expect="confirm-save")
    # A save after the login has gone, and a save while entry is closed.
    c.both("visitor", "POST", "/entry.asp", fields, expect="relogin-save")
    marked_up = [[n, "<i>'9\"&</i>" if n.startswith(("playcj_2_", "playmc_")) else v] for n, v in fields]
    first_bib = dict(fields)["ydy_bh_list"].split("|")[1]
    c.both("visitor", "POST", "/entry.asp", marked_up + [["playmc_" + first_bib, "<b>"]], expect="&lt;i&gt;")
    c.both("organiser", "POST", "/admin/index.asp", [("switch", "网络登分"), ("on", "0")])
    c.both("recorder", "GET", "/entry.asp?" + gbk_query(q), expect="entry-closed")
    c.both("recorder", "POST", "/entry.asp", fields, expect="kept-message")
    c.both("recorder", "GET", "/timing.asp")
    c.both("organiser", "POST", "/admin/index.asp", [("switch", "网络登分"), ("on", "1")])
    # A registration saved unchanged, and its audit entry; then a name in
    # markup, and a notice in markup: every page that shows them must show
    # them as text, as before.
    reg = c.get("delegation", "/register.asp", [("age", ages[0])]).text()
    registration = form_fields(reg, "myform")
    c.both("delegation", "POST", "/register.asp", registration)
    marked = "<i>x'\"&amp;</i>"
    renamed = [list(f) for f in registration]
    next(f for f in renamed if f[0].startswith("ydy_xm_"))[1] = marked
    c.both("delegation", "POST", "/register.asp", renamed)
    c.both("organiser", "POST", "/admin/notices.asp", [("action", "add"), ("title", marked), ("text", marked + "\n2")])
    team_age = "?" + gbk_query([("team", dict(registration)["ydy_team"]), ("age", ages[0])])
    for page in ("/athletes.asp" + team_age, "/register.asp" + team_age, "/admin/notices.asp", "/admin/audit.asp"):
        c.both("organiser", "GET", page, expect="&lt;i&gt;x")
    c.both("delegation", "GET", "/register.asp?" + gbk_query([("age", ages[0])]), expect="&lt;i&gt;x")
    c.both("visitor", "GET", "/index.asp", expect="&lt;i&gt;x")
    for page in ("/admin/teams.asp", "/admin/overview.asp", "/entrants.asp"):
        c.get("organiser", page)
    for role in c.clients:
        c.get(role, "/admin/audit.asp")
        c.get(role, "/index.asp")
    c.get("organiser", "/admin/audit.asp", [("item", items[0])])
    c.get("organiser", "/admin/audit.asp", [("keyword", "<b>'")])
    c.get("visitor", "/meet.json")
    # The kept form's own login: a wrong password, then an account that is
    # not a recorder's (the visitor is logged in as it from here on).
    relogin = fields + [["relogin", "1"], ["user", "jilu1"], ["password", "wrong"]]
    c.both("visitor", "POST", "/entry.asp", relogin, expect="login-message")
    relogin[-2:] = [["user", "dyzx"], ["password", "123456"]]
    c.both("visitor", "POST", "/entry.asp", relogin, expect="login-message")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--arenix", required=True)
    old = ap.add_mutually_exclusive_group(required=True)
    old.add_argument("--old", help="the site folder as it was")
    old.add_argument("--old-rev", help="a revision of this repository whose site/ is the old site (main, HEAD~3)")
    ap.add_argument("--new", required=True, help="the site folder as it is now")
    ap.add_argument("--port", type=int, default=18600, help="the old site's port; the new one's is the next")
    ap.add_argument("--out", default=None, help="folder for the differences")
    args = ap.parse_args()
    work = tempfile.mkdtemp(prefix="site-compare-")
    out = args.out or os.path.join(work, "diff")
    os.makedirs(out, exist_ok=True)
    c = None
    try:
        if args.old_rev:
            repo = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
            archive = subprocess.run(["git", "-C", repo, "archive", args.old_rev, "site"], check=True,
                                     stdout=subprocess.PIPE).stdout
            os.makedirs(os.path.join(work, "old"))
            subprocess.run(["tar", "-x", "-C", os.path.join(work, "old")], input=archive, check=True)
            args.old = os.path.join(work, "old", "site")
        servers = Servers(os.path.abspath(args.arenix), [os.path.abspath(args.old), os.path.abspath(args.new)],
                          args.port, work)
        try:
            c = Comparison(servers.ports, out)
            ages, items = read_pages(c)
            write_and_read(c, ages, items)
        finally:
            servers.stop()
    finally:
        # Only the differences stay, and only when no --out was given.
        for name in os.listdir(work):
            if args.out or name != "diff" or not (c and c.differing):
                shutil.rmtree(os.path.join(work, name), ignore_errors=True)
        if args.out or not (c and c.differing):
            shutil.rmtree(work, ignore_errors=True)
    print("%d requests compared, %d differ%s" % (c.seen, len(c.differing), (" (see %s)" % out) if c.differing else ""))
    return 1 if c.differing else 0


if __name__ == "__main__":
    sys.exit(main())
