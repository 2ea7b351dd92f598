#include "platform/regexp.h"

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

#include "automation/coerce.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "platform/regexp_dialect.h"
#include "platform/regexp_matches.h"

namespace platform {

using automation::Error;
namespace err = automation::err;

namespace {

Text PcreMessage(int code) {
  PCRE2_UCHAR16 buffer[256];
  int n = pcre2_get_error_message(code, buffer, sizeof buffer / sizeof buffer[0]);
  if (n < 0) return u"error " + automation::FromAscii(std::to_string(code));
  return Text(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n));
}

PCRE2_SPTR16 Units(TextView s) {
  // PCRE2 wants a pointer even for an empty subject.
  static const char16_t kEmpty[1] = {0};
  return reinterpret_cast<PCRE2_SPTR16>(s.empty() ? kEmpty : s.data());
}

}  // namespace

struct RegExp::Compiled {
  pcre2_code* code = nullptr;
  pcre2_match_data* match = nullptr;
  uint32_t groups = 0;

  Compiled() = default;
  Compiled(const Compiled&) = delete;
  Compiled& operator=(const Compiled&) = delete;
  ~Compiled() {
    pcre2_match_data_free(match);
    pcre2_code_free(code);
  }
};

RegExp::RegExp() = default;
RegExp::RegExp(TextView pattern) : pattern_(pattern) {}
RegExp::~RegExp() = default;

void RegExp::SetPattern(TextView pattern) {
  if (pattern == pattern_) return;
  pattern_ = Text(pattern);
  compiled_.reset();
}

void RegExp::SetIgnoreCase(bool on) {
  if (on == ignore_case_) return;
  ignore_case_ = on;
  compiled_.reset();
}

void RegExp::SetMultiline(bool on) {
  if (on == multiline_) return;
  multiline_ = on;
  compiled_.reset();
}

RegExp::Compiled& RegExp::compiled() {
  if (compiled_) return *compiled_;
  Text translated = TranslatePattern(pattern_);

  // Non-UTF mode: every unit is a character. UCP brings Unicode casing for
  // IgnoreCase; the dialect's ASCII classes are spelt out by the
  // translation, so nothing else depends on it.
  uint32_t options = PCRE2_UCP | PCRE2_NEVER_UTF | PCRE2_MATCH_UNSET_BACKREF;
  options |= multiline_ ? PCRE2_MULTILINE : PCRE2_DOLLAR_ENDONLY;
  if (ignore_case_) options |= PCRE2_CASELESS;

  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  if (!context) throw Error(err::kOutOfMemory);
  pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
  int error_code = 0;
  PCRE2_SIZE error_offset = 0;
  pcre2_code* code = pcre2_compile(Units(translated), translated.size(), options, &error_code,
                                   &error_offset, context);
  pcre2_compile_context_free(context);
  if (!code) throw Error(err::kRegExpSyntax, PcreMessage(error_code));

  auto c = std::make_unique<Compiled>();
  c->code = code;
  c->match = pcre2_match_data_create_from_pattern(code, nullptr);
  if (!c->match) throw Error(err::kOutOfMemory);
  pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &c->groups);
  compiled_ = std::move(c);
  return *compiled_;
}

bool RegExp::MatchAt(TextView source, size_t from, std::vector<Span>& groups) {
  Compiled& c = compiled();
  int rc = pcre2_match(c.code, Units(source), source.size(), from, 0, c.match, nullptr);
  if (rc == PCRE2_ERROR_NOMATCH) return false;
  if (rc < 0) {
    // The match or heap limit: a pattern that backtracks without end.
    throw Error(err::kOutOfMemory, PcreMessage(rc));
  }
  const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(c.match);
  groups.resize(c.groups + 1);
  for (uint32_t g = 0; g <= c.groups; ++g) {
    if (g < static_cast<uint32_t>(rc) && ov[2 * g] != PCRE2_UNSET)
      groups[g] = {ov[2 * g], ov[2 * g + 1]};
    else
      groups[g] = {PCRE2_UNSET, PCRE2_UNSET};
  }
  return true;
}

template <class F>
void RegExp::ForEachMatch(TextView source, F&& each) {
  std::vector<Span> groups;
  size_t from = 0;
  while (from <= source.size() && MatchAt(source, from, groups)) {
    each(groups);
    if (!global_) break;
    // After an empty match the search goes on one unit further, as the
    // script engines' lastIndex does.
    from = groups[0].end == groups[0].start ? groups[0].end + 1 : groups[0].end;
  }
}

bool RegExp::Test(TextView source) {
  std::vector<Span> groups;
  return MatchAt(source, 0, groups);
}

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

