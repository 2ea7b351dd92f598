#include "arenix/meet/registration_save.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "arenix/check/postcard.h"
#include "arenix/page/encode.h"
#include "arenix/page/error_page.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/connection.h"
#include "data/data.h"
#include "data/dbf/table.h"
#include "data/foxsql/fox_text.h"
#include "data/sql_text.h"
#include "data/write_lock.h"
#include "host/host.h"

namespace arenix::meet {
namespace {

using automation::LongToText;
using automation::ObjectCast;
using data::SqlText;

bool IsNothing(const Variant& v) { return v.IsNull() || v.IsEmpty(); }
double NumberOf(const Variant& v) { return IsNothing(v) ? 0 : automation::CDbl(v); }
Text TextOf(const Variant& v) { return IsNothing(v) ? Text() : automation::Trim(automation::CStr(v)); }

std::vector<RegistrationEvent> ReadEvents(Variant& conn, Variant& rs) {
  auto& set = ObjectCast<data::Recordset>(rs);
  set.Open(u"Select 参赛项目,限报人数,团体人数,集体项目 From [Item]", conn, data::kOpenKeyset, data::kLockReadOnly);
  std::vector<RegistrationEvent> events;
  for (; !set.Eof(); set.MoveNext()) {
    RegistrationEvent e;
    e.name = TextOf(set.Field(u"参赛项目"));
    e.limit = NumberOf(set.Field(u"限报人数"));
    e.team_size = NumberOf(set.Field(u"团体人数"));
    const Variant collective = set.Field(u"集体项目");
    e.collective = !IsNothing(collective) && automation::CBool(collective);
    events.push_back(std::move(e));
  }
  set.Close();
  return events;
}

// The message when another Ydybm row already holds the athlete's identity
// number, else the empty text. An empty number repeats nothing: rows not
// yet filled in all hold one.
Text IdentityTakenElsewhere(Variant& conn, Variant& rs, const RegisteredAthlete& a) {
  if (a.identity().empty()) return {};
  auto& set = ObjectCast<data::Recordset>(rs);
  set.Open(u"Select 运动员,年龄组,代表队 From [Ydybm] Where Alltrim(身份证号码)==" + SqlText(a.identity()) +
               u".And.Alltrim(ID)<>" + SqlText(a.id),
           conn, data::kOpenKeyset, data::kLockReadOnly);
  Text message;
  if (!set.Eof()) {
    message = u"运动员【" + a.name + u"】" + u"与[" + TextOf(set.Field(u"年龄组")) + u"][" +
              TextOf(set.Field(u"代表队")) + u"][" + TextOf(set.Field(u"运动员")) + u"]身份证号码重复，请重输！";
  }
  set.Close();
  return message;
}

// The delegation's rows of the age group as stored, by ID: name, sex,
// identity number and event slots, for counting the limits over what is
// stored and for telling a withdrawal from an unfilled row.
std::map<Text, RegisteredAthlete> StoredAthletes(Variant& conn, Variant& rs, const RegistrationForm& form,
                                                 int slots) {
  auto& set = ObjectCast<data::Recordset>(rs);
  set.Open(u"Select * From [Ydybm] Where AllTrim(代表队)==" + SqlText(form.team) + u" And AllTrim(年龄组)==" +
               SqlText(form.age),
           conn, data::kOpenKeyset, data::kLockReadOnly);
  std::set<Text> columns;
  for (int c = 0; c < set.FieldCount(); ++c) columns.insert(automation::Trim(set.FieldName(c)));
  std::map<Text, RegisteredAthlete> stored;
  for (; !set.Eof(); set.MoveNext()) {
    RegisteredAthlete a;
    a.id = TextOf(set.Field(u"ID"));
    a.name = TextOf(set.Field(u"运动员"));
    const Variant sex = set.Field(u"性别");
    a.men = !IsNothing(sex) && automation::CBool(sex);
    a.extra[3] = TextOf(set.Field(u"身份证号码"));
    for (int j = 1; j <= slots && j <= 40; ++j) {
      const Text column = u"参赛项目" + LongToText(j);
      a.slots.push_back(columns.count(column) ? TextOf(set.Field(column)) : Text());
    }
    stored.emplace(a.id, std::move(a));
  }
  set.Close();
  return stored;
}

// A posted row without a name that is no withdrawal (its stored row has no
// athlete either) but holds an identity number or an event: refused, so
// nothing typed is dropped unseen.
Text UnnamedRowWithEntries(const RegistrationForm& form, const std::map<Text, RegisteredAthlete>& stored) {
  for (size_t k = 0; k < form.athletes.size(); ++k) {
    const RegisteredAthlete& a = form.athletes[k];
    if (a.named()) continue;
    const auto it = stored.find(a.id);
    // A row of another delegation or none stores nothing; a stored
    // athlete's row is a withdrawal.
    if (it == stored.end() || it->second.named()) continue;
    const bool events = std::any_of(a.slots.begin(), a.slots.end(), [](const Text& v) { return !v.empty(); });
    if (!events && a.identity().empty()) continue;
    return u"第" + LongToText(static_cast<int64_t>(k + 1)) + u"行（编号" + a.id + u"）填写了" +
           (a.identity().empty() ? Text(u"参赛项目") : events ? Text(u"身份证号码和参赛项目") : Text(u"身份证号码")) +
           u"，但姓名为空；请填写姓名，不报名请清空该行，请重输！";
  }
  return {};
}

// What the limits count: the posted rows, and the delegation's stored
// athletes of the age group that the form does not list.
RegistrationForm CountedForm(const RegistrationForm& form, const std::map<Text, RegisteredAthlete>& stored) {
  RegistrationForm all = form;
  std::set<Text> posted;
  for (const RegisteredAthlete& a : form.athletes) posted.insert(a.id);
  for (const auto& [id, a] : stored)
    if (a.named() && !posted.count(id)) all.athletes.push_back(a);
  return all;
}

// The identity checks of every named athlete, before anything is stored.
Text FirstBrokenIdentity(Variant& conn, Variant& rs, const RegistrationForm& form,
                         const RegistrationSettings& settings) {
  if (!settings.Shown(4)) return {};
  auto [low, high] = settings.birthday_check == 1 ? BirthdayWindow(settings.birthday_min, settings.birthday_max)
                                                  : std::pair<Text, Text>{};
  for (const RegisteredAthlete& a : form.athletes) {
    if (!a.named()) continue;
    if (Text m = IdentityTakenElsewhere(conn, rs, a); !m.empty()) return m;
    Text problem;
    if (settings.birthday_check == 1)
      problem = check::CheckPostCard(a.identity(), settings.postcard_level, settings.postcard_age, low, high);
    else if (settings.postcard_level > 0)
      problem = check::CheckPostCard(a.identity(), settings.postcard_level, settings.postcard_age, u"", u"");
    if (!problem.empty()) return u"运动员【" + a.name + u"】" + problem;
  }
  return {};
}

// The width in bytes of Ydybm's name column, read from the table in the
// connection's folder; 0 (no limit known) when it cannot be read.
int NameColumnWidth(Variant& conn) {
  try {
    const Text folder = data::DataSourceOf(ObjectCast<data::Connection>(conn).ConnectionString());
    for (const auto& file : std::filesystem::directory_iterator(automation::ToUtf8(folder))) {
      if (automation::LCase(automation::FromUtf8(file.path().filename().string())) != u"ydybm.dbf") continue;
      const auto table = data::dbf::Table::Open(file.path().string(), data::dbf::Access::kRead);
      const int at = table->FieldIndex(u"运动员");
      return at < 0 ? 0 : table->fields()[static_cast<size_t>(at)].width;
    }
  } catch (const std::exception&) {
  }
  return 0;
}

// Names are stored whole and as typed: a name longer than its column, or
// one holding characters the meet's code page cannot hold (the browser
// posts those as "&#128512;"), is refused rather than cut or stored as
// entity text.
Text FirstBadName(const RegistrationForm& form, int width) {
  for (const RegisteredAthlete& a : form.athletes) {
    if (!a.named()) continue;
    const size_t entity = a.name.find(u"&#");
    if (entity != Text::npos) {
      const size_t end = a.name.find(u';', entity);
      const Text what = a.name.substr(entity, end == Text::npos ? Text::npos : end - entity + 1);
      return u"运动员【" + a.name + u"】姓名中的字符“" + what + u"”无法保存（超出本系统字符集），请改用其他写法，请重输！";
    }
    const int64_t bytes = data::foxsql::GbkLength(automation::ToUtf8(a.name));
    if (width > 0 && bytes > width)
      return u"运动员【" + a.name + u"】姓名长度为" + LongToText(bytes) + u"字节，超出了" + LongToText(width) +
             u"字节（" + LongToText(width / 2) + u"个汉字）的限制，请重输！";
  }
  return {};
}

// A withdrawal: the row keeps its place in the delegation's list and
// loses the athlete and everything entered for them.
Text WithdrawStatement(const RegistrationForm& form, const RegisteredAthlete& a, const RegistrationSettings& settings) {
  std::vector<Text> set = {u"运动员=''", u"分管教练=''", u"身份证号码=''"};
  for (int i = 1; i <= 3; ++i)
    if (settings.Shown(i)) set.push_back(u"附加字段" + LongToText(i) + u"=''");
  for (size_t j = 0; j < a.slots.size(); ++j) set.push_back(u"参赛项目" + LongToText(static_cast<int64_t>(j + 1)) + u"=''");
  return u"Update [Ydybm] Set " + automation::Join(set, u",") + u" Where AllTrim(代表队)==" + SqlText(form.team) +
         u" And AllTrim(年龄组)==" + SqlText(form.age) + u" And AllTrim(ID)==" + SqlText(a.id);
}

}  // namespace

Text StoreAthleteStatement(const RegistrationForm& form, const RegisteredAthlete& a,
                           const RegistrationSettings& settings) {
  std::vector<Text> set = {u"运动员=" + SqlText(a.name), Text(u"性别=") + (a.men ? u".T." : u".F.")};
  if (settings.store_coach == 1) set.push_back(u"分管教练=" + SqlText(a.coach));
  for (int i = 1; i <= 4; ++i) {
    if (!settings.Shown(i)) continue;
    const Text column = i == 4 ? Text(u"身份证号码") : u"附加字段" + LongToText(i);
    set.push_back(column + u"=" + SqlText(a.extra[static_cast<size_t>(i - 1)]));
  }
  for (size_t j = 0; j < a.slots.size(); ++j)
    set.push_back(u"参赛项目" + LongToText(static_cast<int64_t>(j + 1)) + u"=" + SqlText(a.slots[j]));
  return u"Update [Ydybm] Set " + automation::Join(set, u",") + u" Where AllTrim(代表队)==" + SqlText(form.team) +
         u" And AllTrim(年龄组)==" + SqlText(form.age) + u" And AllTrim(ID)==" + SqlText(a.id);
}

void SaveRegistration(Variant& request, Variant& response, Variant& conn, Variant& rs,
                      const RegistrationSettings& settings) {
  const RegistrationForm form = ReadRegistrationForm(ObjectCast<host::Request>(request), settings.Slots());
  // The delegation's athletes are stored together or not at all: a refusal
  // half-way through undoes the athletes stored before it.
  data::MeetWriteLock lock(conn);
  auto refuse = [&](Variant& record_set, const Text& message) {
    lock.RollBack();
    // The message quotes what was typed and what is stored (another row's
    // athlete name): text, never markup.
    page::WriteErrorPage(response, record_set, conn, page::HtmlEscape(message), false, u"");
  };

  // Every check runs before the first statement that writes.
  const std::map<Text, RegisteredAthlete> stored = StoredAthletes(conn, rs, form, settings.Slots());
  const RegistrationForm counted = CountedForm(form, stored);
  if (Text m = FirstBrokenFormRule(counted, settings); !m.empty()) return refuse(rs, m);
  if (Text m = FirstBrokenEventRule(counted, ReadEvents(conn, rs), settings); !m.empty()) return refuse(rs, m);
  if (Text m = UnnamedRowWithEntries(form, stored); !m.empty()) return refuse(rs, m);
  if (Text m = FirstBadName(form, NameColumnWidth(conn)); !m.empty()) return refuse(rs, m);
  Variant no_record_set;
  if (Text m = FirstBrokenIdentity(conn, rs, form, settings); !m.empty()) return refuse(no_record_set, m);

  auto& connection = ObjectCast<data::Connection>(conn);
  for (const RegisteredAthlete& a : form.athletes) {
    if (a.named()) {
      connection.Execute(StoreAthleteStatement(form, a, settings));
    } else if (const auto it = stored.find(a.id); it != stored.end() && it->second.named()) {
      connection.Execute(WithdrawStatement(form, a, settings));
    }
  }
  lock.Commit();
}

}  // namespace arenix::meet
