#include "web/keyed_assignment.h"

#include <cctype>
#include <optional>
#include <string_view>
#include <vector>

namespace web {

namespace {

enum class Kind { kName, kNumber, kString, kTemplate, kRegExp, kPunct };

struct Token {
  Kind kind;
  size_t begin, end;       // byte range in the source
  bool newline_before;     // a line break between this token and the previous one
  std::string_view text;
};

bool NameStart(unsigned char c) { return std::isalpha(c) || c == '_' || c == '$' || c >= 0x80; }
bool NamePart(unsigned char c) { return NameStart(c) || std::isdigit(c); }

// Words after which a `/` starts a regular expression, not a division.
bool KeywordBeforeExpression(std::string_view w) {
  for (std::string_view k : {"return", "typeof", "instanceof", "in", "of", "new", "delete", "void", "throw",
                             "case", "do", "else", "yield", "await"})
    if (w == k) return true;
  return false;
}

// Longest punctuators first.
constexpr std::string_view kPuncts[] = {
    ">>>=", "...", "===", "!==", "**=", "<<=", ">>=", ">>>", "&&=", "||=", "?\?=", "=>", "==", "!=", "<=", ">=",
    "&&", "||", "??", "?.", "++", "--", "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<", ">>", "**",
};

class Tokenizer {
 public:
  explicit Tokenizer(std::string_view s) : s_(s) {}

  std::optional<std::vector<Token>> Run() {
    std::vector<Token> out;
    size_t i = 0;
    while (true) {
      bool newline = false;
      if (!SkipSpace(i, newline)) return std::nullopt;
      if (i >= s_.size()) break;
      const size_t begin = i;
      const unsigned char c = static_cast<unsigned char>(s_[i]);
      Kind kind;
      if (NameStart(c)) {
        while (i < s_.size() && NamePart(static_cast<unsigned char>(s_[i]))) ++i;
        kind = Kind::kName;
      } else if (std::isdigit(c) || (c == '.' && i + 1 < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i + 1])))) {
        while (i < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[i])) || s_[i] == '.' ||
                                 ((s_[i] == '+' || s_[i] == '-') && (s_[i - 1] == 'e' || s_[i - 1] == 'E'))))
          ++i;
        kind = Kind::kNumber;
      } else if (c == '"' || c == '\'') {
        if (!SkipQuoted(i, static_cast<char>(c))) return std::nullopt;
        kind = Kind::kString;
      } else if (c == '`') {
        if (!SkipTemplate(i)) return std::nullopt;
        kind = Kind::kTemplate;
      } else if (c == '/' && RegExpAllowed(out)) {
        if (!SkipRegExp(i)) return std::nullopt;
        kind = Kind::kRegExp;
      } else {
        size_t n = 1;
        for (std::string_view p : kPuncts)
          if (s_.substr(i, p.size()) == p) {
            n = p.size();
            break;
          }
        i += n;
        kind = Kind::kPunct;
      }
      out.push_back({kind, begin, i, newline, s_.substr(begin, i - begin)});
    }
    return out;
  }

 private:
  bool SkipSpace(size_t& i, bool& newline) {
    while (i < s_.size()) {
      const char c = s_[i];
      if (c == '\n' || c == '\r') {
        newline = true;
        ++i;
      } else if (c == ' ' || c == '\t' || c == '\f' || c == '\v') {
        ++i;
      } else if (s_.substr(i, 2) == "//") {
        while (i < s_.size() && s_[i] != '\n') ++i;
      } else if (s_.substr(i, 2) == "/*") {
        size_t close = s_.find("*/", i + 2);
        if (close == std::string_view::npos) return false;
        if (s_.substr(i, close - i).find('\n') != std::string_view::npos) newline = true;
        i = close + 2;
      } else {
        break;
      }
    }
    return true;
  }

  bool SkipQuoted(size_t& i, char quote) {
    for (++i; i < s_.size(); ++i) {
      if (s_[i] == '\\') {
        ++i;
      } else if (s_[i] == quote) {
        ++i;
        return true;
      } else if (s_[i] == '\n') {
        return false;
      }
    }
    return false;
  }

  // A template text, its `${ }` parts read as code (nested templates too).
  bool SkipTemplate(size_t& i) {
    for (++i; i < s_.size(); ++i) {
      if (s_[i] == '\\') {
        ++i;
      } else if (s_[i] == '`') {
        ++i;
        return true;
      } else if (s_.substr(i, 2) == "${") {
        i += 2;
        int depth = 1;
        while (i < s_.size() && depth > 0) {
          bool newline = false;
          if (!SkipSpace(i, newline)) return false;
          if (i >= s_.size()) return false;
          const char c = s_[i];
          if (c == '"' || c == '\'') {
            if (!SkipQuoted(i, c)) return false;
          } else if (c == '`') {
            if (!SkipTemplate(i)) return false;
          } else {
            if (c == '{') ++depth;
            if (c == '}') --depth;
            ++i;
          }
        }
        if (depth > 0) return false;
        --i;  // the loop steps past the closing brace's successor otherwise
      }
    }
    return false;
  }

  bool SkipRegExp(size_t& i) {
    bool in_class = false;
    for (++i; i < s_.size(); ++i) {
      const char c = s_[i];
      if (c == '\\') {
        ++i;
      } else if (c == '\n') {
        return false;
      } else if (in_class) {
        if (c == ']') in_class = false;
      } else if (c == '[') {
        in_class = true;
      } else if (c == '/') {
        ++i;
        while (i < s_.size() && NamePart(static_cast<unsigned char>(s_[i]))) ++i;  // flags
        return true;
      }
    }
    return false;
  }

  static bool RegExpAllowed(const std::vector<Token>& before) {
    if (before.empty()) return true;
    const Token& t = before.back();
    switch (t.kind) {
      case Kind::kName: return KeywordBeforeExpression(t.text);
      case Kind::kNumber:
      case Kind::kString:
      case Kind::kTemplate:
      case Kind::kRegExp: return false;
      case Kind::kPunct: return !(t.text == ")" || t.text == "]" || t.text == "}" || t.text == "++" || t.text == "--");
    }
    return true;
  }

  std::string_view s_;
};

