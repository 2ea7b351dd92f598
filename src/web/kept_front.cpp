#include "web/kept_front.h"

#include <brotli/encode.h>
#include <zlib.h>

#include <cctype>

#include "web/header_text.h"
#include "web/sessions.h"

namespace web {

namespace {

using header_text::ContainsNoCase;
using header_text::EqualsNoCase;

// The types worth compressing, as the ordinary way compresses them.
bool Compressible(std::string_view type) {
  type = type.substr(0, type.find(';'));
  if (type.starts_with("text/")) return type != "text/event-stream";
  return type == "image/svg+xml" || type == "application/javascript" || type == "application/json" ||
         type == "application/xml" || type == "application/xhtml+xml";
}

std::string Brotli(const std::string& in) {
  std::string out(BrotliEncoderMaxCompressedSize(in.size()), '\0');
  size_t n = out.size();
  // A middling quality: a kept reply is compressed once per change of the
  // meet, while the page's visitor waits.
  if (out.empty() || !BrotliEncoderCompress(6, BROTLI_DEFAULT_WINDOW, BROTLI_MODE_TEXT, in.size(),
                                            reinterpret_cast<const uint8_t*>(in.data()), &n,
                                            reinterpret_cast<uint8_t*>(out.data())))
    return {};
  out.resize(n);
  return out;
}

std::string Gzip(const std::string& in) {
  z_stream z{};
  if (deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  std::string out(deflateBound(&z, in.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  const int rc = deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return rc == Z_STREAM_END ? out : std::string();
}

constexpr std::string_view kCrlf = "\r\n";
constexpr std::string_view kClose = "Connection: close\r\n";

}  // namespace

QuickHead ReadQuickHead(std::string_view request) {
  QuickHead h;
  size_t eol = request.find(kCrlf);
  if (eol == std::string_view::npos) {
    h.unusual = true;
    return h;
  }
  std::string_view line = request.substr(0, eol);
  size_t sp1 = line.find(' ');
  size_t sp2 = line.rfind(' ');
  if (sp1 == std::string_view::npos || sp2 == sp1) {
    h.unusual = true;
    return h;
  }
  h.method = line.substr(0, sp1);
  h.target = line.substr(sp1 + 1, sp2 - sp1 - 1);
  h.version = line.substr(sp2 + 1);
  size_t pos = eol + 2;
  bool have_host = false;
  while (pos < request.size()) {
    eol = request.find(kCrlf, pos);
    if (eol == std::string_view::npos || eol == pos) break;  // the blank line ends the head
    line = request.substr(pos, eol - pos);
    pos = eol + 2;
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
      h.unusual = true;
      continue;
    }
    std::string_view name = line.substr(0, colon);
    std::string_view value = header_text::TrimSpaces(line.substr(colon + 1));
    switch (std::tolower(static_cast<unsigned char>(name.empty() ? ' ' : name[0]))) {
      case 'h':
        if (EqualsNoCase(name, "Host")) {
          if (have_host) h.unusual = true;
          have_host = true;
          h.host = value;
        }
        break;
      case 'c':
        if (EqualsNoCase(name, "Cookie")) {
          if (!h.cookie.empty()) h.unusual = true;  // several: left to the ordinary way
          h.cookie = value;
        } else if (EqualsNoCase(name, "Connection")) {
          h.close = h.close || ContainsNoCase(value, "close");
        } else if (EqualsNoCase(name, "Content-Length")) {
          h.has_body = h.has_body || value.find_first_not_of("0, \t") != std::string_view::npos;
        }
        break;
      case 't':
        if (EqualsNoCase(name, "Transfer-Encoding")) h.has_body = true;
        break;
      case 'i':
        if (EqualsNoCase(name, "If-None-Match"))
          h.if_none_match = value;
        else if (EqualsNoCase(name, "If-Modified-Since"))
          h.if_modified_since = value;
        else if (EqualsNoCase(name, "If-Range") || EqualsNoCase(name, "If-Match") ||
                 EqualsNoCase(name, "If-Unmodified-Since"))
          h.unusual = true;
        break;
      case 'a':
        if (EqualsNoCase(name, "Accept-Encoding")) h.accept_encoding = value;
        break;
      case 'r':
        if (EqualsNoCase(name, "Range")) h.unusual = true;
        break;
      case 'x':
        if (EqualsNoCase(name, "X-Forwarded-For")) h.forwarded_for = value;
        break;
      default:
        break;
    }
  }
  return h;
}

std::string KeptFront::KeyOf(std::string_view target, std::string_view host) {
  std::string key;
  key.reserve(target.size() + host.size() + 1);
  key.append(target).append(1, '\n').append(host);
  return key;
}

uint64_t KeptFront::Moment() {
  if (!watch_.usable() || max_entries_ == 0) return 0;
  // Counted from 1, so that 0 can say "not kept".
  return watch_.Generation() + 1;
}

void KeptFront::Keep(const std::string& key, uint64_t moment,
                     const std::vector<std::pair<std::string, std::string>>& headers, const std::string& body) {
  if (moment == 0) return;
  auto e = std::make_shared<Entry>();
  e->moment = moment;
  std::string lines;
  std::string type;
  for (const auto& [k, v] : headers) {
    if (EqualsNoCase(k, "Content-Length") || EqualsNoCase(k, "Content-Encoding") || EqualsNoCase(k, "Connection") ||
        EqualsNoCase(k, "Keep-Alive"))
      continue;
    if (EqualsNoCase(k, "Content-Type")) type = v;
    if (EqualsNoCase(k, "ETag")) e->etag = v;
    if (EqualsNoCase(k, "Last-Modified")) e->last_modified = v;
    lines.append(k).append(": ").append(v).append(kCrlf);
  }
  const bool compressible = Compressible(type);
  if (compressible) lines += "Vary: Accept-Encoding\r\n";
  auto variant = [&](Variant& out, std::string bytes, const char* coding) {
    out.head = "HTTP/1.1 200 OK\r\n" + lines;
    if (coding) out.head.append("Content-Encoding: ").append(coding).append(kCrlf);
    out.head.append("Content-Length: ").append(std::to_string(bytes.size())).append(kCrlf);
    out.body = std::move(bytes);
  };
  variant(e->plain, body, nullptr);
  if (compressible) {
    if (std::string b = Brotli(body); !b.empty()) variant(e->brotli, std::move(b), "br");
    if (std::string g = Gzip(body); !g.empty()) variant(e->gzip, std::move(g), "gzip");
  }
  e->not_modified = "HTTP/1.1 304 Not Modified\r\n";
  for (const auto& [k, v] : headers)
    if (!EqualsNoCase(k, "Content-Type") && !EqualsNoCase(k, "Content-Length") &&
        !EqualsNoCase(k, "Content-Encoding") && !EqualsNoCase(k, "Connection") && !EqualsNoCase(k, "Keep-Alive"))
      e->not_modified.append(k).append(": ").append(v).append(kCrlf);

  std::lock_guard lock(mu_);
  // Bounded: past the limit the kept replies go (they are cheap to make again).
  if (entries_.size() >= max_entries_ && !entries_.count(key)) entries_.clear();
  entries_[key] = std::move(e);
}

bool KeptFront::Answer(const QuickHead& head, bool last, ReadyReply& reply, int& status, size_t& bytes) {
  if (head.unusual || head.has_body || head.method != "GET" || head.version != "HTTP/1.1") return false;
  if (head.cookie.find(kSessionCookie) != std::string_view::npos) return false;
  if (!watch_.usable()) return false;
  const std::string key = KeyOf(head.target, head.host);
  std::shared_ptr<const Entry> e;
  {
    std::lock_guard lock(mu_);
    auto it = entries_.find(key);
    if (it == entries_.end()) return false;
    e = it->second;
  }
  if (e->moment != watch_.Generation() + 1) {
    std::lock_guard lock(mu_);
    auto it = entries_.find(key);
    if (it != entries_.end() && it->second == e) entries_.erase(it);
    return false;
  }
  reply.owner = e;
  reply.close = last || head.close;
  reply.count = 0;
  const bool unchanged =
      !e->etag.empty() && !head.if_none_match.empty()
          ? (head.if_none_match == e->etag || head.if_none_match == "*" ||
             head.if_none_match.find(e->etag) != std::string_view::npos)
          : head.if_none_match.empty() && !e->last_modified.empty() && head.if_modified_since == e->last_modified;
  if (unchanged) {
    reply.parts[reply.count++] = e->not_modified;
    status = 304;
    bytes = 0;
  } else {
    const Variant* v = &e->plain;
    if (!e->brotli.head.empty() && head.accept_encoding.find("br") != std::string_view::npos)
      v = &e->brotli;
    else if (!e->gzip.head.empty() && head.accept_encoding.find("gzip") != std::string_view::npos)
      v = &e->gzip;
    reply.parts[reply.count++] = v->head;
    status = 200;
    bytes = v->body.size();
    if (reply.close) reply.parts[reply.count++] = kClose;
    reply.parts[reply.count++] = kCrlf;
    reply.parts[reply.count++] = v->body;
    return true;
  }
  if (reply.close) reply.parts[reply.count++] = kClose;
  reply.parts[reply.count++] = kCrlf;
  return true;
}

size_t KeptFront::size() {
  std::lock_guard lock(mu_);
  return entries_.size();
}

}  // namespace web
