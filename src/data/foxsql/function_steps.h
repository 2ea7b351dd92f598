// The one-argument text and number functions as steps on a value held in
// C++ (Steps). A function runs its step on its argument; a chain of them
// over a slice of a text, as the packed stage fields are read
// (Cast(Int(Val(SubStr(f,5,4))) As I), Cast(AllTrim(SubStr(f,13,6)) As C(6))),
// is written by the translator as one call, fox_slice, that runs the steps
// one after the other: the same results and errors, without handing every
// intermediate value to SQLite and back (four calls a column, some sixty a
// row of a round).
//
//   fox_slice(x, 5, 4, 'val int cast_i')  // = Cast(Int(Val(SubStr(x,5,4))) As I)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace data::foxsql {

// The longest text a function may build (FoxPro's own limit), so that
// Space(1e12) fails cleanly instead of exhausting memory.
inline constexpr int64_t kMaxTextBytes = 16777184;

/// A number as FoxPro writes it when it becomes text (PADL of a number,
/// Cast to C): no exponent, no trailing zeros.
std::string NumberText(double d);

/// A value between two steps: a text (UTF-8, viewed in the argument or in
/// one of the value's own buffers), a whole number or a real.
class StepValue {
 public:
  enum class Type { kText, kWhole, kReal };

  static StepValue OfText(std::string_view t) { return StepValue(Type::kText, t, 0, 0); }
  static StepValue OfWhole(int64_t n) { return StepValue(Type::kWhole, {}, n, 0); }
  static StepValue OfReal(double d) { return StepValue(Type::kReal, {}, 0, d); }

  Type type() const { return type_; }
  bool IsText() const { return type_ == Type::kText; }
  std::string_view text() const { return text_; }
  int64_t whole() const { return whole_; }
  double real() const { return real_; }
  double Number() const { return type_ == Type::kWhole ? static_cast<double>(whole_) : real_; }

  void SetText(std::string_view t) { type_ = Type::kText, text_ = t; }
  void SetWhole(int64_t n) { type_ = Type::kWhole, whole_ = n; }
  void SetReal(double d) { type_ = Type::kReal, real_ = d; }
  /// A buffer for the next text, never the one the current text is in.
  std::string& Fresh() {
    std::string& s = buffers_[next_];
    next_ ^= 1;
    s.clear();
    return s;
  }
  // A text may be in the value's own buffers: it is never copied or moved.
  StepValue(const StepValue&) = delete;
  StepValue& operator=(const StepValue&) = delete;

 private:
  StepValue(Type type, std::string_view t, int64_t n, double d) : type_(type), text_(t), whole_(n), real_(d) {}

  Type type_;
  std::string_view text_;
  int64_t whole_ = 0;
  double real_ = 0;
  std::string buffers_[2];
  int next_ = 0;
};

/// One step of a chain. `n` is the step's number argument: the width of
/// a Cast to C or V (-1: none), the decimals of Round or of a Cast to N
/// (-1: none).
enum class StepKind { kAllTrim, kRTrim, kLTrim, kUpper, kLower, kVal, kInt, kRound, kCastI, kCastN, kCastC, kCastV };
struct Step {
  StepKind kind;
  int64_t n = -1;
};

/// Runs one step; a value of the wrong type raises the argument error of
/// the function named (by default the step's own).
void RunStep(StepValue& v, const Step& step, std::u16string_view function);
void RunStep(StepValue& v, const Step& step);

/// SubStr(x, start, count) of a text, start counted from 1: a view into
/// `v`'s text when no two-byte character is in the way.
void SliceStep(StepValue& v, int64_t start, int64_t count);

/// The steps of a chain as fox_slice takes them ("alltrim cast_c:6",
/// innermost first), or nothing for a text that is no chain.
std::optional<std::vector<Step>> ParseSteps(std::string_view text);
/// The text form of one step, as ParseSteps reads it.
std::string StepText(const Step& step);

/// The argument error of a function, by its name, and its error for a
/// text longer than kMaxTextBytes.
[[noreturn]] void ThrowBadArgument(std::u16string_view function);
[[noreturn]] void ThrowTooLong(std::u16string_view function);

}  // namespace data::foxsql
