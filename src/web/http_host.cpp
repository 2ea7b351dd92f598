#include "web/http_host.h"

#include <ctime>

#include "arenix/page/encode.h"
#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "automation/text.h"
#include "platform/paths.h"

namespace web {

using automation::CStr;
using automation::EqualsNoCase;
using automation::InvokeKind;

namespace {

bool SameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Trimmed(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return std::string(s.substr(b, e - b + 1));
}

// A header value may not carry a line break into the response.
std::string OneLine(std::string s) {
  for (auto& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

const Variant& Arg(std::span<Variant* const> args, size_t i) {
  if (i >= args.size()) throw automation::Error(automation::err::kArgNotOptional);
  return *args[i];
}

}  // namespace

std::string RawRequest::Header(std::string_view name) const {
  for (const auto& [k, v] : headers)
    if (SameNoCase(k, name)) return v;
  return {};
}

Text CodePage::Decode(std::string_view bytes) const {
  return utf8() ? automation::FromUtf8(bytes) : automation::FromGbk(bytes);
}
std::string CodePage::Encode(TextView text) const {
  return utf8() ? automation::ToUtf8(text) : automation::ToGbk(text);
}

std::string PercentDecode(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '+') {
      out.push_back(' ');
    } else if (raw[i] == '%' && i + 2 < raw.size() && Hex(raw[i + 1]) >= 0 && Hex(raw[i + 2]) >= 0) {
      out.push_back(static_cast<char>(Hex(raw[i + 1]) * 16 + Hex(raw[i + 2])));
      i += 2;
    } else {
      out.push_back(raw[i]);
    }
  }
  return out;
}

std::string PercentEncode(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_' || c == '.' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

// --- Request ---------------------------------------------------------------

HttpRequest::HttpRequest(RawRequest raw, std::shared_ptr<CodePage> cp, std::string site_path)
    : raw_(std::move(raw)), cp_(std::move(cp)), site_path_(std::move(site_path)) {
  query_ = Split(raw_.query, '&');
  std::string type = raw_.Header("Content-Type");
  if (type.size() >= 33 && SameNoCase(std::string_view(type).substr(0, 33), "application/x-www-form-urlencoded"))
    form_ = Split(raw_.body, '&');
  for (auto& [k, v] : Split(raw_.Header("Cookie"), ';')) cookies_.emplace_back(Trimmed(k), v);
}

StringPairs HttpRequest::Split(std::string_view text, char sep) {
  StringPairs out;
  size_t i = 0;
  while (i <= text.size()) {
    size_t end = text.find(sep, i);
    if (end == std::string_view::npos) end = text.size();
    std::string_view part = text.substr(i, end - i);
    if (!part.empty()) {
      size_t eq = part.find('=');
      if (eq == std::string_view::npos)
        out.emplace_back(std::string(part), std::string());
      else
        out.emplace_back(std::string(part.substr(0, eq)), std::string(part.substr(eq + 1)));
    }
    i = end + 1;
  }
  return out;
}

Text HttpRequest::Lookup(const StringPairs& pairs, TextView key, bool& found) const {
  Text out;
  found = false;
  for (const auto& [k, v] : pairs) {
    if (!EqualsNoCase(cp_->Decode(PercentDecode(k)), key)) continue;
    if (found) out += u", ";
    out += cp_->Decode(PercentDecode(v));
    found = true;
  }
  return out;
}

Text HttpRequest::QueryString() const { return cp_->Decode(raw_.query); }

std::vector<Text> HttpRequest::QueryKeys() const {
  std::vector<Text> keys;
  for (const auto& [k, v] : query_) {
    Text key = cp_->Decode(PercentDecode(k));
    bool seen = false;
    for (const auto& s : keys) seen = seen || EqualsNoCase(s, key);
    if (!seen) keys.push_back(key);
  }
  return keys;
}

Text HttpRequest::Query(TextView key) const {
  bool found;
  return Lookup(query_, key, found);
}
Text HttpRequest::Form(TextView key) const {
  bool found;
  return Lookup(form_, key, found);
}
Text HttpRequest::Cookie(TextView key) const {
  client_state_read_ = true;
  bool found;
  return Lookup(cookies_, key, found);
}

Text HttpRequest::ServerVariable(TextView name) const {
  std::string n = automation::ToUtf8(name);
  for (auto& c : n)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  auto text = [&](const std::string& bytes) { return cp_->Decode(bytes); };
  std::string host = raw_.Header("Host");
  std::string server_name = host;
  if (!server_name.empty() && server_name[0] == '[') {
    server_name = server_name.substr(0, server_name.find(']') + 1);
  } else if (size_t colon = server_name.find(':'); colon != std::string::npos) {
    server_name.resize(colon);
  }
  if (n == "SERVER_NAME") return text(server_name.empty() ? "localhost" : server_name);
  if (n == "SERVER_PORT") return text(std::to_string(raw_.local_port));
  if (n == "SERVER_SOFTWARE") return u"Arenix";
  if (n == "SERVER_PROTOCOL") return text(raw_.protocol);
  if (n == "REQUEST_METHOD") return text(raw_.method);
  if (n == "REMOTE_ADDR" || n == "REMOTE_HOST") return text(raw_.remote_addr);
  if (n == "QUERY_STRING") return text(raw_.query);
  if (n == "SCRIPT_NAME" || n == "URL" || n == "PATH_INFO") return automation::FromUtf8(site_path_);
  if (n == "CONTENT_TYPE") return text(raw_.Header("Content-Type"));
  if (n == "CONTENT_LENGTH") return text(std::to_string(raw_.body.size()));
  if (n == "HTTPS") return raw_.https ? u"on" : u"off";
  if (n.starts_with("HTTP_")) {
    std::string header = n.substr(5);
    if (header != "HOST") client_state_read_ = true;
    for (auto& c : header)
      if (c == '_') c = '-';
    return text(raw_.Header(header));
  }
  return Text();
}

Text HttpRequest::Item(TextView key) const {
  bool found;
  Text v = Lookup(query_, key, found);
  if (found) return v;
  v = Lookup(form_, key, found);
  if (found) return v;
  if (!public_) {
    v = Lookup(cookies_, key, found);
    if (found) return v;
  }
  return ServerVariable(key);
}

host::Bytes HttpRequest::BinaryRead(int32_t count) {
  if (count < 0) automation::ThrowInvalidCall();
  size_t n = std::min(static_cast<size_t>(count), raw_.body.size() - read_pos_);
  host::Bytes out(raw_.body.begin() + read_pos_, raw_.body.begin() + read_pos_ + n);
  read_pos_ += n;
  return out;
}

Variant HttpRequest::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  auto key = [&] { return CStr(Arg(args, 0)); };
  if (EqualsNoCase(name, u"QueryString")) return args.empty() ? Variant(QueryString()) : Variant(Query(key()));
  if (EqualsNoCase(name, u"Form")) {
    if (!args.empty()) return Variant(Form(key()));
    return form_.empty() ? Variant(Text()) : Variant(cp_->Decode(raw_.body));
  }
  if (EqualsNoCase(name, u"Cookies")) {
    client_state_read_ = true;
    return Variant(args.empty() ? cp_->Decode(raw_.Header("Cookie")) : Cookie(key()));
  }
  if (EqualsNoCase(name, u"ServerVariables")) return Variant(ServerVariable(key()));
  if (EqualsNoCase(name, u"TotalBytes")) return Variant(TotalBytes());
  if (EqualsNoCase(name, u"BinaryRead")) {
    if (args.empty()) throw automation::Error(automation::err::kArgNotOptional);
    Variant& count = *args[0];
    host::Bytes bytes = BinaryRead(automation::CLng(count));
    count = Variant(static_cast<int32_t>(bytes.size()));  // by reference, as the host did
    return Variant(std::move(bytes));
  }
  if ((name.empty() || EqualsNoCase(name, u"Item")) && args.size() == 1) return Variant(Item(key()));
  return Object::Invoke(name, kind, args);
}

// --- Response --------------------------------------------------------------

void HttpResponse::SetStatus(int code, Text line) {
  if (ended()) return;
  status_code_ = code;
  (void)line;
}

void HttpResponse::SetCookie(TextView name, TextView value) {
  if (ended()) return;
  for (auto& [k, v] : cookies_)
    if (EqualsNoCase(k, name)) {
      v = Text(value);
      return;
    }
  cookies_.emplace_back(Text(name), Text(value));
}

void HttpResponse::SetCodePage(int number) {
  if (number != 936 && number != 65001) throw automation::Error(automation::err::kInvalidCall);
  cp_->number = number;
  SetCharSet(number == 65001 ? u"utf-8" : u"gbk");
}

Variant HttpResponse::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  const bool put = kind == InvokeKind::PropertyPut;
  auto text = [&](size_t i) { return CStr(Arg(args, i)); };
  if (EqualsNoCase(name, u"Write")) return Write(text(0)), Variant();
  if (EqualsNoCase(name, u"BinaryWrite")) {
    const Variant& v = Arg(args, 0);
    if (v.IsBytes())
      BinaryWrite(v.As<host::Bytes>());
    else {
      std::string b = cp_->Encode(CStr(v));
      BinaryWrite(host::Bytes(b.begin(), b.end()));
    }
    return Variant();
  }
  if (EqualsNoCase(name, u"End")) return End(), Variant();
  if (EqualsNoCase(name, u"Redirect")) return Redirect(text(0)), Variant();
  if (EqualsNoCase(name, u"AddHeader") || EqualsNoCase(name, u"AppendHeader"))
    return AddHeader(text(0), text(1)), Variant();
  if (EqualsNoCase(name, u"ContentType")) {
    if (!put) return Variant(content_type());
    return SetContentType(text(0)), Variant();
  }
  if (EqualsNoCase(name, u"CharSet")) {
    if (!put) return Variant(charset());
    return SetCharSet(text(0)), Variant();
  }
  if (EqualsNoCase(name, u"CodePage")) {
    if (!put) return Variant(int32_t{cp_->number});
    return SetCodePage(automation::CLng(Arg(args, 0))), Variant();
  }
  if (EqualsNoCase(name, u"Status")) {
    if (!put) return Variant(status());
    Text line = text(0);
    int code = automation::CInt(Variant(line.substr(0, 3)));
    if (code < 100 || code > 599) throw automation::Error(automation::err::kInvalidCall);
    return SetStatus(code, line), Variant();
  }
  if (EqualsNoCase(name, u"Buffer")) {
    if (!put) return Variant(buffer());
    return SetBuffer(automation::CBool(Arg(args, 0))), Variant();
  }
  if (EqualsNoCase(name, u"Clear")) return Clear(), Variant();
  if (EqualsNoCase(name, u"Flush")) return Flush(), Variant();
  if (EqualsNoCase(name, u"Expires")) return SetExpires(automation::CLng(Arg(args, 0))), Variant();
  if (EqualsNoCase(name, u"ExpiresAbsolute")) return SetExpiresAbsolute(automation::CDate(Arg(args, 0))), Variant();
  if (EqualsNoCase(name, u"CacheControl")) return SetCacheControl(text(0)), Variant();
  if (EqualsNoCase(name, u"Cookies") && put && args.size() == 2) return SetCookie(text(0), text(1)), Variant();
  if (EqualsNoCase(name, u"IsClientConnected")) return Variant(true);
  return Object::Invoke(name, kind, args);
}

