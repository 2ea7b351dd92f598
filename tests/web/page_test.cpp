// Server pages: the compiler (text, expressions, includes, lines), the
// bridge to automation objects (calls by name, coercion, defaults, Ref
// holders, properties, errors), Response.End, and sessions.
#include <gtest/gtest.h>

#include <thread>

#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/demo/demo_meet.h"
#include "automation/cp936.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/text.h"
#include "web/page_host.h"
#include "web/web_site.h"

namespace web_test {
namespace {

using web::Reply;

// A class of the test's own whose Count is a method that counts on each
// call, where a dictionary's Count is a property; Total reads as a value.
enum TallyMember { kTallyCount, kTallyTotal };
const automation::MemberTable kTallyMembers{
    {u"Count", kTallyCount, automation::kMethod, 0, 0},
    {u"Total", kTallyTotal, automation::kGet, 0, 0},
};
class Tally : public automation::Object {
 public:
  automation::Text ClassName() const override { return u"Tally"; }
  const automation::MemberTable* Members() const override { return &kTallyMembers; }
  automation::Variant Invoke(automation::TextView name, automation::InvokeKind kind,
                             std::span<automation::Variant* const> args) override {
    if (kTallyMembers.Resolve(name, kind, args.size()) == kTallyCount) return automation::Variant(++count_);
    return automation::Variant(count_ * 10);
  }

 private:
  int32_t count_ = 0;
};

class Pages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    arenix::RegisterClasses();
    automation::RegisterClass(u"Test.Tally", [] { return std::make_shared<Tally>(); });
    meet_ = new TestSite();
    arenix::meet::demo::WriteDemoMeet(meet_->data(), {true});
  }
  static void TearDownTestSuite() {
    delete meet_;
    meet_ = nullptr;
  }

  Pages() : config_(TestConfig(*meet_)), files_(meet_->site(), meet_->data()) {
    host_ = std::make_unique<web::PageHost>(config_, files_, [this](const std::string& line) { log_ += line + "\n"; });
  }

  /// Writes the page and runs it; the reply body is returned as UTF-8 when
  /// it was GBK.
  Reply Run(const std::string& site_path, const std::string& source, web::RawRequest req = {}) {
    meet_->Write(site_path.substr(1), source);
    return Request(site_path, std::move(req));
  }
  Reply Request(const std::string& site_path, web::RawRequest req = {}) {
    web::SiteFile f = files_.Resolve(site_path);
    EXPECT_EQ(f.kind, web::SiteFile::Kind::Page) << site_path;
    req.path = site_path;
    Reply r = host_->Run(req, f);
    if (Header(r, "Content-Type").find("gbk") != std::string::npos)
      r.body = automation::ToUtf8(automation::FromGbk(r.body));
    return r;
  }
  static std::string Header(const Reply& r, const std::string& name) {
    for (const auto& [k, v] : r.headers)
      if (k == name) return v;
    return {};
  }

  static TestSite* meet_;
  web::ServerConfig config_;
  web::SiteFiles files_;
  std::unique_ptr<web::PageHost> host_;
  std::string log_;
};
TestSite* Pages::meet_ = nullptr;

TEST_F(Pages, TextExpressionsAndIncludesMakeOnePage) {
  meet_->Write("inc/head.inc", "<% function title(t) { return '<h1>' + t + '</h1>'; } %>[head]");
  meet_->Write("inc/parts/foot.inc", "[foot:<%= 1 + 1 %>]");
  Reply r = Run("/a/page.asp",
                "<%@ Language=JavaScript %><!--#include virtual=\"/inc/head.inc\"-->\n"
                "<%= title('成绩') %><% for (var i = 0; i < 3; i++) { %>-<%= i %><% } %>\n"
                "<!--#include file=\"../inc/parts/foot.inc\" --> \"quoted\" \\ back");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "[head]\n<h1>成绩</h1>-0-1-2\n[foot:2] \"quoted\" \\ back");
}

