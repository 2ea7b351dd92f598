#include "arenix/hash/md5.h"

#include <cmath>

#include "automation/clock.h"
#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/dispatch.h"
#include "automation/member_table.h"

namespace arenix::hash {
namespace {

inline uint32_t Rotl(uint32_t x, int c) { return (x << c) | (x >> (32 - c)); }

// One MD5 compression of 16 message words into the state (RFC 1321), written
// out step by step so that the constants stay in the instructions.
#define ARENIX_MD5_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define ARENIX_MD5_G(x, y, z) ((y) ^ ((z) & ((x) ^ (y))))
#define ARENIX_MD5_H(x, y, z) ((x) ^ (y) ^ (z))
#define ARENIX_MD5_I(x, y, z) ((y) ^ ((x) | ~(z)))
#define ARENIX_MD5_STEP(f, a, b, c, d, x, t, s) \
  a += f(b, c, d) + (x) + (t);                  \
  a = Rotl(a, s) + b;

void Compress(uint32_t state[4], const uint32_t m[16]) {
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  ARENIX_MD5_STEP(ARENIX_MD5_F, a, b, c, d, m[0], 0xd76aa478, 7)
  ARENIX_MD5_STEP(ARENIX_MD5_F, d, a, b, c, m[1], 0xe8c7b756, 12)
  ARENIX_MD5_STEP(ARENIX_MD5_F, c, d, a, b, m[2], 0x242070db, 17)
  ARENIX_MD5_STEP(ARENIX_MD5_F, b, c, d, a, m[3], 0xc1bdceee, 22)
  ARENIX_MD5_STEP(ARENIX_MD5_F, a, b, c, d, m[4], 0xf57c0faf, 7)
  ARENIX_MD5_STEP(ARENIX_MD5_F, d, a, b, c, m[5], 0x4787c62a, 12)
  ARENIX_MD5_STEP(ARENIX_MD5_F, c, d, a, b, m[6], 0xa8304613, 17)
  ARENIX_MD5_STEP(ARENIX_MD5_F, b, c, d, a, m[7], 0xfd469501, 22)
  ARENIX_MD5_STEP(ARENIX_MD5_F, a, b, c, d, m[8], 0x698098d8, 7)
  ARENIX_MD5_STEP(ARENIX_MD5_F, d, a, b, c, m[9], 0x8b44f7af, 12)
  ARENIX_MD5_STEP(ARENIX_MD5_F, c, d, a, b, m[10], 0xffff5bb1, 17)
  ARENIX_MD5_STEP(ARENIX_MD5_F, b, c, d, a, m[11], 0x895cd7be, 22)
  ARENIX_MD5_STEP(ARENIX_MD5_F, a, b, c, d, m[12], 0x6b901122, 7)
  ARENIX_MD5_STEP(ARENIX_MD5_F, d, a, b, c, m[13], 0xfd987193, 12)
  ARENIX_MD5_STEP(ARENIX_MD5_F, c, d, a, b, m[14], 0xa679438e, 17)
  ARENIX_MD5_STEP(ARENIX_MD5_F, b, c, d, a, m[15], 0x49b40821, 22)
  ARENIX_MD5_STEP(ARENIX_MD5_G, a, b, c, d, m[1], 0xf61e2562, 5)
  ARENIX_MD5_STEP(ARENIX_MD5_G, d, a, b, c, m[6], 0xc040b340, 9)
  ARENIX_MD5_STEP(ARENIX_MD5_G, c, d, a, b, m[11], 0x265e5a51, 14)
  ARENIX_MD5_STEP(ARENIX_MD5_G, b, c, d, a, m[0], 0xe9b6c7aa, 20)
  ARENIX_MD5_STEP(ARENIX_MD5_G, a, b, c, d, m[5], 0xd62f105d, 5)
  ARENIX_MD5_STEP(ARENIX_MD5_G, d, a, b, c, m[10], 0x02441453, 9)
  ARENIX_MD5_STEP(ARENIX_MD5_G, c, d, a, b, m[15], 0xd8a1e681, 14)
  ARENIX_MD5_STEP(ARENIX_MD5_G, b, c, d, a, m[4], 0xe7d3fbc8, 20)
  ARENIX_MD5_STEP(ARENIX_MD5_G, a, b, c, d, m[9], 0x21e1cde6, 5)
  ARENIX_MD5_STEP(ARENIX_MD5_G, d, a, b, c, m[14], 0xc33707d6, 9)
  ARENIX_MD5_STEP(ARENIX_MD5_G, c, d, a, b, m[3], 0xf4d50d87, 14)
  ARENIX_MD5_STEP(ARENIX_MD5_G, b, c, d, a, m[8], 0x455a14ed, 20)
  ARENIX_MD5_STEP(ARENIX_MD5_G, a, b, c, d, m[13], 0xa9e3e905, 5)
  ARENIX_MD5_STEP(ARENIX_MD5_G, d, a, b, c, m[2], 0xfcefa3f8, 9)
  ARENIX_MD5_STEP(ARENIX_MD5_G, c, d, a, b, m[7], 0x676f02d9, 14)
  ARENIX_MD5_STEP(ARENIX_MD5_G, b, c, d, a, m[12], 0x8d2a4c8a, 20)
  ARENIX_MD5_STEP(ARENIX_MD5_H, a, b, c, d, m[5], 0xfffa3942, 4)
  ARENIX_MD5_STEP(ARENIX_MD5_H, d, a, b, c, m[8], 0x8771f681, 11)
  ARENIX_MD5_STEP(ARENIX_MD5_H, c, d, a, b, m[11], 0x6d9d6122, 16)
  ARENIX_MD5_STEP(ARENIX_MD5_H, b, c, d, a, m[14], 0xfde5380c, 23)
  ARENIX_MD5_STEP(ARENIX_MD5_H, a, b, c, d, m[1], 0xa4beea44, 4)
  ARENIX_MD5_STEP(ARENIX_MD5_H, d, a, b, c, m[4], 0x4bdecfa9, 11)
  ARENIX_MD5_STEP(ARENIX_MD5_H, c, d, a, b, m[7], 0xf6bb4b60, 16)
  ARENIX_MD5_STEP(ARENIX_MD5_H, b, c, d, a, m[10], 0xbebfbc70, 23)
  ARENIX_MD5_STEP(ARENIX_MD5_H, a, b, c, d, m[13], 0x289b7ec6, 4)
  ARENIX_MD5_STEP(ARENIX_MD5_H, d, a, b, c, m[0], 0xeaa127fa, 11)
  ARENIX_MD5_STEP(ARENIX_MD5_H, c, d, a, b, m[3], 0xd4ef3085, 16)
  ARENIX_MD5_STEP(ARENIX_MD5_H, b, c, d, a, m[6], 0x04881d05, 23)
  ARENIX_MD5_STEP(ARENIX_MD5_H, a, b, c, d, m[9], 0xd9d4d039, 4)
  ARENIX_MD5_STEP(ARENIX_MD5_H, d, a, b, c, m[12], 0xe6db99e5, 11)
  ARENIX_MD5_STEP(ARENIX_MD5_H, c, d, a, b, m[15], 0x1fa27cf8, 16)
  ARENIX_MD5_STEP(ARENIX_MD5_H, b, c, d, a, m[2], 0xc4ac5665, 23)
  ARENIX_MD5_STEP(ARENIX_MD5_I, a, b, c, d, m[0], 0xf4292244, 6)
  ARENIX_MD5_STEP(ARENIX_MD5_I, d, a, b, c, m[7], 0x432aff97, 10)
  ARENIX_MD5_STEP(ARENIX_MD5_I, c, d, a, b, m[14], 0xab9423a7, 15)
  ARENIX_MD5_STEP(ARENIX_MD5_I, b, c, d, a, m[5], 0xfc93a039, 21)
  ARENIX_MD5_STEP(ARENIX_MD5_I, a, b, c, d, m[12], 0x655b59c3, 6)
  ARENIX_MD5_STEP(ARENIX_MD5_I, d, a, b, c, m[3], 0x8f0ccc92, 10)
  ARENIX_MD5_STEP(ARENIX_MD5_I, c, d, a, b, m[10], 0xffeff47d, 15)
  ARENIX_MD5_STEP(ARENIX_MD5_I, b, c, d, a, m[1], 0x85845dd1, 21)
  ARENIX_MD5_STEP(ARENIX_MD5_I, a, b, c, d, m[8], 0x6fa87e4f, 6)
  ARENIX_MD5_STEP(ARENIX_MD5_I, d, a, b, c, m[15], 0xfe2ce6e0, 10)
  ARENIX_MD5_STEP(ARENIX_MD5_I, c, d, a, b, m[6], 0xa3014314, 15)
  ARENIX_MD5_STEP(ARENIX_MD5_I, b, c, d, a, m[13], 0x4e0811a1, 21)
  ARENIX_MD5_STEP(ARENIX_MD5_I, a, b, c, d, m[4], 0xf7537e82, 6)
  ARENIX_MD5_STEP(ARENIX_MD5_I, d, a, b, c, m[11], 0xbd3af235, 10)
  ARENIX_MD5_STEP(ARENIX_MD5_I, c, d, a, b, m[2], 0x2ad7d2bb, 15)
  ARENIX_MD5_STEP(ARENIX_MD5_I, b, c, d, a, m[9], 0xeb86d391, 21)
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}
#undef ARENIX_MD5_F
#undef ARENIX_MD5_G
#undef ARENIX_MD5_H
#undef ARENIX_MD5_I
#undef ARENIX_MD5_STEP

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
    uint64_t i = start;
    // Four ASCII characters make a word as four bytes would.
    for (; i + 4 <= end; i += 4) {
      const char16_t* p = msg.data() + i;
      if ((p[0] | p[1] | p[2] | p[3]) < 0x80) {
        m[(i - start) >> 2] = p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
      } else {
        for (int k = 0; k < 4; ++k) m[(i - start) >> 2] |= PositionValue(p[k]) << (8 * k);
      }
    }
    for (; i < end; ++i) m[(i - start) >> 2] |= PositionValue(msg[i]) << (8 * (i & 3));
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
const std::vector<automation::MethodEntry>& Methods() {
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

const automation::MemberTable& MemberTableOfMethods() {
  static const automation::MemberTable table{std::span<const automation::MethodEntry>(Methods())};
  return table;
}
}  // namespace

const automation::MemberTable* Orvel_Class_Md5::Members() const { return &MemberTableOfMethods(); }

Variant Orvel_Class_Md5::Invoke(TextView name, automation::InvokeKind kind,
                                std::span<Variant* const> args) {
  const int id = MemberTableOfMethods().Resolve(name, kind, args.size());
  return automation::CallEntry(Methods()[static_cast<size_t>(id)], *this, args);
}

}  // namespace arenix::hash
