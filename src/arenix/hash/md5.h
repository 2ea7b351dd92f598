// MD5 digests of texts, and Serv-U password entries.
//
// The message is built from the text's characters, one message position per
// 16-bit unit, each the character's GBK code value (cp936.h) sign-extended to
// 32 bits before it is placed in its word; for ASCII texts this is the
// ordinary MD5 of the bytes. Digests are written in upper-case hexadecimal.
#pragma once

#include <array>
#include <cstdint>

#include "automation/object.h"

namespace arenix::hash {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The digest text (32 upper-case hexadecimal digits) of a text.
Text Md5Text(TextView message);

/// The four state words after hashing a text by the character rule.
std::array<uint32_t, 4> Md5State(TextView message);

/// The public hash class ("Arenix.Orvel_Class_Md5"). Keeps no state that
/// affects results.
class Orvel_Class_Md5 : public automation::Object {
 public:
  Text ClassName() const override { return u"Orvel_Class_Md5"; }
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  /// The digest of the text that `sMessage` holds (read only).
  Text OrvelMd5(Variant& sMessage);
  /// Two lower-case salt letters from the random source (seeded from the
  /// clock), then the digest of salt + password: 34 characters.
  Text OrvelServU(Text p_StrPass);
};

}  // namespace arenix::hash