TEST_F(Pages, ScriptErrorsNameThePageLineAndMessage) {
  meet_->Write("inc/lib.inc", "<%\n// a helper\nfunction broken() {\n  return missing.x;\n}\n%>");
  const struct {
    const char* page;
    const char* source;
    const char* where;
    const char* message;
  } cases[] = {
      {"/e1.asp", "line 1\n<%\nvar a = 1;\nnoSuchFunction();\n%>", "/e1.asp line 4", "noSuchFunction"},
      {"/e2.asp", "<!--#include file=\"inc/lib.inc\"-->\ntext\n<% broken(); %>", "/inc/lib.inc line 4", "missing"},
      {"/e3.asp", "<!--#include file=\"inc/lib.inc\"-->\n\n\n<% var arenix = Server.CreateObject(\"Arenix.ArenixCls\");\n"
                  "arenix.NoSuchMethod(); %>", "/e3.asp line 5", "NoSuchMethod"},
      {"/e4.asp", "ok\n<% if ( { %>", "/e4.asp line 2", "SyntaxError"},
      {"/e5.asp", "<!--#include file=\"missing.inc\"-->", "/e5.asp", "missing.inc"},
  };
  for (const auto& c : cases) {
    log_.clear();
    Reply r = Run(c.page, c.source);
    SCOPED_TRACE(c.page);
    EXPECT_EQ(r.status, 500);
    EXPECT_NE(r.body.find("出错原因"), std::string::npos);  // the site's error page
    EXPECT_NE(r.body.find(c.where), std::string::npos) << r.body;
    EXPECT_NE(r.body.find(c.message), std::string::npos) << r.body;
    EXPECT_NE(log_.find(c.where), std::string::npos) << log_;
  }
}

TEST_F(Pages, RowsOfOneLengthAreATwoDimensionalArrayBothWays) {
  // A chart's table built in the page reaches the component as two
  // dimensions; arrays of other shapes stay lists.
  Reply r = Run("/arrays.asp", R"(<%
var arenix = Server.CreateObject("Arenix.ArenixCls");
var table = new Ref([["", 0, ""], ["", 30, "A"], ["", 20, "B"]]);
var vml = arenix.CommTableChart1(table, 0, "10", 10, 30, 300, 200, "A");
Response.Write((vml.indexOf("v:rect") >= 0) + "|" + table.value.length + "," + table.value[2][2] + "|");
var ragged = new Ref([["", 1, "x"], ["", 3]]);
try { arenix.CommTableChart1(ragged, 0, "10", 10, 30, 300, 200, "A"); } catch (e) { Response.Write(e.number); }
%>)");
  EXPECT_EQ(r.status, 200) << r.body;
  EXPECT_EQ(r.body, "true|3,B|13");
}

TEST_F(Pages, CompiledAgainWhenAFileChanges) {
  meet_->Write("inc/v.inc", "one");
  EXPECT_EQ(Run("/v.asp", "<!--#include file=\"inc/v.inc\"-->").body, "one");
  EXPECT_EQ(Request("/v.asp").body, "one");  // kept, and known unchanged
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  meet_->Write("inc/v.inc", "two");
  EXPECT_EQ(Request("/v.asp").body, "two");
  // Written over again with text of the same size.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  meet_->Write("inc/v.inc", "six");
  EXPECT_EQ(Request("/v.asp").body, "six");
}

TEST_F(Pages, TheComponentIsCalledByNameWithCoercionDefaultsAndReferences) {
  Reply r = Run("/c.asp", R"(<%
var arenix = Server.CreateObject("Arenix.ArenixCls");
Response.Write(arenix.CommMd5(123) + "|");               // a number becomes text
Response.Write(arenix.CommMin("10", 3) + "|");           // text becomes a number
try { arenix.CommMin("abc", 3); } catch (e) { Response.Write(e.number + "|"); }
try { arenix.CommMd5(); } catch (e) { Response.Write(e.number + "|"); }
var conn = new Ref();
arenix.CommSetConn(Server, conn, Response);              // fills the holder
var rs = new Ref(Server.CreateObject("Adodb.RecordSet"));
rs.value.Open("Select 参赛项目 From Item", conn.value, 1, 1);
rs.value.PageSize = 3;
Response.Write((rs.value.RecordCount > 3) + "," + rs.value.PageSize + "," +
               (rs.value.PageCount == Math.ceil(rs.value.RecordCount / 3)) + "," +
               (rs.value.EOF === false) + "," + rs.value("参赛项目").replace(/ +$/, "") + "|");
arenix.CommCloseData(rs, conn);                          // empties both
Response.Write((conn.value === null || conn.value === undefined) + "," +
               (rs.value === null || rs.value === undefined));
%>)");
  EXPECT_EQ(r.status, 200) << r.body;
  EXPECT_EQ(r.body, "202CB962AC59075B964B07152D234B70|3|13|449|true,3,true,true,100米|true,true");
}

