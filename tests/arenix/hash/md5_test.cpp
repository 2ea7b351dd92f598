// MD5 of texts by the character rule, checked against OpenSSL: byte for
// byte where the rule gives ordinary bytes, and through OpenSSL's own
// compression function where a character sets the upper bits of its word.
#define OPENSSL_SUPPRESS_DEPRECATED
#include <openssl/md5.h>

#include <gtest/gtest.h>

#include <cstring>

#include "arenix/frame/arenix_cls.h"
#include "arenix/hash/md5.h"
#include "automation/clock.h"
#include "automation/cp936.h"

namespace {

using automation::Text;
using automation::Variant;

std::string Hex(const unsigned char* bytes, size_t n) {
  static const char* kHex = "0123456789ABCDEF";
  std::string out;
  for (size_t i = 0; i < n; ++i) {
    out += kHex[bytes[i] >> 4];
    out += kHex[bytes[i] & 15];
  }
  return out;
}

// The message words written out literally from the rule: N words, each
// character's sign-extended code value OR-ed in at 8 * (i mod 4), the pad
// bit, and the two length words; then OpenSSL compresses them.
std::string ByTheRule(const Text& text) {
  const uint64_t L = text.size();
  const uint64_t N = ((L + 8) / 64 + 1) * 16;
  std::vector<uint32_t> words(N, 0);
  for (uint64_t i = 0; i < L; ++i) {
    int32_t v = automation::GbkCodeValue(text[i]);
    words[i / 4] |= static_cast<uint32_t>(v) << (8 * (i % 4));
  }
  words[L / 4] |= 0x80u << (8 * (L % 4));
  words[N - 2] = static_cast<uint32_t>(L * 8);
  words[N - 1] = static_cast<uint32_t>(L >> 29);
  MD5_CTX ctx;
  MD5_Init(&ctx);
  for (uint64_t b = 0; b < N; b += 16) {
    unsigned char block[64];
    for (int k = 0; k < 16; ++k)
      for (int j = 0; j < 4; ++j) block[4 * k + j] = static_cast<unsigned char>(words[b + k] >> (8 * j));
    MD5_Transform(&ctx, block);
  }
  uint32_t state[4] = {ctx.A, ctx.B, ctx.C, ctx.D};
  unsigned char out[16];
  for (int k = 0; k < 4; ++k)
    for (int j = 0; j < 4; ++j) out[4 * k + j] = static_cast<unsigned char>(state[k] >> (8 * j));
  return Hex(out, 16);
}

std::string Ours(const Text& t) { return automation::ToUtf8(arenix::hash::Md5Text(t)); }

TEST(Md5Test, PublishedVectors) {
  EXPECT_EQ(Ours(u"abc"), "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_EQ(Ours(u""), "D41D8CD98F00B204E9800998ECF8427E");
  EXPECT_EQ(Ours(u"The quick brown fox jumps over the lazy dog"), "9E107D9D372BB6826BD81D3542A419D6");
}

TEST(Md5Test, AsciiTextsAreOrdinaryMd5AtEveryLength) {
  // Lengths around the padding boundaries (55, 56, 63, 64, 119, 120...).
  for (size_t len = 0; len < 200; ++len) {
    std::string ascii;
    for (size_t i = 0; i < len; ++i) ascii += static_cast<char>('!' + (i * 7) % 90);
    unsigned char digest[16];
    MD5(reinterpret_cast<const unsigned char*>(ascii.data()), ascii.size(), digest);
    EXPECT_EQ(Ours(automation::FromAscii(ascii)), Hex(digest, 16)) << "length " << len;
  }
}

TEST(Md5Test, TwoByteCharactersFollowTheWordRule) {
  const Text cases[] = {u"运动会", u"a中b", u"张三2024年春季运动会田径100米决赛", u"€", u"x€y",
                        Text(70, u'跑'), u"混合接力4×100米"};
  for (const Text& t : cases) {
    EXPECT_EQ(Ours(t), ByTheRule(t)) << automation::ToUtf8(t);
    // Not the standard digest of its GBK or UTF-8 bytes (the euro sign is one byte, 0x80).
    std::string gbk = automation::ToGbk(t), utf8 = automation::ToUtf8(t);
    unsigned char d1[16], d2[16];
    MD5(reinterpret_cast<const unsigned char*>(gbk.data()), gbk.size(), d1);
    MD5(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size(), d2);
    EXPECT_NE(Ours(t), Hex(d2, 16));
    bool has_double_byte = false;
    for (char16_t c : t) has_double_byte |= automation::IsGbkDoubleByte(c);
    if (has_double_byte) {
      EXPECT_NE(Ours(t), Hex(d1, 16));
    }
  }
}

TEST(Md5Test, UnrepresentableCharacterHashesLikeQuestionMark) {
  EXPECT_EQ(Ours(u"a\u0e01b"), Ours(u"a?b"));  // Thai letter: not in code page 936
  EXPECT_EQ(Ours(u"\xD800"), Ours(u"?"));     // lone surrogate
}

TEST(Md5Test, ServUEntry) {
  automation::ScopedClock fixed(std::nullopt, 12345);
  arenix::hash::Orvel_Class_Md5 md5;
  Text first = md5.OrvelServU(u"pass");
  Text second = md5.OrvelServU(u"pass");
  for (const Text& entry : {first, second}) {
    ASSERT_EQ(entry.size(), 34u);
    EXPECT_GE(entry[0], u'b');
    EXPECT_LE(entry[0], u'z');
    EXPECT_GE(entry[1], u'b');
    EXPECT_LE(entry[1], u'z');
    EXPECT_EQ(entry.substr(2), arenix::hash::Md5Text(entry.substr(0, 2) + u"pass"));
  }
  EXPECT_NE(first.substr(0, 2), second.substr(0, 2));
}

TEST(Md5Test, ComponentForwardsToItsOwnHashObject) {
  arenix::ArenixCls a, b;
  EXPECT_NE(&a.hash_object(), &b.hash_object());
  EXPECT_EQ(a.CommMd5(u"abc"), u"900150983CD24FB0D6963F7D28E17F72");
  Text entry = a.CommServU(u"secret");
  EXPECT_EQ(entry.substr(2), a.CommMd5(entry.substr(0, 2) + u"secret"));
}

TEST(Md5Test, ReachableByName) {
  auto obj = std::make_shared<arenix::hash::Orvel_Class_Md5>();
  Variant msg(u"abc");
  Variant* args[] = {&msg};
  EXPECT_EQ(obj->Invoke(u"orvelmd5", automation::InvokeKind::Method, args),
            Variant(u"900150983CD24FB0D6963F7D28E17F72"));
  EXPECT_EQ(msg, Variant(u"abc"));
}

}  // namespace