bool Opens(std::string_view t) { return t == "(" || t == "[" || t == "{"; }
bool Closes(std::string_view t) { return t == ")" || t == "]" || t == "}"; }

// A token that ends an expression (a line break after it may end the statement).
bool EndsExpression(const Token& t) {
  if (t.kind == Kind::kPunct) return t.text == ")" || t.text == "]" || t.text == "}";
  return true;
}

// A token on a new line that cannot go on with the expression before it, so
// that JavaScript ends the statement at the line break.
bool StartsNewStatement(const Token& t) {
  if (t.kind == Kind::kPunct)
    return t.text == "{" || t.text == "}" || t.text == "!" || t.text == "~" || t.text == "++" || t.text == "--";
  if (t.kind == Kind::kName) return t.text != "in" && t.text != "instanceof";
  return true;
}

class Rewriter {
 public:
  Rewriter(std::string_view src, const std::vector<Token>& tokens) : src_(src), t_(tokens) {}

  // The text of tokens [from, to) with keyed assignments rewritten.
  std::string Rewrite(size_t from, size_t to, size_t text_begin, size_t text_end) {
    std::string out;
    size_t copied = text_begin;
    for (size_t i = from; i < to; ++i) {
      if (t_[i].kind != Kind::kPunct || t_[i].text != "=") continue;
      std::optional<Target> target = TargetBefore(i, from);
      if (!target) continue;
      const size_t value_end = ValueEnd(i + 1, to);
      if (value_end == i + 1) continue;  // nothing assigned
      out.append(src_.substr(copied, t_[target->first].begin - copied));
      // object.$put("member", args..., value)
      out.append(src_.substr(t_[target->first].begin, t_[target->object_end - 1].end - t_[target->first].begin));
      out += ".$put(\"";
      out.append(target->member);
      out += "\"";
      if (!target->member.empty()) out.append(Spaces(t_[target->object_end - 1].end, t_[target->open - 1].begin));
      if (target->open + 1 < target->close) {
        out += ", ";
        out += Rewrite(target->open + 1, target->close, t_[target->open].end, t_[target->close].begin);
      } else {
        out.append(Spaces(t_[target->open].end, t_[target->close].begin));
      }
      out.append(Spaces(t_[target->close].end, t_[i].begin));
      out += ",";  // the value keeps the blanks written after the `=`
      out += Rewrite(i + 1, value_end, t_[i].end, t_[value_end - 1].end);
      out += ")";
      copied = t_[value_end - 1].end;
      i = value_end - 1;
    }
    out.append(src_.substr(copied, text_end - copied));
    return out;
  }

