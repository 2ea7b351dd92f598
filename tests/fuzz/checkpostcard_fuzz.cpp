// The identity-number check with whatever a registration form may post:
// any number text, level, age limit and bounds. The only failure allowed is
// the conversion error (13) of a date part that is not a number; a number
// that passes level 4 carries its check character.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "arenix/check/postcard.h"
#include "automation/clock.h"
#include "automation/datetime.h"
#include "automation/error.h"

using automation::Text;

namespace {

// Mostly digits and the characters near them, so that inputs reach the
// date and check-character steps; 0xFF escapes to the next raw unit pair.
Text ReadText(const uint8_t*& p, const uint8_t* end, size_t n) {
  static constexpr char16_t kAlphabet[] = u"0123456789012345678901234567890123456789Xx+-.,eE \t&H中";
  Text t;
  while (t.size() < n && p < end) {
    uint8_t b = *p++;
    if (b == 0xFF && end - p >= 2) {
      t.push_back(static_cast<char16_t>(p[0] | p[1] << 8));
      p += 2;
    } else {
      t.push_back(kAlphabet[b % (sizeof kAlphabet / sizeof kAlphabet[0] - 1)]);
    }
  }
  return t;
}

[[noreturn]] void Fail(const char* what, const Text& number) {
  std::fprintf(stderr, "%s for \"%s\"\n", what, automation::ToUtf8(number).c_str());
  std::abort();
}

void Allow13(const automation::Error& e, const Text& number) {
  if (e.number() != automation::err::kTypeMismatch) Fail(e.what(), number);
}

void Allow13(void (*f)(const Text&), const Text& t) {
  try {
    f(t);
  } catch (const automation::Error& e) {
    Allow13(e, t);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  automation::SetFixedNow(automation::MakeDate(2024, 6, 15, 12, 0));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  const uint8_t* p = data;
  const uint8_t* end = data + size;
  const int16_t level = static_cast<int16_t>(static_cast<int8_t>(*p++) % 6);
  const int16_t age = static_cast<int16_t>(p[0] | p[1] << 8);
  p += 2;
  const size_t low_len = *p++ % 10, high_len = *p++ % 10, number_len = *p++ % 24;
  const Text low = ReadText(p, end, low_len);
  const Text high = ReadText(p, end, high_len);
  const Text number = ReadText(p, end, number_len);

  try {
    const Text message = arenix::check::CheckPostCard(number, level, age, low, high);
    if (message.empty() && level >= 4 && number.size() == 18 &&
        number[17] != arenix::check::PostcardCheckCharacter(number.substr(0, 17)))
      Fail("accepted with a wrong check character", number);
  } catch (const automation::Error& e) {
    Allow13(e, number);
  }
  Allow13([](const Text& t) { arenix::check::BirthdayFromPostcard(t); }, number);
  Allow13([](const Text& t) { arenix::check::SexFromPostcard(t); }, number);
  return 0;
}
