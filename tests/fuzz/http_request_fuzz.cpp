// Feeds the web module's request reader: the framer that finds where a
// request ends, fed the bytes at once and in pieces as a slow client sends
// them (both must agree: the reader is resumable), then the query and the
// form of a whole request as a page reads them. The first byte chooses the
// sizes of the pieces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/url_form.h"
#include "web/request_framing.h"

namespace {

using web::RequestFramer;

struct Outcome {
  RequestFramer::State state;
  size_t length;
  int status;
};

Outcome Frame(std::string_view bytes, size_t piece) {
  web::FramingLimits limits;
  limits.max_head_bytes = 4096;
  limits.max_header_fields = 20;
  limits.max_body_bytes = 8192;
  RequestFramer framer(limits);
  RequestFramer::State state = RequestFramer::State::NeedMore;
  size_t fed = 0;
  do {
    fed = piece == 0 ? bytes.size() : std::min(bytes.size(), fed + piece);
    state = framer.Feed(bytes.substr(0, fed));
  } while (state == RequestFramer::State::NeedMore && fed < bytes.size());
  return {state, state == RequestFramer::State::Whole ? framer.request_length() : 0,
          state == RequestFramer::State::Refused ? framer.status() : 0};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t piece = 1 + data[0] % 17;
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const Outcome whole = Frame(bytes, 0);
  const Outcome pieces = Frame(bytes, piece);
  if (whole.state != pieces.state || whole.length != pieces.length || whole.status != pieces.status) std::abort();
  if (whole.state == RequestFramer::State::Whole && (whole.length == 0 || whole.length > bytes.size())) std::abort();
  if (whole.state == RequestFramer::State::Refused && whole.status != 400 && whole.status != 413 &&
      whole.status != 431 && whole.status != 501 && whole.status != 505)
    std::abort();
  if (whole.state != RequestFramer::State::Whole) return 0;

  // The query and the body as a page reads them.
  const std::string_view request(bytes.data(), whole.length);
  const size_t line_end = request.find("\r\n");
  const std::string_view line = request.substr(0, line_end);
  const size_t q = line.find('?');
  const host::CodePage gbk;
  if (q != std::string_view::npos) {
    const std::string_view query = line.substr(q + 1, line.rfind(' ') > q ? line.rfind(' ') - q - 1 : 0);
    host::UrlPairs pairs = host::UrlPairs::ParseQuery(query);
    host::UrlFields fields = pairs.Index(gbk);
    for (const auto& name : pairs.Names(gbk))
      if (fields.Get(name) != pairs.Get(name, gbk)) std::abort();
  }
  const size_t head_end = request.find("\r\n\r\n");
  if (head_end != std::string_view::npos) {
    const std::string_view body = request.substr(head_end + 4);
    host::UrlPairs form = host::UrlPairs::Borrow(body);
    if (form.size() != host::CountUrlPairs(body)) std::abort();
    form.Index(gbk);
  }
  return 0;
}
