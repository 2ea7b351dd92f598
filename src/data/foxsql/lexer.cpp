#include "data/foxsql/lexer.h"

#include "automation/datetime.h"
#include "data/foxsql/statement_error.h"

namespace data::foxsql {
namespace {

bool IsNameStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' ||
         (c >= 0x80 && c != 0x3000);
}
bool IsNameChar(char16_t c) { return IsNameStart(c) || (c >= u'0' && c <= u'9'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == 0x3000;
}

class Lexer {
 public:
  explicit Lexer(TextView s) : s_(s) {}

  std::vector<Token> Run() {
    std::vector<Token> out;
    for (;;) {
      while (i_ < s_.size() && IsSpace(s_[i_])) ++i_;
      Token t;
      t.offset = i_;
      if (i_ >= s_.size()) {
        out.push_back(std::move(t));
        return out;
      }
      char16_t c = s_[i_];
      if (IsNameStart(c)) {
        size_t start = i_;
        while (i_ < s_.size() && IsNameChar(s_[i_])) ++i_;
        t.kind = TokenKind::kName;
        t.text = s_.substr(start, i_ - start);
      } else if (c == u'[') {
        size_t end = s_.find(u']', i_ + 1);
        if (end == TextView::npos) Fail(u"Missing ] after name");
        t.kind = TokenKind::kQuotedName;
        t.text = s_.substr(i_ + 1, end - i_ - 1);
        i_ = end + 1;
      } else if (c == u'\'' || c == u'"') {
        t.kind = TokenKind::kText;
        t.text = QuotedText(c);
      } else if (IsDigit(c) || (c == u'.' && i_ + 1 < s_.size() && IsDigit(s_[i_ + 1]))) {
        t.kind = TokenKind::kNumber;
        t.text = NumberText();
      } else if (c == u'.' && DottedWord(t)) {
        // t is filled
      } else if (c == u'{') {
        DateLiteral(t);
      } else {
        t.kind = TokenKind::kSymbol;
        t.text = Symbol();
      }
      out.push_back(std::move(t));
    }
  }

 private:
  [[noreturn]] void Fail(TextView message) { ThrowStatementError(message, s_); }

  Text QuotedText(char16_t quote) {
    Text out;
    for (++i_;; ++i_) {
      if (i_ >= s_.size()) Fail(u"Missing closing quote");
      if (s_[i_] == quote) {
        if (i_ + 1 < s_.size() && s_[i_ + 1] == quote) {
          out.push_back(quote);
          ++i_;
          continue;
        }
        ++i_;
        return out;
      }
      out.push_back(s_[i_]);
    }
  }

  Text NumberText() {
    size_t start = i_;
    while (i_ < s_.size() && IsDigit(s_[i_])) ++i_;
    // A point followed by a letter starts a dotted word (1.And.), not decimals.
    if (i_ < s_.size() && s_[i_] == u'.' && !(i_ + 1 < s_.size() && IsNameStart(s_[i_ + 1]))) {
      ++i_;
      while (i_ < s_.size() && IsDigit(s_[i_])) ++i_;
    }
    if (i_ < s_.size() && (s_[i_] == u'e' || s_[i_] == u'E')) {
      size_t j = i_ + 1;
      if (j < s_.size() && (s_[j] == u'+' || s_[j] == u'-')) ++j;
      if (j < s_.size() && IsDigit(s_[j])) {
        while (j < s_.size() && IsDigit(s_[j])) ++j;
        i_ = j;
      }
    }
    if (i_ < s_.size() && IsNameStart(s_[i_])) Fail(u"Invalid number");
    return Text(s_.substr(start, i_ - start));
  }

  bool DottedWord(Token& t) {
    size_t j = i_ + 1;
    while (j < s_.size() && ((s_[j] >= u'a' && s_[j] <= u'z') || (s_[j] >= u'A' && s_[j] <= u'Z')))
      ++j;
    if (j >= s_.size() || s_[j] != u'.' || j == i_ + 1) return false;
    Text word = automation::AsciiLower(s_.substr(i_ + 1, j - i_ - 1));
    static constexpr std::pair<std::u16string_view, TokenKind> kWords[] = {
        {u"t", TokenKind::kTrue},     {u"y", TokenKind::kTrue},   {u"f", TokenKind::kFalse},
        {u"n", TokenKind::kFalse},    {u"null", TokenKind::kNull}, {u"and", TokenKind::kDotAnd},
        {u"or", TokenKind::kDotOr},   {u"not", TokenKind::kDotNot},
    };
    for (const auto& [w, kind] : kWords) {
      if (word == w) {
        t.kind = kind;
        t.text = s_.substr(i_, j + 1 - i_);
        i_ = j + 1;
        return true;
      }
    }
    return false;
  }

  // {^yyyy-mm-dd[ hh:mm[:ss]]}; {} and { / / } are the empty date.
  void DateLiteral(Token& t) {
    size_t end = s_.find(u'}', i_);
    if (end == TextView::npos) Fail(u"Missing } after date");
    TextView body = s_.substr(i_ + 1, end - i_ - 1);
    t.kind = TokenKind::kDate;
    t.text = s_.substr(i_, end + 1 - i_);
    i_ = end + 1;
    bool blank = true;
    for (char16_t c : body)
      if (!IsSpace(c) && c != u'/' && c != u'-' && c != u'.' && c != u':') blank = false;
    if (blank) return;  // serial 0
    size_t k = 0;
    while (k < body.size() && IsSpace(body[k])) ++k;
    if (k >= body.size() || body[k] != u'^') Fail(u"Date literal must be written {^yyyy-mm-dd}");
    TextView rest = body.substr(k + 1);
    auto date = automation::ParseDateText(rest);
    if (!date) Fail(u"Invalid date literal");
    t.number = date->serial;
    t.has_time = rest.find(u':') != TextView::npos;
  }

  Text Symbol() {
    static constexpr std::u16string_view kTwo[] = {u"==", u"<>", u"!=", u"<=", u">=", u"**"};
    for (auto two : kTwo)
      if (s_.substr(i_, 2) == two) {
        i_ += 2;
        return Text(two);
      }
    static constexpr std::u16string_view kOne = u"=#<>+-*/%^(),.!$;";
    char16_t c = s_[i_];
    if (kOne.find(c) == std::u16string_view::npos) {
      Text message = u"Unexpected character '";
      message.push_back(c);
      Fail(message + u"'");
    }
    ++i_;
    return Text(1, c);
  }

  TextView s_;
  size_t i_ = 0;
};

}  // namespace

std::vector<Token> Tokenize(TextView statement) { return Lexer(statement).Run(); }

}  // namespace data::foxsql