TEST_F(Pages, ValuesKeepTheirTypesAcrossTheBridge) {
  Reply r = Run("/t.asp", R"(<%@ CodePage=65001 %><%
Session.$put("", "text", "𠀀张");
Session.$put("", "when", new Date(Date.UTC(2025, 3, 18, 8, 30)));
Session.$put("", "n", 2.5);
Session.$put("", "flag", true);
var d = Session("when");
Response.Write(Session("text") + "|" + (d instanceof Date) + "," + d.getUTCFullYear() + "-" + (d.getUTCMonth() + 1) +
               "-" + d.getUTCDate() + " " + d.getUTCHours() + ":" + d.getUTCMinutes() + "|" +
               (Session("n") * 2) + "|" + (Session("flag") === true) + "|" + (Session("absent") === undefined));
%>)");
  EXPECT_EQ(r.body, "𠀀张|true,2025-4-18 8:30|5|true|true");
  EXPECT_EQ(Header(r, "Content-Type"), "text/html; charset=utf-8");
}

// Texts cross the bridge whole at every length, short ones (converted on
// the stack) and long ones alike, with two- and four-byte characters at
// the edges: each length is stored in the session, read back and written.
TEST_F(Pages, TextsOfEveryLengthCrossTheBridgeWhole) {
  Reply r = Run("/lengths.asp", R"(<%@ CodePage=65001 %><%
var units = ["a", "张", "𠀀"], s = "", bad = [];
for (var i = 0; i < 700; i++) {
  s += units[i % 3];
  Session.$put("", "t", s);
  if (Session("t") !== s) bad.push(s.length);
  %><%= s %>|<%
}
%>bad:<%= bad.join(",") %>)");
  const std::string units[] = {"a", "张", "𠀀"};
  std::string s, expected;
  for (int i = 0; i < 700; ++i) {
    s += units[i % 3];
    expected += s + "|";
  }
  ASSERT_EQ(r.body.size(), expected.size() + 4);
  EXPECT_TRUE(r.body == expected + "bad:") << r.body.substr(expected.size());
}

TEST_F(Pages, EachObjectSaysWhichOfItsMembersReadAsValues) {
  Reply r = Run("/members.asp", R"(<%
var d = Server.CreateObject("Scripting.Dictionary");
d.Add("a", 1);
d.Add("b", 2);
var t = Server.CreateObject("Test.Tally");
var x = Server.CreateObject("Microsoft.XMLHTTP");
Response.Write((d.Count === 2) + "|" + t.Count() + "," + t.Count() + "|" + (t.Total === 20) + "|" +
               (x.readyState === 0) + "|" + (Response.Buffer === true) + "|" + (d.COUNT === 2) + "|");
try { d.NoSuch(); } catch (e) { Response.Write(e.number + ":" + e.message + "|"); }
try { Response.Write("" + t.Nope); } catch (e) { Response.Write(e.number + ":" + e.message + "|"); }
try { d.Count(); } catch (e) { Response.Write(e.name); }
%>)");
  EXPECT_EQ(r.status, 200) << r.body;
  EXPECT_EQ(r.body, "true|1,2|true|true|true|true|"
                    "438:Object doesn't support this property or method: 'NoSuch' (438)|"
                    "438:Object doesn't support this property or method: 'Nope' (438)|TypeError");
}

// Every way a page reaches a member: called, read as a value through its
// callable, handed on and called later, the default member, arguments
// from an array or `arguments`, and a member's value function taken off it.
TEST_F(Pages, MembersAreTheSameWhicheverWayThePageReachesThem) {
  web::RawRequest req;
  req.query = "a=%D4%CB&b=2";
  Reply r = Run("/reach.asp", R"(<%
var q = Request.QueryString, d = Server.CreateObject("Scripting.Dictionary");
var later = Request.QueryString;
function add() { return d.Add.apply(null, arguments); }
add("k", "v");
d.Add.apply(d, ["n", 3]);
Response.Write([q("a"), "" + Request.QueryString, later("b"), Request("a"), later === q, typeof q,
                d.Item("k"), d("n"), d.Count].join("|") + "|");
try { q.valueOf.call({}); } catch (e) { Response.Write(e.name + "|"); }
var t = Server.CreateObject("Test.Tally");
try { t.Count.apply(null, new Array(300000)); } catch (e) { Response.Write("many:" + e.number + "|"); }
%>)", req);
  EXPECT_EQ(r.status, 200) << r.body;
  EXPECT_EQ(r.body, "运|a=%D4%CB&b=2|2|运|true|function|v|3|2|TypeError|many:450|");
}

