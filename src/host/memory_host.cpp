#include "host/memory_host.h"

#include "automation/coerce.h"
#include "automation/cp936.h"
#include "platform/paths.h"

namespace host {

using automation::EqualsNoCase;

namespace {

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

const Text* FindNoCase(const Pairs& pairs, TextView key) {
  for (const auto& [k, v] : pairs)
    if (EqualsNoCase(k, key)) return &v;
  return nullptr;
}

Text JoinNoCase(const Pairs& pairs, TextView key) {
  Text out;
  bool found = false;
  for (const auto& [k, v] : pairs) {
    if (!EqualsNoCase(k, key)) continue;
    if (found) out += u", ";
    out += v;
    found = true;
  }
  return out;
}

}  // namespace

Text DecodeUrlComponent(TextView raw) {
  std::string bytes;
  bytes.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    char16_t c = raw[i];
    if (c == u'+') {
      bytes.push_back(' ');
    } else if (c == u'%' && i + 2 < raw.size() &&
               HexDigit(raw[i + 1]) >= 0 && HexDigit(raw[i + 2]) >= 0) {
      bytes.push_back(static_cast<char>(HexDigit(raw[i + 1]) * 16 + HexDigit(raw[i + 2])));
      i += 2;
    } else if (c < 0x80) {
      bytes.push_back(static_cast<char>(c));
    } else {
      bytes += automation::ToGbk(TextView(&raw[i], 1));
    }
  }
  return automation::FromGbk(bytes);
}

Pairs ParseQuery(TextView raw) {
  Pairs out;
  size_t i = 0;
  while (i <= raw.size()) {
    size_t amp = raw.find(u'&', i);
    if (amp == TextView::npos) amp = raw.size();
    TextView part = raw.substr(i, amp - i);
    if (!part.empty()) {
      size_t eq = part.find(u'=');
      if (eq == TextView::npos)
        out.emplace_back(DecodeUrlComponent(part), Text());
      else
        out.emplace_back(DecodeUrlComponent(part.substr(0, eq)),
                         DecodeUrlComponent(part.substr(eq + 1)));
    }
    i = amp + 1;
  }
  return out;
}

void MemoryRequest::SetQueryString(TextView raw) {
  raw_query_ = Text(raw);
  query_ = ParseQuery(raw);
}

void MemoryRequest::SetServerVariable(TextView name, TextView value) {
  for (auto& [k, v] : server_)
    if (EqualsNoCase(k, name)) {
      v = Text(value);
      return;
    }
  server_.emplace_back(name, value);
}

std::vector<Text> MemoryRequest::QueryKeys() const {
  std::vector<Text> keys;
  for (const auto& [k, v] : query_) {
    bool seen = false;
    for (const auto& s : keys)
      if (EqualsNoCase(s, k)) seen = true;
    if (!seen) keys.push_back(k);
  }
  return keys;
}

Text MemoryRequest::Query(TextView key) const { return JoinNoCase(query_, key); }
Text MemoryRequest::Form(TextView key) const { return JoinNoCase(form_, key); }

Text MemoryRequest::ServerVariable(TextView name) const {
  const Text* v = FindNoCase(server_, name);
  return v ? *v : Text();
}

Text MemoryRequest::Item(TextView key) const {
  if (FindNoCase(query_, key)) return Query(key);
  if (FindNoCase(form_, key)) return Form(key);
  if (const Text* v = FindNoCase(cookies_, key)) return *v;
  return ServerVariable(key);
}

Bytes MemoryRequest::BinaryRead(int32_t count) {
  if (count < 0) automation::ThrowInvalidCall();
  size_t n = std::min(static_cast<size_t>(count), body_.size() - read_pos_);
  Bytes out(body_.begin() + read_pos_, body_.begin() + read_pos_ + n);
  read_pos_ += n;
  return out;
}

bool MemoryResponse::utf8() const {
  return EqualsNoCase(charset_, u"utf-8") || EqualsNoCase(charset_, u"utf8");
}

void MemoryResponse::Write(TextView text) {
  if (ended_) return;
  text_ += text;
  std::string bytes = utf8() ? automation::ToUtf8(text) : automation::ToGbk(text);
  body_.insert(body_.end(), bytes.begin(), bytes.end());
}

void MemoryResponse::BinaryWrite(const Bytes& bytes) {
  if (ended_) return;
  body_.insert(body_.end(), bytes.begin(), bytes.end());
}

void MemoryResponse::Redirect(TextView url) {
  if (ended_) return;
  redirect_ = Text(url);
  status_ = u"302 Object moved";
  ended_ = true;
}

void MemoryResponse::AddHeader(TextView name, TextView value) {
  if (ended_) return;
  headers_.emplace_back(name, value);
}

void MemoryResponse::SetContentType(TextView type) {
  if (!ended_) content_type_ = Text(type);
}
void MemoryResponse::SetCharSet(TextView charset) {
  if (!ended_) charset_ = Text(charset);
}
void MemoryResponse::SetBuffer(bool on) { buffer_ = on; }
void MemoryResponse::Clear() {
  if (ended_) return;
  text_.clear();
  body_.clear();
}
void MemoryResponse::SetExpires(int32_t minutes) {
  if (!ended_) expires_ = minutes;
}
void MemoryResponse::SetExpiresAbsolute(automation::Date when) {
  if (!ended_) expires_absolute_ = when;
}
void MemoryResponse::SetCacheControl(TextView value) {
  if (!ended_) cache_control_ = Text(value);
}

MemoryServer::MemoryServer(Text site_root) : root_(std::move(site_root)), site_(root_) {}

void MemoryServer::Mount(TextView site_path, TextView folder) {
  site_.AddFolder(folder);
  mounts_.emplace_back(platform::NormalizeSlashes(Text(u"/") + Text(site_path)), Text(folder));
}

namespace {
bool IsUnder(TextView path, TextView dir) {
  return platform::PathUnder(automation::ToUtf8(path), automation::ToUtf8(dir));
}
}  // namespace

Text MemoryServer::MapPath(TextView path) const {
  Text root = platform::NormalizeSlashes(root_);
  Text norm = platform::NormalizeSlashes(path);
  // A physical path already under the site (or a mount) maps to itself.
  if (!path.empty() && (path[0] == u'/' || path[0] == u'\\')) {
    if (IsUnder(norm, root)) return norm;
    for (const auto& [site, folder] : mounts_) {
      Text f = platform::NormalizeSlashes(folder);
      if (IsUnder(norm, f)) return norm;
    }
  }
  // Site-relative: the lexical normalisation above already keeps ".." from
  // climbing out of the site.
  Text site = platform::NormalizeSlashes(Text(u"/") + norm);
  for (const auto& [mount, folder] : mounts_) {
    if (IsUnder(site, mount) || EqualsNoCase(site.substr(0, mount.size()), mount)) {
      if (site.size() == mount.size() || site[mount.size()] == u'/') {
        Text rest = site.substr(mount.size());
        return platform::NormalizeSlashes(folder) + rest;
      }
    }
  }
  if (site == u"/") return root;
  return (root == u"/" ? Text() : root) + site;
}

Variant MemorySession::Get(TextView key) const {
  for (const auto& [k, v] : items_)
    if (EqualsNoCase(k, key)) return v;
  return Variant();
}

void MemorySession::Set(TextView key, Variant value) {
  for (auto& [k, v] : items_)
    if (EqualsNoCase(k, key)) {
      v = std::move(value);
      return;
    }
  items_.emplace_back(Text(key), std::move(value));
}

}  // namespace host
