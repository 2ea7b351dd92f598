// The same request read by `arenix run` (the in-memory request) and by
// `arenix serve` (the request over HTTP): for the same query and posted form
// bytes, both give the same query text, keys, values, form values and
// default items, so that a page behaves alike in both.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/cp936.h"
#include "automation/text.h"
#include "host/memory_host.h"
#include "web/http_host.h"

namespace web {
namespace {

using automation::FromUtf8;
using automation::ToUtf8;

struct Case {
  const char* what;
  std::string query;                // raw bytes after "?"
  std::string form;                 // raw urlencoded body
  std::vector<const char*> keys;    // names read (UTF-8)
  const char* key;                  // one name whose values are known
  const char* query_value;          // its decoded query value (UTF-8)
  const char* form_value;           // its decoded form value (UTF-8)
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"GBK percent-encoded", "item=%D6%D0%CE%C4&sex=%C4%D0", "name=%D5%C5%C8%FD&item=%B3%A4",
       {"item", "sex", "name"}, "item", "中文", "长"},
      {"plus is a space, an escaped plus is not", "q=a+b+%2B", "q=1+2&note=%2B+",
       {"q", "note"}, "q", "a b +", "1 2"},
      {"malformed escapes stay as typed", "x=%zz&y=%4&z=%", "x=%G1abc&y=100%",
       {"x", "y", "z"}, "x", "%zz", "%G1abc"},
      {"repeated names join with a comma", "a=1&A=2&a=", "a=3&a=4",
       {"a", "A"}, "a", "1, 2, ", "3, 4"},
      {"empty values, names without a value, empty parts", "empty=&flag&=anon&&", "e=&f&&",
       {"empty", "flag", "", "e", "f", "none"}, "flag", "", ""},
      {"GBK bytes sent unescaped", "n=\xD5\xC5", "n=\xC8\xFD", {"n"}, "n", "张", "三"},
      {"escaped names", "%D6%D0=x&%26=amp", "%D6%D0=y", {"中", "&"}, "中", "x", "y"},
      {"escaped separators inside values", "a=%26%3D&b=c", "a=%3D%26b", {"a", "b"}, "a", "&=", "=&b"},
      {"only a form", "", "age=%B8%DF%D6%D0%D7%E9&sc=1", {"age", "sc"}, "age", "", "高中组"},
  };
  return cases;
}

std::unique_ptr<HttpRequest> OverHttp(const Case& c) {
  RawRequest raw;
  raw.method = "POST";
  raw.path = "/results.asp";
  raw.query = c.query;
  raw.body = c.form;
  raw.headers = {{"Host", "meet.example.cn"}, {"Content-Type", "application/x-www-form-urlencoded"}};
  return std::make_unique<HttpRequest>(raw, std::make_shared<CodePage>(), "/results.asp");
}

std::unique_ptr<host::MemoryRequest> InMemory(const Case& c) {
  auto r = std::make_unique<host::MemoryRequest>();
  r->SetServerVariable(u"REQUEST_METHOD", u"POST");
  r->SetServerVariable(u"CONTENT_TYPE", u"application/x-www-form-urlencoded");
  r->SetQueryString(automation::FromGbk(c.query));
  r->SetBody(automation::Bytes(c.form.begin(), c.form.end()));
  return r;
}

TEST(RequestParity, BothRequestKindsReadTheSameBytesAlike) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    auto http = OverHttp(c);
    auto memory = InMemory(c);
    EXPECT_EQ(ToUtf8(memory->QueryString()), ToUtf8(http->QueryString()));
    EXPECT_EQ(memory->QueryKeys(), http->QueryKeys());
    for (const char* key : c.keys) {
      SCOPED_TRACE(key);
      const automation::Text k = FromUtf8(key);
      EXPECT_EQ(ToUtf8(memory->Query(k)), ToUtf8(http->Query(k)));
      EXPECT_EQ(ToUtf8(memory->Form(k)), ToUtf8(http->Form(k)));
      EXPECT_EQ(ToUtf8(memory->Item(k)), ToUtf8(http->Item(k)));
    }
    EXPECT_EQ(ToUtf8(http->Query(FromUtf8(c.key))), c.query_value);
    EXPECT_EQ(ToUtf8(http->Form(FromUtf8(c.key))), c.form_value);
    EXPECT_EQ(memory->TotalBytes(), http->TotalBytes());
  }
}

// A body that is not a urlencoded form is no form for either: an upload's
// fields are read by the upload service, not by Request.Form.
TEST(RequestParity, OnlyAUrlencodedBodyIsAForm) {
  Case c{"multipart", "", "a=1", {"a"}, "a", "", ""};
  RawRequest raw;
  raw.method = "POST";
  raw.body = c.form;
  raw.headers = {{"Content-Type", "multipart/form-data; boundary=x"}};
  HttpRequest http(raw, std::make_shared<CodePage>(), "/p.asp");
  host::MemoryRequest memory;
  memory.SetServerVariable(u"CONTENT_TYPE", u"multipart/form-data; boundary=x");
  memory.SetBody(automation::Bytes(c.form.begin(), c.form.end()));
  EXPECT_EQ(http.Form(u"a"), u"");
  EXPECT_EQ(memory.Form(u"a"), u"");
}

}  // namespace
}  // namespace web
