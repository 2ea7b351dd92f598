// The password store of the meet's accounts: salted and deliberately slow
// hashes (Argon2id through libsodium), kept as the self-describing text that
// carries the algorithm, its costs and the salt, so that costs can be raised
// later without touching stored accounts.
//
// Thread-safe. At most two hashes run at once in the process: each takes
// 19 MiB, and a crowd of logins must not take the machine's
// memory.
#pragma once

#include <string>

#include "automation/text.h"

namespace arenix::desk {

/// The stored form of a password (about 100 ASCII characters). The password
/// is hashed as its UTF-8 bytes.
std::string HashPassword(automation::TextView password);

/// True when `password` matches the stored form; false for a stored text
/// that is not a hash of this store (an empty one included).
bool VerifyPassword(const std::string& stored, automation::TextView password);

/// Spends the time of one verification without a stored hash, so that an
/// unknown user name answers as slowly as a wrong password.
void SpendVerificationTime(automation::TextView password);

/// True when the text looks like a stored form of this store.
bool IsPasswordHash(std::string_view stored);

}  // namespace arenix::desk
