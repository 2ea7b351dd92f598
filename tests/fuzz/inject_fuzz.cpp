// The injection guard's walk over a query string as a browser may send it:
// any bytes, or any 16-bit units. The guard either accepts, writing
// nothing, or writes the whole error page and ends the response; it never
// fails.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "arenix/check/guards.h"
#include "arenix/page/error_page.h"
#include "host/memory_host.h"

using automation::Text;
using automation::Variant;

namespace {

// First byte even: the raw query is the bytes widened (what a host hands
// over for an ASCII request line, with %XX escapes decoded as GBK); odd:
// the rest taken as 16-bit units.
Text QueryText(const uint8_t* data, size_t size) {
  Text q;
  if (size == 0) return q;
  if (data[0] % 2 == 0) {
    for (size_t i = 1; i < size; ++i) q.push_back(data[i]);
  } else {
    for (size_t i = 1; i + 1 < size; i += 2) q.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  }
  return q;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto request = std::make_shared<host::MemoryRequest>();
  auto response = std::make_shared<host::MemoryResponse>();
  request->SetQueryString(QueryText(data, size));
  Variant req{automation::ObjectPtr(request)}, resp{automation::ObjectPtr(response)};

  arenix::check::CheckInject(req, resp, false, u"", 1);

  const bool refused = arenix::check::QueryLooksInjected(*request);
  if (refused != response->ended()) std::abort();
  const Text expected =
      refused ? arenix::page::ErrorPageText(arenix::check::kInjectMessage, false, u"") : Text();
  if (response->text() != expected) std::abort();
  return 0;
}
