#include "arenix/desk/password_hash.h"

#include <sodium.h>

#include <semaphore>
#include <stdexcept>

#include "automation/error.h"

namespace arenix::desk {

namespace {

// Argon2id with 19 MiB and two passes (the commonly advised floor for
// password storage): some tens of milliseconds per guess on this hardware,
// which a login hardly notices and a guesser pays for every try.
constexpr unsigned long long kOps = 2;
constexpr size_t kMemory = 19u << 20;

std::counting_semaphore<2>& Slots() {
  static std::counting_semaphore<2> slots(2);
  return slots;
}

struct Slot {
  Slot() { Slots().acquire(); }
  ~Slot() { Slots().release(); }
};

void InitOnce() {
  static const bool ready = sodium_init() >= 0;
  if (!ready) throw automation::Error(automation::err::kCannotCreate, u"libsodium cannot start");
}

}  // namespace

std::string HashPassword(automation::TextView password) {
  InitOnce();
  const std::string bytes = automation::ToUtf8(password);
  char out[crypto_pwhash_STRBYTES];
  Slot slot;
  if (crypto_pwhash_str_alg(out, bytes.data(), bytes.size(), kOps, kMemory, crypto_pwhash_ALG_ARGON2ID13) != 0)
    throw automation::Error(automation::err::kOutOfMemory);
  return out;
}

bool IsPasswordHash(std::string_view stored) {
  return stored.starts_with("$argon2id$") || stored.starts_with("$argon2i$");
}

bool VerifyPassword(const std::string& stored, automation::TextView password) {
  if (!IsPasswordHash(stored) || stored.size() >= crypto_pwhash_STRBYTES) return false;
  InitOnce();
  const std::string bytes = automation::ToUtf8(password);
  Slot slot;
  return crypto_pwhash_str_verify(stored.c_str(), bytes.data(), bytes.size()) == 0;
}

void SpendVerificationTime(automation::TextView password) {
  // A fixed hash of a password nobody has: same costs, never matches.
  static const std::string decoy = HashPassword(u"\u0001decoy");
  (void)VerifyPassword(decoy, password);
}

}  // namespace arenix::desk
