// Feeds arbitrary texts, delimiters, start positions and flags to
// StrExtract: it never fails, and its result is a slice of the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "arenix/text/strextract.h"
#include "automation/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  int16_t start, flags;
  std::memcpy(&start, data, 2);
  std::memcpy(&flags, data + 2, 2);
  // Two length bytes split the rest into text, begin and end delimiter.
  size_t n_begin = data[4] % 8, n_end = data[5] % 8;
  data += 6;
  size -= 6;
  automation::Text all(size / 2, u'\0');
  if (!all.empty()) std::memcpy(all.data(), data, all.size() * 2);
  n_begin = std::min(n_begin, all.size());
  n_end = std::min(n_end, all.size() - n_begin);
  automation::TextView view(all);
  automation::TextView begin = view.substr(0, n_begin);
  automation::TextView end = view.substr(n_begin, n_end);
  automation::TextView text = view.substr(n_begin + n_end);
  automation::Text out = arenix::text::StrExtract(text, begin, end, start, flags);
  if (!out.empty() && text.find(out) == automation::TextView::npos) std::abort();
  return 0;
}
