// The meet's accounts (table Account of the meet folder): organisers,
// recorders by events, and one account per delegation. Passwords are kept
// in the password store's salted, slow form only.
//
// Recorder accounts made by the desktop program live in its table WldfUser
// with an MD5 password. Such a recorder still logs in with it: the first
// login that matches moves the account here (slow hash, events and name
// taken along) and blanks the MD5 in WldfUser, so the weak form is gone.
//
// Not thread-safe: one store per request or command; the tables' locks and
// the meet write lock keep concurrent stores of one folder apart.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "automation/text.h"
#include "data/connection.h"

namespace arenix::desk {

using automation::Text;
using automation::TextView;

struct Account {
  Text user;
  Text role;    // 管理员, 记录员 or 代表队
  Text name;    // shown on the pages
  Text team;    // a delegation account's delegation
  Text events;  // a recorder's events, comma-separated
  std::string hash;
  Text changed;
};

class AccountStore {
 public:
  /// Opens the meet folder, making the desk's tables when missing.
  explicit AccountStore(std::string folder);
  ~AccountStore();

  std::optional<Account> Find(TextView user);
  /// Every account, by role and then user name.
  std::vector<Account> List();

  /// Adds an account with the password. Raises 5 with a message for a bad
  /// user name, role, delegation or password, and 58 when the name is taken.
  void Add(const Account& account, TextView password);
  /// Sets a new password; raises 5 for an unknown user or a weak password.
  void SetPassword(TextView user, TextView password);
  /// Changes name, delegation and events of an account (not its role or
  /// password); raises 5 for an unknown user.
  void Update(const Account& account);
  /// Removes an account; false when there was none. The last organiser is
  /// never removed (raises 5).
  bool Remove(TextView user);

  /// The account when the password matches (a desktop program's recorder
  /// is moved over on its first login), nullopt otherwise. As slow for an
  /// unknown name as for a wrong password.
  std::optional<Account> Authenticate(TextView user, TextView password);

  /// Checks a user name: 1 to 20 characters, no spaces, quotes, "|" or ",".
  static std::optional<Text> UserNameProblem(TextView user);
  /// Checks a new password: at least 6 characters.
  static std::optional<Text> PasswordProblem(TextView password);

 private:
  std::vector<Account> Select(TextView where);
  std::optional<Account> MigrateRecorder(TextView user, TextView password);
  void Validate(const Account& account) const;
  void Insert(const Account& account, const std::string& hash);

  std::string folder_;
  data::FreeTableConnection conn_;
};

}  // namespace arenix::desk
