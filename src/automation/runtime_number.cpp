// Number functions of the runtime: Int, Fix, Round, Hex, Oct, Abs, Sgn.
#include <cmath>
#include <limits>

#include "automation/runtime.h"

namespace automation {
namespace {

// The whole number Hex and Oct work on, and whether it is 16 bits wide:
// Integer, Byte and Boolean values keep their 16-bit form (Hex(-1) is
// "FFFF"), everything else is read as a Long (Hex(-1#) is "FFFFFFFF").
struct WholeNumber {
  uint32_t bits;
  bool narrow;
};

WholeNumber ToWholeNumber(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty: return {0, true};
    case VarType::Boolean: return {v.As<bool>() ? 0xFFFFu : 0u, true};
    case VarType::Byte: return {v.As<uint8_t>(), true};
    case VarType::Integer: return {static_cast<uint16_t>(v.As<int16_t>()), true};
    default: return {static_cast<uint32_t>(CLng(v)), false};
  }
}

Text RadixDigits(uint32_t n, unsigned shift) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  const uint32_t mask = (1u << shift) - 1;
  char16_t buf[16];
  size_t i = sizeof buf / sizeof buf[0];
  do {
    buf[--i] = kDigits[n & mask];
    n >>= shift;
  } while (n);
  return Text(buf + i, buf + sizeof buf / sizeof buf[0]);
}

Variant RadixText(const Variant& v, unsigned shift) {
  if (v.IsNull()) return Variant::Null();
  WholeNumber w = ToWholeNumber(v);
  uint32_t n = w.narrow ? (w.bits & 0xFFFFu) : w.bits;
  return Variant(RadixDigits(n, shift));
}

}  // namespace

double Int(double x) { return std::floor(x); }

double Fix(double x) { return std::trunc(x); }

double Round(double x, int32_t digits) {
  if (digits < 0) ThrowInvalidCall();
  if (digits == 0) return RoundHalfEven(x);
  // Beyond this many decimals a double has nothing left to round.
  if (digits > 22) return x;
  const double scale = std::pow(10.0, digits);
  const double scaled = x * scale;
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) return x;  // 2^52
  return RoundHalfEven(scaled) / scale;
}

Variant Hex(const Variant& v) { return RadixText(v, 4); }

Variant Oct(const Variant& v) { return RadixText(v, 3); }

double Abs(double x) { return std::fabs(x); }

int Sgn(double x) { return x > 0 ? 1 : (x < 0 ? -1 : 0); }

}  // namespace automation