TEST_F(Pages, NothingRunsAfterResponseEnd) {
  Reply r = Run("/end.asp", R"(<%
Response.Write("before");
Session.$put("", "before", "1");
try { Response.End(); } catch (e) {}
Response.Write("after");
Session.$put("", "after", "1");
%>after the script)");
  EXPECT_EQ(r.status, 200);
  EXPECT_EQ(r.body, "before");
  // The session kept what came before the end only.
  web::RawRequest again;
  std::string cookie = Header(r, "Set-Cookie");
  again.headers = {{"Cookie", cookie.substr(0, cookie.find(';'))}};
  EXPECT_EQ(Run("/s.asp", "<%= Session('before') %>,<%= Session('after') %>", again).body, "1,");
}

// A worker keeps its script engine from page to page: whatever one page
// changes (globals, built-in prototypes and functions, the wrappers of host
// objects), whether it ends normally, throws or runs out of time, the next
// page on the same worker starts from a clean engine.
TEST_F(Pages, NothingOnePageChangesReachesTheNextOnTheSameWorker) {
  meet_->Write("inc/leak.inc", R"(<%
leaked = 1;
var declared = 2;
Object.prototype.polluted = 3;
Array.prototype.push = function () { return -1; };
String.prototype.trim = function () { return "hacked"; };
Math.random.marked = 4;
JSON.stringify = null;
Ref.prototype.valueOf = function () { return "ref"; };
Response.Write.marked = 5;
Session.marked;
Duktape.marked = 6;
this.Request = null;
%>)");
  meet_->Write("leak_ok.asp", "<!--#include file=\"inc/leak.inc\"-->done");
  meet_->Write("leak_throw.asp", "<!--#include file=\"inc/leak.inc\"--><% throw new Error('after the changes'); %>");
  meet_->Write("leak_loop.asp", "<!--#include file=\"inc/leak.inc\"--><% for (;;) {} %>");
  const std::string check = R"(<%
// Not found.push: the changing page replaces it.
var found = [], note = function (what) { found[found.length] = what; };
if (typeof leaked !== "undefined") note("global");
if (typeof declared !== "undefined") note("var");
if (({}).polluted !== undefined) note("Object.prototype");
var a = []; a.push(1); if (a.length !== 1) note("Array.prototype");
if (" x ".trim() !== "x") note("String.prototype");
if (Math.random.marked) note("Math");
if (typeof JSON.stringify !== "function") note("JSON");
if (new Ref(7).valueOf() !== 7) note("Ref");
if (Response.Write.marked) note("host member");
if (Duktape.marked) note("Duktape");
if (Request === null) note("host object");
Response.Write("found:" + found.join(","));
%>)";
  meet_->Write("leak_check.asp", check);
  ASSERT_EQ(Request("/leak_check.asp").body, "found:");
  config_.limits.script_time = std::chrono::milliseconds(300);
  for (const char* leaker : {"/leak_ok.asp", "/leak_throw.asp", "/leak_loop.asp", "/leak_ok.asp"}) {
    SCOPED_TRACE(leaker);
    Reply r = Request(leaker);
    EXPECT_EQ(r.status, std::string(leaker) == "/leak_ok.asp" ? 200 : std::string(leaker) == "/leak_loop.asp" ? 503 : 500)
        << r.body;
    EXPECT_EQ(Request("/leak_check.asp").body, "found:");
  }
}

