// Feeds arbitrary 16-bit texts to the percent-decoder: it either decodes or
// raises type mismatch (13), never reads past the end, and what it decodes
// from its own encoding comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "arenix/text/url_utf8.h"
#include "automation/error.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  automation::Text text(size / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);
  try {
    arenix::text::UrlDecodeUtf8(text);
  } catch (const automation::Error& e) {
    if (e.number() != automation::err::kTypeMismatch) std::abort();
  }
  if (arenix::text::UrlDecodeUtf8(arenix::text::UrlEncodeUtf8(text)) != text) std::abort();
  return 0;
}
