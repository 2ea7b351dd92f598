#include "arenix/meet/registration_save.h"

#include "arenix/check/postcard.h"
#include "arenix/page/error_page.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "data/data.h"
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

}  // namespace

Text StoreAthleteStatement(const RegistrationForm& form, const RegisteredAthlete& a,
                           const RegistrationSettings& settings) {
  std::vector<Text> set = {u"运动员=" + SqlText(a.name)};
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
    page::WriteErrorPage(response, record_set, conn, message, false, u"");
  };

  if (Text m = FirstBrokenFormRule(form, settings); !m.empty()) return refuse(rs, m);
  if (Text m = FirstBrokenEventRule(form, ReadEvents(conn, rs), settings); !m.empty()) return refuse(rs, m);

  auto [low, high] = settings.birthday_check == 1 ? BirthdayWindow(settings.birthday_min, settings.birthday_max)
                                                  : std::pair<Text, Text>{};
  Variant no_record_set;
  auto& connection = ObjectCast<data::Connection>(conn);
  for (const RegisteredAthlete& a : form.athletes) {
    if (!a.named()) continue;
    if (settings.Shown(4)) {
      if (Text m = IdentityTakenElsewhere(conn, rs, a); !m.empty()) return refuse(no_record_set, m);
      Text problem;
      if (settings.birthday_check == 1)
        problem = check::CheckPostCard(a.identity(), settings.postcard_level, settings.postcard_age, low, high);
      else if (settings.postcard_level > 0)
        problem = check::CheckPostCard(a.identity(), settings.postcard_level, settings.postcard_age, u"", u"");
      if (!problem.empty()) return refuse(no_record_set, u"运动员【" + a.name + u"】" + problem);
    }
    connection.Execute(StoreAthleteStatement(form, a, settings));
  }
  lock.Commit();
}

}  // namespace arenix::meet