// The built-ins are shared by the pages a worker runs. Each way a page can
// reach them (defining, deleting, re-shaping, swapping prototypes, freezing,
// the engine's own hooks and internal functions, the global object itself)
// takes effect in that page and is gone for the next one; a page's own
// classes keep overriding inherited members.
TEST_F(Pages, ChangesToTheSharedBuiltInsStayInThePageThatMadeThem) {
  struct Case {
    const char* change;  // statements of the changing page
    const char* seen;    // an expression true while the change is in effect
  };
  const Case cases[] = {
      {"Object.defineProperty(Object.prototype, 'got', {get: function () { return 1; }, configurable: true});",
       "({}).got === 1"},
      {"delete Array.prototype.indexOf;", "typeof [].indexOf !== 'function'"},
      {"Array.prototype[0] = 'first';", "[][0] === 'first'"},
      {"Object.setPrototypeOf(Array.prototype, {inherited: 1});", "[].inherited === 1"},
      {"Object.freeze(String.prototype);", "Object.isFrozen(String.prototype)"},
      {"Object.preventExtensions(Math);", "!Object.isExtensible(Math)"},
      {"Duktape.errCreate = function (e) { e.marked = 1; return e; };", "new Error('x').marked === 1"},
      {"Error.prototype.toString = function () { return 'changed'; };", "String(new Error('x')) === 'changed'"},
      {"Object.getOwnPropertyDescriptor((function () { 'use strict'; return arguments; })(), 'callee').get.marked = 1;",
       "Object.getOwnPropertyDescriptor((function () { 'use strict'; return arguments; })(), 'callee').get.marked === 1"},
      {"Object.getPrototypeOf(Uint8Array.prototype).marked = 1;", "new Uint8Array(1).marked === 1"},
      {"Object.prototype[Symbol.for('k')] = 1;", "({})[Symbol.for('k')] === 1"},
      {"globalThis.viaGlobalThis = 1;", "typeof viaGlobalThis !== 'undefined'"},
      {"parseInt = function () { return 42; };", "parseInt('1') === 42"},
      {"Object.prototype.toString = function () { return 'hacked'; };",
       "Object.prototype.toString.call([]) === 'hacked'"},
  };
  const char* check_page = "<%= (%s) ? 'changed' : 'clean' %>";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    char check[512];
    std::snprintf(check, sizeof check, check_page, c.seen);
    Reply changed = Run("/builtin_change.asp", std::string("<% ") + c.change + " %>" + check);
    EXPECT_NE(changed.body.find("changed"), std::string::npos) << changed.body;
    EXPECT_EQ(Run("/builtin_check.asp", check).body, "clean");
  }
  // A class of the page's own overrides what it inherits by assignment.
  EXPECT_EQ(Run("/own_class.asp", R"(<%
function Team(name) { this.name = name; }
Team.prototype.toString = function () { return "team " + this.name; };
var e = new Error("x"); e.name = "PageError";
Response.Write(String(new Team("一中")) + "|" + e.name);
%>)")
                .body,
            "team 一中|PageError");
}

// A worker keeps a page's program loaded: every run of it starts from the
// page's first line with nothing of the run before (its globals, its own
// function object), errors keep their lines, and a changed page runs as
// changed.
TEST_F(Pages, AKeptProgramRunsAfreshEachTime) {
  const std::string counter = R"(<%
var runs = typeof runs === "undefined" ? 1 : runs + 1;
var self = Duktape.act(-2).function;
var before = self.marked === true;
self.marked = true;
%><%= runs %>,<%= before %>)";
  EXPECT_EQ(Run("/kept.asp", counter).body, "1,false");
  for (int i = 0; i < 2; ++i) EXPECT_EQ(Request("/kept.asp").body, "1,false");
  meet_->Write("kept_error.asp", "<%\nvar a = 1;\nnoSuchFunction();\n%>");
  for (int i = 0; i < 2; ++i) {
    Reply r = Request("/kept_error.asp");
    EXPECT_EQ(r.status, 500);
    EXPECT_NE(log_.find("/kept_error.asp line 3"), std::string::npos) << log_;
    log_.clear();
  }
  EXPECT_EQ(Run("/kept.asp", "changed").body, "changed");
  // More pages than the engine keeps: each still runs its own program.
  config_.limits.script_programs_kept = 2;
  for (const char* name : {"a", "b", "c", "d"})
    meet_->Write(std::string("kept_") + name + ".asp", std::string("<%= '") + name + "' %>");
  for (int round = 0; round < 2; ++round)
    for (const char* name : {"a", "b", "c", "d"})
      EXPECT_EQ(Request(std::string("/kept_") + name + ".asp").body, name);
}

