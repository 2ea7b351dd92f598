#include "web/request_framing.h"

#include <cctype>
#include <cstring>
#include <string>

#include "web/header_text.h"

namespace web {

namespace {

constexpr std::string_view kCrlf = "\r\n";
// A chunk-size line longer than this is no honest client's.
constexpr size_t kMaxChunkLine = 1024;

using header_text::EqualsNoCase;
using header_text::TrimSpaces;

bool IsTokenChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// "GET /path HTTP/1.1": a method token, a target without spaces, a version.
bool ValidRequestLine(std::string_view line) {
  size_t sp1 = line.find(' ');
  if (sp1 == 0 || sp1 == std::string_view::npos) return false;
  for (size_t i = 0; i < sp1; ++i)
    if (!IsTokenChar(line[i])) return false;
  size_t sp2 = line.find(' ', sp1 + 1);
  if (sp2 == std::string_view::npos || sp2 == sp1 + 1) return false;
  std::string_view version = line.substr(sp2 + 1);
  return version == "HTTP/1.1" || version == "HTTP/1.0";
}

}  // namespace

RequestFramer::State RequestFramer::Refuse(int status) {
  status_ = status;
  return State::Refused;
}

RequestFramer::State RequestFramer::Feed(std::string_view buffered) {
  if (status_ != 0) return State::Refused;
  if (request_length_ != 0) return State::Whole;
  if (head_length_ == 0) {
    size_t end = buffered.find("\r\n\r\n");
    if (end == std::string_view::npos) {
      if (buffered.size() > limits_.max_head_bytes) return Refuse(431);
      return State::NeedMore;
    }
    if (end + 4 > limits_.max_head_bytes) return Refuse(431);
    head_length_ = end + 4;
    State s = ParseHead(buffered.substr(0, end + 2));
    if (s == State::Refused) return s;
    chunk_pos_ = head_length_;
  }
  if (chunked_) return ScanChunks(buffered);
  if (buffered.size() - head_length_ < content_length_) return State::NeedMore;
  request_length_ = head_length_ + content_length_;
  return State::Whole;
}

RequestFramer::State RequestFramer::ParseHead(std::string_view head) {
  size_t eol = head.find(kCrlf);
  if (!ValidRequestLine(head.substr(0, eol))) return Refuse(400);
  size_t pos = eol + 2;
  size_t fields = 0;
  bool have_length = false;
  bool have_coding = false;
  while (pos < head.size()) {
    eol = head.find(kCrlf, pos);
    std::string_view line = head.substr(pos, eol - pos);
    pos = eol + 2;
    if (++fields > limits_.max_header_fields) return Refuse(431);
    size_t colon = line.find(':');
    // No name, a space before the colon, or a folded line: request smuggling's
    // tools, never an honest client's.
    if (colon == 0 || colon == std::string_view::npos) return Refuse(400);
    for (size_t i = 0; i < colon; ++i)
      if (!IsTokenChar(line[i])) return Refuse(400);
    std::string_view name = line.substr(0, colon);
    std::string_view value = TrimSpaces(line.substr(colon + 1));
    if (EqualsNoCase(name, "Content-Length")) {
      // Repeated or listed lengths must all agree.
      size_t start = 0;
      while (start <= value.size()) {
        size_t comma = value.find(',', start);
        std::string_view one = TrimSpaces(value.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (one.empty() || one.size() > 15 || one.find_first_not_of("0123456789") != std::string_view::npos)
          return Refuse(400);
        size_t n = std::stoull(std::string(one));
        if (have_length && n != content_length_) return Refuse(400);
        content_length_ = n;
        have_length = true;
        if (comma == std::string_view::npos) break;
        start = comma + 1;
      }
    } else if (EqualsNoCase(name, "Transfer-Encoding")) {
      if (have_coding || !EqualsNoCase(value, "chunked")) return Refuse(have_coding ? 400 : 501);
      have_coding = true;
      chunked_ = true;
    } else if (EqualsNoCase(name, "Expect")) {
      expect_continue_ = EqualsNoCase(value, "100-continue");
    }
  }
  if (have_length && have_coding) return Refuse(400);
  if (content_length_ > limits_.max_body_bytes) return Refuse(413);
  if (!have_length && !have_coding) expect_continue_ = false;
  return State::NeedMore;
}

RequestFramer::State RequestFramer::ScanChunks(std::string_view buffered) {
  size_t pos = chunk_pos_;
  auto need_more = [&] {
    chunk_pos_ = pos;
    return State::NeedMore;
  };
  for (;;) {
    if (chunk_data_left_ > 0) {
      // The chunk's data and the CRLF after it.
      size_t take = std::min(buffered.size() - pos, chunk_data_left_);
      pos += take;
      chunk_data_left_ -= take;
      if (chunk_data_left_ > 0) return need_more();
      if (buffered.substr(pos - 2, 2) != kCrlf) return Refuse(400);
      continue;
    }
    size_t eol = buffered.find(kCrlf, pos);
    if (eol == std::string_view::npos) {
      if (buffered.size() - pos > (in_trailers_ ? limits_.max_head_bytes : kMaxChunkLine))
        return Refuse(in_trailers_ ? 431 : 400);
      return need_more();
    }
    std::string_view line = buffered.substr(pos, eol - pos);
    pos = eol + 2;
    if (in_trailers_) {
      if (!line.empty()) continue;
      request_length_ = pos;
      return State::Whole;
    }
    std::string_view digits = TrimSpaces(line.substr(0, line.find(';')));
    if (digits.empty() || digits.size() > 15 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
      return Refuse(400);
    size_t size = std::stoull(std::string(digits), nullptr, 16);
    if (size == 0) {
      in_trailers_ = true;
      continue;
    }
    decoded_ += size;
    if (decoded_ > limits_.max_body_bytes) return Refuse(413);
    chunk_data_left_ = size + 2;
  }
}

bool DecodeChunkedInPlace(std::string& body) {
  size_t in = 0;
  size_t out = 0;
  for (;;) {
    const size_t eol = body.find(kCrlf, in);
    if (eol == std::string::npos) break;
    std::string_view line(body.data() + in, eol - in);
    std::string_view digits = TrimSpaces(line.substr(0, line.find(';')));
    if (digits.empty() || digits.size() > 15 ||
        digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
      break;
    const size_t size = std::stoull(std::string(digits), nullptr, 16);
    in = eol + 2;
    if (size == 0) {
      body.resize(out);  // the trailers are not part of the body
      return true;
    }
    if (body.size() - in < size + 2) break;
    std::memmove(body.data() + out, body.data() + in, size);
    out += size;
    in += size + 2;
  }
  body.resize(out);
  return false;
}

}  // namespace web