std::string DispositionHeader(TextView value, const CodePage& cp) {
  std::string out = OneLine(cp.Encode(value));
  // Find "filename=" (not "filename*=") without case.
  Text lower;
  for (char16_t c : value) lower += (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
  size_t at = lower.find(u"filename=");
  if (at == Text::npos) return out;
  size_t start = at + 9;
  size_t end = value.find(u';', start);
  Text name(value.substr(start, end == Text::npos ? Text::npos : end - start));
  while (!name.empty() && name.back() == u' ') name.pop_back();
  if (name.size() >= 2 && name.front() == u'"' && name.back() == u'"') name = name.substr(1, name.size() - 2);
  bool ascii = true;
  for (char16_t c : name) ascii = ascii && c < 0x80;
  if (ascii || lower.find(u"filename*=") != Text::npos) return out;
  return out + "; filename*=UTF-8''" + PercentEncode(automation::ToUtf8(name));
}

namespace {
std::string HttpDate(std::time_t t) {
  char buf[64];
  std::tm tm;
  gmtime_r(&t, &tm);
  std::strftime(buf, sizeof buf, "%a, %d %b %Y %H:%M:%S GMT", &tm);
  return buf;
}
}  // namespace

Reply HttpResponse::ToReply() const {
  Reply r;
  r.status = status_code_ ? status_code_ : (redirect().empty() ? 200 : 302);
  if (!redirect().empty()) {
    r.headers.emplace_back("Location", OneLine(cp_->Encode(redirect())));
    std::string html = "<html><body>Object moved to <a href=\"" +
                       cp_->Encode(arenix::page::HtmlEscape(redirect())) + "\">here</a>.</body></html>";
    r.body = html;
  } else {
    r.body.assign(body().begin(), body().end());
  }
  std::string type = OneLine(automation::ToUtf8(content_type()));
  std::string cs = automation::ToUtf8(charset());
  if (cs.empty()) cs = cp_->utf8() ? "utf-8" : "gbk";
  if (type.starts_with("text/") || type == "application/vnd.ms-excel" || !charset().empty())
    type += "; charset=" + OneLine(cs);
  r.headers.emplace_back("Content-Type", type);
  for (const auto& [k, v] : headers()) {
    std::string name = OneLine(automation::ToUtf8(k));
    if (SameNoCase(name, "Content-Length") || SameNoCase(name, "Content-Type")) continue;  // the server sets them
    if (SameNoCase(name, "Content-Disposition"))
      r.headers.emplace_back(name, DispositionHeader(v, *cp_));
    else
      r.headers.emplace_back(name, OneLine(cp_->Encode(v)));
  }
  for (const auto& [k, v] : cookies_)
    r.headers.emplace_back("Set-Cookie", PercentEncode(cp_->Encode(k)) + "=" + PercentEncode(cp_->Encode(v)) + "; path=/");
  if (!cache_control().empty()) r.headers.emplace_back("Cache-Control", OneLine(automation::ToUtf8(cache_control())));
  if (expires_absolute()) {
    double days = expires_absolute()->serial - 25569.0;  // serial day 25569 is 1970-01-01
    r.headers.emplace_back("Expires", HttpDate(static_cast<std::time_t>(days * 86400.0)));
  } else if (expires()) {
    r.headers.emplace_back("Expires", HttpDate(std::time(nullptr) + int64_t{*expires()} * 60));
  }
  return r;
}

// --- Server ----------------------------------------------------------------

HttpServerObject::HttpServerObject(Text site_root, Text data_dir, std::string page_site_path,
                                   std::shared_ptr<CodePage> cp)
    : MemoryServer(std::move(site_root)), cp_(std::move(cp)) {
  if (!data_dir.empty()) Mount(u"/data", data_dir);
  size_t slash = page_site_path.find_last_of('/');
  page_folder_ = slash == std::string::npos ? "/" : page_site_path.substr(0, slash + 1);
}

Text HttpServerObject::MapPath(TextView path) const {
  if (!path.empty() && path[0] != u'/' && path[0] != u'\\')
    return MemoryServer::MapPath(automation::FromUtf8(page_folder_) + Text(path));
  return MemoryServer::MapPath(path);
}

Variant HttpServerObject::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  if (EqualsNoCase(name, u"MapPath")) return Variant(MapPath(CStr(Arg(args, 0))));
  if (EqualsNoCase(name, u"CreateObject")) {
    automation::ObjectPtr object = automation::CreateObject(CStr(Arg(args, 0)));
    if (auto* user = dynamic_cast<platform::UsesSite*>(object.get())) user->UseSite(site());
    return Variant(std::move(object));
  }
  if (EqualsNoCase(name, u"URLEncode")) {
    Text s = CStr(Arg(args, 0));
    if (!cp_->utf8()) return Variant(arenix::page::UrlQueryValue(s));
    return Variant(automation::FromUtf8(PercentEncode(automation::ToUtf8(s))));
  }
  if (EqualsNoCase(name, u"HTMLEncode")) return Variant(arenix::page::HtmlEscape(CStr(Arg(args, 0))));
  if (EqualsNoCase(name, u"ScriptTimeout")) return Variant(int32_t{5});
  return Object::Invoke(name, kind, args);
}

}  // namespace web
