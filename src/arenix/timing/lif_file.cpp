#include "arenix/timing/lif_file.h"

#include <cmath>
#include <string>

#include "automation/cp936.h"
#include "automation/runtime.h"

namespace arenix::timing {

namespace {

using automation::Trim;

Text Number(int64_t n) { return automation::FromAscii(std::to_string(n)); }

// Blanks and tabs both pad the camera's columns.
Text Clean(TextView s) {
  size_t a = 0, b = s.size();
  while (a < b && (s[a] == u' ' || s[a] == u'\t' || s[a] == u'\r' || s[a] == 0xFEFF)) ++a;
  while (b > a && (s[b - 1] == u' ' || s[b - 1] == u'\t' || s[b - 1] == u'\r')) --b;
  return Text(s.substr(a, b - a));
}

// The fields of one line: commas separate, a field in double quotes may
// hold commas, and a doubled quote inside it is one quote.
std::vector<Text> Fields(TextView line) {
  std::vector<Text> out;
  Text field;
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char16_t c = line[i];
    if (quoted) {
      if (c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
        field += u'"';
        ++i;
      } else if (c == u'"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == u'"') {
      quoted = true;
    } else if (c == u',') {
      out.push_back(Clean(field));
      field.clear();
    } else {
      field += c;
    }
  }
  out.push_back(Clean(field));
  return out;
}

// A whole number of at most six digits, nothing else.
std::optional<int> WholeNumber(TextView s) {
  if (s.empty() || s.size() > 6) return std::nullopt;
  int n = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return std::nullopt;
    n = n * 10 + (c - u'0');
  }
  return n;
}

std::optional<double> WindValue(TextView s) {
  Text t = Clean(s);
  // "+1.2", "-0.5", "1.2 m/s"
  for (const char16_t* unit : {u"m/s", u"M/S"})
    if (t.size() > 3 && t.ends_with(unit)) t = Clean(TextView(t).substr(0, t.size() - 3));
  if (t.empty() || t.size() > 8) return std::nullopt;
  size_t i = (t[0] == u'+' || t[0] == u'-') ? 1 : 0;
  bool digit = false, dot = false;
  for (size_t k = i; k < t.size(); ++k) {
    if (t[k] >= u'0' && t[k] <= u'9') digit = true;
    else if (t[k] == u'.' && !dot) dot = true;
    else return std::nullopt;
  }
  if (!digit) return std::nullopt;
  return std::stod(automation::ToUtf8(t));
}

Text LineRef(int line) { return u"第 " + Number(line) + u" 行"; }

}  // namespace

Text StatusCode(LifStatus status) {
  switch (status) {
    case LifStatus::kDidNotStart: return u"DNS";
    case LifStatus::kDidNotFinish: return u"DNF";
    case LifStatus::kDisqualified: return u"DQ";
    case LifStatus::kFinished: break;
  }
  return {};
}

int64_t HundredthsOf(int64_t thousandths) { return (thousandths + 9) / 10; }

std::optional<int64_t> ParseTimeThousandths(TextView text) {
  const Text t = Clean(text);
  if (t.empty() || t.size() > 16) return std::nullopt;
  // Up to three parts before the seconds' decimals: h:mm:ss, m:ss, s.
  std::vector<Text> parts = automation::Split(t, u":");
  if (parts.size() > 3) return std::nullopt;
  Text last = parts.back();
  Text fraction;
  if (size_t dot = last.find(u'.'); dot != Text::npos) {
    fraction = last.substr(dot + 1);
    last.resize(dot);
    if (fraction.empty() || fraction.size() > 3) return std::nullopt;
    for (char16_t c : fraction)
      if (c < u'0' || c > u'9') return std::nullopt;
  }
  parts.back() = last;
  int64_t total = 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    const auto v = WholeNumber(parts[i]);
    if (!v) return std::nullopt;
    // Below a larger unit, minutes and seconds stay under 60.
    if (i > 0 && *v >= 60) return std::nullopt;
    total = total * 60 + *v;
  }
  while (fraction.size() < 3) fraction += u'0';
  return total * 1000 + *WholeNumber(fraction);
}

