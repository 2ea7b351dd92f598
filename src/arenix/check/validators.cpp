#include "arenix/check/validators.h"

#include <cmath>

#include "arenix/check/refuse.h"
#include "automation/cp936.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "platform/regexp.h"

namespace arenix::check {

using automation::Trim;

namespace {

// Characters unsafe in names and SQL: the list, then space, '"' and tab.
constexpr TextView kUnsafeCharacters = u"=%?#&;,'+<>()-:\\*!/| \"\t";
constexpr TextView kEmailCharacters = u"abcdefghijklmnopqrstuvwxyz_-.";
// The blanks that may surround a number (those the coercions skip).
constexpr TextView kNumberBlanks = u" \t\r\n\u3000";

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// One part of an e-mail address: not empty, only the allowed characters,
// no "." at either end.
bool IsEmailPart(TextView part) {
  if (part.empty() || part.front() == u'.' || part.back() == u'.') return false;
  for (char16_t c : automation::LCase(part))
    if (!IsDigit(c) && kEmailCharacters.find(c) == TextView::npos) return false;
  return true;
}

}  // namespace

bool IsNumericText(TextView s) {
  size_t first = s.find_first_not_of(kNumberBlanks);
  if (first == TextView::npos || s[first] == u'&') return false;
  return automation::ParseNumber(s).has_value();
}

bool IsChinese(TextView s) {
  const Text t = Trim(s);
  if (t.empty()) return false;
  for (char16_t c : t)
    if (automation::GbkCodeValue(c) >= 0) return false;
  return true;
}

bool IsInteger(TextView s) {
  const Text t = Trim(s);
  if (t.empty()) return false;
  for (char16_t c : t)
    if (!IsDigit(c)) return false;
  return true;
}

bool IsNumeric(TextView s) {
  const Text t = Trim(s);
  return !t.empty() && IsNumericText(t);
}

bool IsTelephone(TextView s) {
  const Text t = Trim(s);
  if (t.size() <= 6) return false;
  for (char16_t c : t)
    if (!IsDigit(c) && c != u'-') return false;
  return true;
}

Text FirstUnsafeCharacter(TextView s) {
  for (char16_t c : Trim(s))
    if (kUnsafeCharacters.find(c) != TextView::npos) return Text(1, c);
  return Text();
}

bool IsEmail(TextView s) {
  const std::vector<Text> parts = automation::Split(s, u"@");
  if (parts.size() != 2) return false;
  if (!IsEmailPart(parts[0]) || !IsEmailPart(parts[1])) return false;
  const Text& domain = parts[1];
  const size_t dot = domain.rfind(u'.');
  if (dot == Text::npos) return false;
  const size_t ending = domain.size() - dot - 1;
  if (ending != 2 && ending != 3) return false;
  return s.find(u"..") == TextView::npos;
}

int16_t CheckIsID(Variant& response, TextView s, bool close_parent, TextView dialog_id) {
  if (IsNumeric(s)) {
    // The leading number ends at the first character that cannot go on
    // with it, so "1,234" is 1.
    return automation::CInt(Variant(std::floor(automation::Val(s))));
  }
  Refuse(response, kInvalidIdMessage, close_parent, dialog_id);
  return 0;
}

Text RangeMessage(int16_t min, int16_t max) {
  return u"范围无效。允许范围为" + automation::LongToText(min) + u"--" + automation::LongToText(max);
}

int16_t CheckIsRange(Variant& response, TextView s, int16_t min, int16_t max, bool close_parent,
                     TextView dialog_id) {
  const int16_t v = CheckIsID(response, s, close_parent, dialog_id);
  if (v < min || v > max) Refuse(response, RangeMessage(min, max), close_parent, dialog_id);
  return v;
}

bool IsObjInstalled(TextView prog_id) {
  try {
    return automation::CreateObject(prog_id) != nullptr;
  } catch (...) {
    return false;
  }
}

Text NetUserSystem(const host::Request& request) {
  const Text agent = automation::UCase(request.ServerVariable(u"http_user_agent"));
  auto has = [&](TextView part) { return agent.find(part) != Text::npos; };
  if (has(u"WINDOWS NT 5.2")) return u"Win 2003";
  if (has(u"WINDOWS NT 5.0")) return u"Win 2000";
  if (has(u"WINDOWS NT 5.1")) return u"Win XP";
  if (has(u"WINDOWS NT")) return u"Win Nt";
  if (has(u"WINDOWS 9")) return u"Win 9x";
  if (has(u"BSD") || has(u"SUNOS") || has(u"LINUX") || has(u"UNIX")) return u"类Unix";
  if (has(u"MAC")) return u"Mac";
  return u"其它";
}

Text NetUserBrowser(const host::Request& request) {
  const Text agent = automation::UCase(request.ServerVariable(u"http_user_agent"));
  return agent.find(u"MSIE") != Text::npos ? u"IE" : u"其它";
}

Variant CheckReg(const Variant& pattern, TextView s) {
  platform::RegExp re(automation::CStr(pattern));
  re.SetIgnoreCase(true);
  re.SetGlobal(true);
  return Variant(re.Test(s));
}

Variant CheckIsEmpty(TextView s) { return CheckReg(Variant(Text(u"^$")), Trim(s)); }

}  // namespace arenix::check