Text RegExp::Replace(TextView source, TextView replacement) {
  Text out;
  size_t copied = 0;
  ForEachMatch(source, [&](const std::vector<Span>& g) {
    const Span whole = g[0];
    const size_t count = g.size() - 1;
    auto group_text = [&](size_t n) {
      if (g[n].start == PCRE2_UNSET) return;
      out.append(source.substr(g[n].start, g[n].end - g[n].start));
    };
    out.append(source.substr(copied, whole.start - copied));
    for (size_t i = 0; i < replacement.size(); ++i) {
      char16_t c = replacement[i];
      if (c != u'$' || i + 1 >= replacement.size()) {
        out.push_back(c);
        continue;
      }
      char16_t d = replacement[i + 1];
      if (d == u'$') {
        out.push_back(u'$');
        ++i;
      } else if (d == u'&') {
        group_text(0);
        ++i;
      } else if (d == u'`') {
        out.append(source.substr(0, whole.start));
        ++i;
      } else if (d == u'\'') {
        out.append(source.substr(whole.end));
        ++i;
      } else if (IsDigit(d)) {
        // "$nn" when that group exists, else "$n", else the text as written.
        size_t one = d - u'0';
        if (i + 2 < replacement.size() && IsDigit(replacement[i + 2])) {
          size_t two = one * 10 + (replacement[i + 2] - u'0');
          if (two >= 1 && two <= count) {
            group_text(two);
            i += 2;
            continue;
          }
        }
        if (one >= 1 && one <= count) {
          group_text(one);
          ++i;
        } else {
          out.push_back(u'$');
        }
      } else {
        out.push_back(u'$');
      }
    }
    copied = whole.end;
  });
  out.append(source.substr(copied));
  return out;
}

std::vector<RegExpMatch> RegExp::Execute(TextView source) {
  std::vector<RegExpMatch> matches;
  ForEachMatch(source, [&](const std::vector<Span>& g) {
    RegExpMatch m;
    m.first_index = static_cast<int32_t>(g[0].start);
    m.length = static_cast<int32_t>(g[0].end - g[0].start);
    m.value = Text(source.substr(g[0].start, g[0].end - g[0].start));
    for (size_t n = 1; n < g.size(); ++n) {
      if (g[n].start == PCRE2_UNSET)
        m.submatches.emplace_back();
      else
        m.submatches.emplace_back(Text(source.substr(g[n].start, g[n].end - g[n].start)));
    }
    matches.push_back(std::move(m));
  });
  return matches;
}

namespace {
enum Member { kPattern, kIgnoreCase, kGlobal, kMultiline, kTest, kReplace, kExecute };
using automation::kGetPut;
using automation::kMethod;
const automation::MemberTable kMembers{
    {u"Pattern", kPattern, kGetPut, 0, 0},     {u"IgnoreCase", kIgnoreCase, kGetPut, 0, 0},
    {u"Global", kGlobal, kGetPut, 0, 0},       {u"Multiline", kMultiline, kGetPut, 0, 0},
    {u"Test", kTest, kMethod, 1, 1},           {u"Replace", kReplace, kMethod, 2, 2},
    {u"Execute", kExecute, kMethod, 1, 1},
};
}  // namespace

const automation::MemberTable* RegExp::Members() const { return &kMembers; }

Variant RegExp::Invoke(TextView name, automation::InvokeKind kind,
                       std::span<Variant* const> args) {
  const int id = kMembers.Resolve(name, kind, args.size());
  if (kind == automation::InvokeKind::PropertyPut) {
    const Variant& v = *args.back();
    switch (id) {
      case kPattern: SetPattern(automation::CStr(v)); break;
      case kIgnoreCase: SetIgnoreCase(automation::CBool(v)); break;
      case kGlobal: SetGlobal(automation::CBool(v)); break;
      case kMultiline: SetMultiline(automation::CBool(v)); break;
    }
    return Variant();
  }
  switch (id) {
    case kPattern: return Variant(pattern_);
    case kIgnoreCase: return Variant(ignore_case_);
    case kGlobal: return Variant(global_);
    case kMultiline: return Variant(multiline_);
    case kTest: return Test(automation::CStr(*args[0]));
    case kReplace: return Replace(automation::CStr(*args[0]), automation::CStr(*args[1]));
    case kExecute: return Variant(MakeMatchCollection(Execute(automation::CStr(*args[0]))));
  }
  automation::ThrowNoSuchMember(name);
}

void RegisterRegExpClass() {
  automation::RegisterClass(u"VBScript.RegExp", [] { return std::make_shared<RegExp>(); });
}

}  // namespace platform
