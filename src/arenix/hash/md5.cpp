#include "arenix/hash/md5.h"

#include <cmath>

#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/dispatch.h"

namespace arenix::hash {
namespace {

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};

constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

inline uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }

// One MD5 compression of 16 message words into the state (RFC 1321).
void Compress(uint32_t state[4], const uint32_t m[16]) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
#define ARENIX_MD5_STEP(f, g, i)                          \
  {                                                        \
    uint32_t t = a + (f) + kSine[i] + m[g];                \
    a = d;                                                 \
    d = c;                                                 \
    c = b;                                                 \
    b = b + Rotl(t, kShift[i]);                            \
  }
  for (int i = 0; i < 16; ++i) ARENIX_MD5_STEP((b & c) | (~b & d), i, i)
  for (int i = 16; i < 32; ++i) ARENIX_MD5_STEP((d & b) | (~d & c), (5 * i + 1) & 15, i)
  for (int i = 32; i < 48; ++i) ARENIX_MD5_STEP(b ^ c ^ d, (3 * i + 5) & 15, i)
  for (int i = 48; i < 64; ++i) ARENIX_MD5_STEP(c ^ (b | ~d), (7 * i) & 15, i)
#undef ARENIX_MD5_STEP
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

// The message position of a character: its GBK code value sign-extended.
inline uint32_t PositionValue(char16_t c) {
  if (c < 0x80) return c;
  return static_cast<uint32_t>(static_cast<int32_t>(automation::GbkCodeValue(c)));
}

}  // namespace

std::array<uint32_t, 4> Md5State(TextView msg) {
  uint32_t state[4] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476};
  const uint64_t len = msg.size();
  const uint64_t blocks = ((len + 8) / 64 + 1);
  uint32_t m[16];
  for (uint64_t b = 0; b < blocks; ++b) {
    for (auto& w : m) w = 0;
    const uint64_t start = b * 64;
    const uint64_t end = std::min<uint64_t>(len, start + 64);
    for (uint64_t i = start; i < end; ++i)
      m[(i - start) >> 2] |= PositionValue(msg[i]) << (8 * (i & 3));
    if (len >= start && len < start + 64) m[(len - start) >> 2] |= 0x80u << (8 * (len & 3));
    if (b == blocks - 1) {
      m[14] = static_cast<uint32_t>(len * 8);
      m[15] = static_cast<uint32_t>(len >> 29);
    }
    Compress(state, m);
  }
  return {state[0], state[1], state[2], state[3]};
}

Text Md5Text(TextView message) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  auto state = Md5State(message);
  Text out(32, u'0');
  size_t k = 0;
  for (uint32_t w : state)
    for (int byte = 0; byte < 4; ++byte) {
      uint32_t v = (w >> (8 * byte)) & 0xFF;
      out[k++] = kHex[v >> 4];
      out[k++] = kHex[v & 15];
    }
  return out;
}

Text Orvel_Class_Md5::OrvelMd5(Variant& sMessage) {
  if (sMessage.IsString()) return Md5Text(sMessage.text());
  return Md5Text(automation::CStr(sMessage));
}

Text Orvel_Class_Md5::OrvelServU(Text p_StrPass) {
  automation::Randomize();
  double r1 = automation::Rnd();
  double r2 = automation::Rnd();
  char16_t first = static_cast<char16_t>(std::floor(122 - 24 * r1));
  char16_t second = static_cast<char16_t>(std::floor(90 - 24 * r2)) + 32;  // to lower case
  Text salt{first, second};
  return salt + Md5Text(salt + p_StrPass);
}

namespace {
const std::vector<automation::MethodEntry>& Members() {
  using automation::ParamDecl;
  using automation::ParamType;
  static const std::vector<automation::MethodEntry> table = {
      {{u"OrvelMd5", ParamType::Text, {ParamDecl{u"sMessage", ParamType::Variant, true, false, {}}}},
       automation::MakeThunk<&Orvel_Class_Md5::OrvelMd5>()},
      {{u"OrvelServU", ParamType::Text, {ParamDecl{u"p_StrPass", ParamType::Text, false, false, {}}}},
       automation::MakeThunk<&Orvel_Class_Md5::OrvelServU>()},
  };
  return table;
}
}  // namespace

Variant Orvel_Class_Md5::Invoke(TextView name, automation::InvokeKind kind,
                                std::span<Variant* const> args) {
  if (kind != automation::InvokeKind::PropertyPut)
    for (const auto& e : Members())
      if (automation::EqualsNoCase(e.decl.name, name)) return automation::CallEntry(e, *this, args);
  automation::ThrowNoSuchMember(name);
}

}  // namespace arenix::hash