Text DecodeTimingBytes(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return automation::FromUtf8(bytes.substr(3));
  // Camera software writes either; GBK text is hardly ever valid UTF-8.
  bool valid = true;
  for (size_t i = 0; i < bytes.size() && valid;) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    const int more = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (more < 0 || i + more >= bytes.size() + (more == 0 ? 1 : 0)) {
      valid = false;
      break;
    }
    for (int k = 1; k <= more; ++k)
      if ((static_cast<unsigned char>(bytes[i + k]) >> 6) != 0x2) valid = false;
    i += more + 1;
  }
  return valid ? automation::FromUtf8(bytes) : automation::FromGbk(bytes);
}

LifParse ParseLif(TextView text) {
  LifParse out;
  const std::vector<Text> lines = automation::Split(Text(text), u"\n");
  LifFile file;
  bool have_header = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    if (Clean(lines[i]).empty()) continue;
    std::vector<Text> f = Fields(lines[i]);
    if (!have_header) {
      if (f.size() < 4) {
        out.error = u"不是计时结果文件（.lif）：" + LineRef(n) + u"应为“项目号,轮次,组次,项目名称,风速”";
        return out;
      }
      const auto event = WholeNumber(f[0]), round = WholeNumber(f[1]), heat = WholeNumber(f[2]);
      if (!event || !round || !heat || *event == 0 || *round == 0 || *heat == 0) {
        out.error = u"不是计时结果文件（.lif）：" + LineRef(n) + u"的项目号、轮次和组次应为正整数";
        return out;
      }
      file.header.event = *event;
      file.header.round = *round;
      file.header.heat = *heat;
      file.header.name = f[3];
      if (f.size() > 4) {
        file.header.wind = f[4];
        file.header.wind_mps = WindValue(f[4]);
      }
      have_header = true;
      continue;
    }
    if (f.size() < 7) {
      out.error = LineRef(n) + u"只有 " + Number(static_cast<int64_t>(f.size())) +
                  u" 列，运动员行应为“名次,编号,道次,姓,名,单位,成绩”";
      return out;
    }
    LifAthlete a;
    a.line = n;
    const Text place = automation::AsciiLower(f[0]);
    if (place == u"dns") a.status = LifStatus::kDidNotStart;
    else if (place == u"dnf") a.status = LifStatus::kDidNotFinish;
    else if (place == u"dq" || place == u"dsq") a.status = LifStatus::kDisqualified;
    else if (!place.empty()) {
      const auto p = WholeNumber(place);
      if (!p) {
        out.error = LineRef(n) + u"的名次“" + f[0] + u"”不是数字，也不是 DNS、DNF 或 DQ";
        return out;
      }
      a.place = *p;
    }
    a.id = f[1];
    if (!f[2].empty()) {
      const auto lane = WholeNumber(f[2]);
      if (!lane) {
        out.error = LineRef(n) + u"的道次“" + f[2] + u"”不是数字";
        return out;
      }
      a.lane = *lane;
    }
    a.last_name = f[3];
    a.first_name = f[4];
    a.affiliation = f[5];
    a.time_text = f[6];
    if (!a.time_text.empty() && a.status != LifStatus::kDidNotStart) {
      a.thousandths = ParseTimeThousandths(a.time_text);
      // A disqualified or unfinished athlete's time is only kept for the
      // record; a bad one there does not spoil the file.
      if (!a.thousandths && a.status == LifStatus::kFinished) {
        out.error = LineRef(n) + u"的成绩“" + a.time_text + u"”不是时间（秒，可带分、时和三位小数）";
        return out;
      }
    }
    if (a.status == LifStatus::kFinished && !a.thousandths) {
      out.error = LineRef(n) + u"没有成绩，也没有标明 DNS、DNF 或 DQ";
      return out;
    }
    file.athletes.push_back(std::move(a));
  }
  if (!have_header) {
    out.error = u"不是计时结果文件（.lif）：文件是空的";
    return out;
  }
  out.file = std::move(file);
  return out;
}

}  // namespace arenix::timing