 private:
  struct Target {
    size_t first;       // first token of the chain of names
    size_t object_end;  // one past the object's last token
    std::string member; // "" for the object's default member
    size_t open, close; // the call's brackets
  };

  // Line breaks between two offsets, kept where the text between goes away.
  std::string Spaces(size_t a, size_t b) const {
    std::string out;
    for (size_t k = a; k < b; ++k)
      if (src_[k] == '\n') out += '\n';
    return out;
  }

  // `a.b(args)` right before the `=` at `eq`.
  std::optional<Target> TargetBefore(size_t eq, size_t from) const {
    if (eq == from || t_[eq - 1].text != ")") return std::nullopt;
    const size_t close = eq - 1;
    int depth = 0;
    size_t open = close;
    for (size_t k = close + 1; k-- > from;) {
      if (Closes(t_[k].text) && t_[k].kind == Kind::kPunct) ++depth;
      if (Opens(t_[k].text) && t_[k].kind == Kind::kPunct && --depth == 0) {
        open = k;
        break;
      }
    }
    if (depth != 0 || t_[open].text != "(" || open == from) return std::nullopt;
    // The chain of names before the bracket: name (. name)*
    size_t k = open;
    if (t_[k - 1].kind != Kind::kName) return std::nullopt;
    size_t first = k - 1;
    while (first >= from + 2 && t_[first - 1].text == "." && t_[first - 2].kind == Kind::kName) first -= 2;
    // Not part of a longer expression: `x().a(1) = ..`, `new A(1) = ..`, `o[k].a(1) = ..`.
    if (first > from) {
      const Token& before = t_[first - 1];
      if (before.text == "." || before.text == "?." || before.text == "new") return std::nullopt;
    }
    Target t;
    t.first = first;
    t.open = open;
    t.close = close;
    if (first == open - 1) {  // Session("key")
      t.object_end = open;
      t.member.clear();
    } else {  // Response.Cookies("name")
      t.object_end = open - 2;
      t.member = std::string(t_[open - 1].text);
    }
    return t;
  }

  // One past the last token of the assignment expression starting at `i`.
  size_t ValueEnd(size_t i, size_t to) const {
    int depth = 0;
    size_t k = i;
    for (; k < to; ++k) {
      const Token& t = t_[k];
      if (depth == 0 && k > i && t.newline_before && EndsExpression(t_[k - 1]) && StartsNewStatement(t)) break;
      if (t.kind == Kind::kPunct) {
        if (Opens(t.text)) ++depth;
        else if (Closes(t.text)) {
          if (depth == 0) break;
          --depth;
        } else if (depth == 0 && (t.text == ";" || t.text == ",")) {
          break;
        }
      }
    }
    return k;
  }

  std::string_view src_;
  const std::vector<Token>& t_;
};

}  // namespace

std::string RewriteKeyedAssignments(const std::string& program) {
  // Most pages have none (no `)` followed by a lone `=`): no tokenizing for them.
  bool candidate = false;
  for (size_t at = program.find(')'); at != std::string::npos && !candidate; at = program.find(')', at + 1)) {
    size_t k = program.find_first_not_of(" \t\r\n", at + 1);
    candidate = k != std::string::npos && program[k] == '=' && k + 1 < program.size() && program[k + 1] != '=' &&
                program[k + 1] != '>';
  }
  if (!candidate) return program;
  std::optional<std::vector<Token>> tokens = Tokenizer(program).Run();
  if (!tokens || tokens->empty()) return program;
  Rewriter r(program, *tokens);
  return r.Rewrite(0, tokens->size(), 0, program.size());
}

}  // namespace web