// Pages written for classic server pages assign keyed values as if the
// call were a variable; they work as the keyed put does.
TEST_F(Pages, ClassicKeyedAssignmentsOnHostObjects) {
  Reply r = Run("/classic.asp", R"(<%
Session("team") = "一中";
Session("count") = 1 +
  2
Response.Cookies("seen") = "yes";
var same = (Session("team") == "一中");
%><%= Session("team") %>|<%= Session("count") %>|<%= same %>)");
  ASSERT_EQ(r.status, 200) << r.body;
  EXPECT_EQ(r.body, "一中|3|true");
  bool cookie = false;
  for (const auto& [k, v] : r.headers) cookie = cookie || (k == "Set-Cookie" && v.starts_with("seen=yes"));
  EXPECT_TRUE(cookie);
  // An error after a rewritten line still names the page's own line.
  r = Run("/classic_error.asp", "<%\nSession(\"a\")\n  = 1;\nmissingFunction();\n%>");
  EXPECT_EQ(r.status, 500);
  EXPECT_NE(r.body.find("/classic_error.asp line 4"), std::string::npos) << r.body;
}

TEST_F(Pages, SessionsForgedExpiredAndAbandoned) {
  meet_->Write("set.asp", "<% Session.$put('', 'SPORTS_WLDF_Session', 'jilu1|100米|径赛'); %>set");
  meet_->Write("get.asp", "[<%= Session('SPORTS_WLDF_Session') %>]");
  meet_->Write("quit.asp", "<% Session.Abandon(); %>bye");

  Reply nothing = Request("/get.asp");
  EXPECT_EQ(nothing.body, "[]");
  EXPECT_EQ(Header(nothing, "Set-Cookie"), "");  // nothing stored, no cookie

  Reply set = Request("/set.asp");
  std::string cookie = Header(set, "Set-Cookie");
  ASSERT_NE(cookie.find("ARENIXSESSIONID="), std::string::npos);
  EXPECT_NE(cookie.find("HttpOnly"), std::string::npos);
  std::string id = cookie.substr(cookie.find('=') + 1, 32);
  EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);

  auto with = [](const std::string& value) {
    web::RawRequest r;
    r.headers = {{"Cookie", "other=1; ARENIXSESSIONID=" + value}};
    return r;
  };
  EXPECT_EQ(Request("/get.asp", with(id)).body, "[jilu1|100米|径赛]");
  for (const std::string& forged : {std::string("0123456789abcdef0123456789abcdef"), id + "x", std::string("")})
    EXPECT_EQ(Request("/get.asp", with(forged)).body, "[]") << forged;

  host_->sessions().AdvanceForTesting(std::chrono::minutes(21));  // idle past the 20 minutes
  EXPECT_EQ(Request("/get.asp", with(id)).body, "[]");

  std::string id2 = Header(Request("/set.asp"), "Set-Cookie").substr(16, 32);
  EXPECT_EQ(Request("/quit.asp", with(id2)).body, "bye");
  EXPECT_EQ(Request("/get.asp", with(id2)).body, "[]");
}

TEST_F(Pages, PublicRepliesAreSharedUntilTheDataChanges) {
  meet_->Write("pub.asp", "<% Response.CacheControl = 'public'; %><%= Math.random() %>");
  meet_->Write("own.asp", "<%= Math.random() %>");
  web::RawRequest get;
  get.method = "GET";
  get.query = "item=1";
  const std::string first = Request("/pub.asp", get).body;
  EXPECT_EQ(Request("/pub.asp", get).body, first);  // kept
  web::RawRequest other = get;
  other.query = "item=2";
  EXPECT_NE(Request("/pub.asp", other).body, first);  // another address, another reply
  EXPECT_NE(Request("/own.asp", get).body, Request("/own.asp", get).body);  // not public: run every time

  web::RawRequest with_session = get;
  with_session.headers = {{"Cookie", "ARENIXSESSIONID=0123456789abcdef0123456789abcdef"}};
  EXPECT_NE(Request("/pub.asp", with_session).body, first);  // a visitor with a session gets their own
  web::RawRequest post = get;
  post.method = "POST";
  EXPECT_NE(Request("/pub.asp", post).body, first);

  // A change of the meet's data (result entry) makes the page run again.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  meet_->WriteData("touched.txt", "x");
  const std::string after = Request("/pub.asp", get).body;
  EXPECT_NE(after, first);
  EXPECT_EQ(Request("/pub.asp", get).body, after);
}

}  // namespace
}  // namespace web_test
