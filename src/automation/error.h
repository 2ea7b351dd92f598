// Automation errors: the number and description that a failed method call
// carries to its caller. Everything a procedure does not trap on purpose
// reaches the page as one of these.
#pragma once

#include <exception>
#include <string>

#include "automation/text.h"

namespace automation {

/// Standard runtime error numbers used across the component.
namespace err {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscript = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kFileNotFound = 53;
inline constexpr int kFileExists = 58;
inline constexpr int kPastEnd = 62;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccess = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kObjectNotSet = 91;
inline constexpr int kInvalidNull = 94;
inline constexpr int kObjectRequired = 424;
inline constexpr int kCannotCreate = 429;
inline constexpr int kNoSuchMember = 438;
inline constexpr int kNotSupported = 445;
inline constexpr int kArgNotOptional = 449;
inline constexpr int kWrongArgCount = 450;
inline constexpr int kNoCurrentRecord = 3021;
inline constexpr int kObjectClosed = 3704;
inline constexpr int kRegExpSyntax = 5017;
/// The work ran past the time limit its caller set (automation/deadline.h).
inline constexpr int kTimedOut = -2147217871;
}  // namespace err

/// The standard description of a number ("Type mismatch"), or empty text.
Text StandardDescription(int number);

class Error : public std::exception {
 public:
  /// An error with its standard description.
  explicit Error(int number);
  Error(int number, Text description);

  int number() const { return number_; }
  const Text& description() const { return description_; }
  /// UTF-8 form of "description (number)" for logs.
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  int number_;
  Text description_;
  std::string what_;
};

/// Shorthands for the failures that the coercions raise.
[[noreturn]] void ThrowTypeMismatch();
[[noreturn]] void ThrowOverflow();
[[noreturn]] void ThrowInvalidNull();
[[noreturn]] void ThrowInvalidCall();

}  // namespace automation
