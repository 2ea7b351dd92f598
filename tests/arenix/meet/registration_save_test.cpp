// Saving a delegation's registration form on real tables: every rule
// refusing with its exact message and storing nothing, the stores of a
// valid form (read back through the engine and through python3-dbf), the
// identity checks that refuse the whole form, and the form's edge cases.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <functional>
#include <map>

#include "arenix/check/page.h"
#include "arenix/check/postcard.h"
#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/registration_save.h"
#include "data/sql_text.h"
#include "tables_meet_folder.h"

namespace arenix::meet {
namespace {

using automation::CStr;
using automation::RTrim;
using check::testing::Page;
using testing::TablesFolder;

// An 18-character identity number of a man born on `birth` (yyyymmdd) with
// its check character.
Text IdentityNumber(const char16_t* birth, const char16_t* sequence = u"011") {
  Text body = u"110105" + Text(birth) + sequence;
  return body + check::PostcardCheckCharacter(body);
}

struct Athlete {
  Athlete(Text id, Text name, bool men = true, std::vector<Text> slots = {}, Text identity = {}, Text extra1 = {},
          Text extra2 = {}, Text extra3 = {}, Text coach = {})
      : id(std::move(id)), name(std::move(name)), men(men), slots(std::move(slots)), identity(std::move(identity)),
        extra1(std::move(extra1)), extra2(std::move(extra2)), extra3(std::move(extra3)), coach(std::move(coach)) {}
  Text id, name;
  bool men;
  std::vector<Text> slots;
  Text identity;
  Text extra1, extra2, extra3, coach;
};

class RegistrationSave : public ::testing::Test {
 public:  // the rule cases below change the form through lambdas
  RegistrationSave() : db_({"Item", "Ydybm"}) {
    const char16_t* items[] = {
        u"'100米', '径赛', 2, 1, .F.",        u"'跳远', '田赛', 2, 1, .F.",
        u"'4×100米接力', '径赛', 4, 4, .F.",  // one team entry: 限报人数 = 团体人数
        u"'4×400米接力', '径赛', 8, 4, .F.",  // two team entries, _A and _B
        u"'4×100米混合接力', '径赛', 4, 4, .F.", u"'四项全能', '全能', 1, 1, .F.",
        u"'集体舞', '田赛', 20, 8, .T.",
    };
    for (const char16_t* i : items)
      db_.Exec(u"Insert Into Item (参赛项目, 径赛田赛, 限报人数, 团体人数, 集体项目) Values (" + Text(i) + u")");
    for (const char16_t* id : {u"A1", u"A2", u"A3", u"A4", u"A5", u"A6", u"A7", u"A8"})
      db_.Exec(u"Insert Into Ydybm (ID, 年龄组, 代表队) Values ('" + Text(id) + u"', '甲组', '一中')");
    db_.Exec(u"Insert Into Ydybm (ID, 运动员, 年龄组, 代表队, 身份证号码) Values ('B1', '钱七', '甲组', '二中', '" +
             IdentityNumber(u"20080707", u"031") + u"')");

    SetUpForm();
  }

  // The base settings and a valid form: four men in the relay, a woman in
  // the combined event, an unnamed row.
  void SetUpForm() {
    settings_ = RegistrationSettings();
    settings_.most_athletes = 20;
    settings_.most_per_event = 2;
    settings_.counted_slots = 3;
    settings_.further_slots = 2;
    settings_.shown_fields = u"1111";
    settings_.postcard_level = 4;
    settings_.store_coach = 1;
    settings_.combined_alone = 1;
    settings_.limit_from_item = 1;

    form_ = {
        {u"A1", u"张三", true, {u"100米", u"跳远", u"4×100米接力"}, IdentityNumber(u"20080101"), u"高一", u"汉族", u"", u"王教练"},
        {u"A2", u"李四", true, {u"100米", u"4×100米接力"}, IdentityNumber(u"20080202")},
        {u"A3", u"王五", true, {u"4×100米接力"}, IdentityNumber(u"20080303")},
        {u"A4", u"赵六", true, {u"4×100米接力", u"", u"跳远"}, IdentityNumber(u"20080404")},
        {u"A5", u"孙丽", false, {u"四项全能"}, IdentityNumber(u"20080505", u"022")},
        {u"A6", u"", true, {}, u""},  // an empty row: neither counted nor stored
    };
  }

  Athlete& athlete(const char16_t* id) {
    for (Athlete& a : form_)
      if (a.id == id) return a;
    throw std::runtime_error("no athlete");
  }

  // Posts the form and saves it as the page would.
  void Save() {
    page_ = Page();
    Text list = u"0";
    for (const Athlete& a : form_) {
      list += u"|" + a.id;
      page_.request->AddForm(u"ydy_xm_" + a.id, a.name);
      page_.request->AddForm(u"ydy_xb_" + a.id, a.men ? u"True" : u"False");
      const Text extra[] = {a.extra1, a.extra2, a.extra3, a.identity};
      for (int i = 1; i <= 4; ++i)
        page_.request->AddForm(u"ydy_fjzd_" + a.id + u"_" + automation::LongToText(i), extra[i - 1]);
      for (size_t j = 0; j < a.slots.size(); ++j)
        page_.request->AddForm(u"ydy_csxm_" + a.id + u"_" + automation::LongToText(static_cast<int64_t>(j + 1)),
                               a.slots[j]);
      page_.request->AddForm(u"ydy_fgjl_" + a.id, a.coach);
    }
    page_.request->AddForm(u"ydy_bh_list", list);
    page_.request->AddForm(u"ydy_age", u"甲组");
    page_.request->AddForm(u"ydy_team", u"一中");
    rs_ = TablesFolder::NewRecordset();
    SaveRegistration(page_.Request, page_.Response, db_.conn, rs_, settings_);
  }

  // The names stored in 一中's rows, by ID (a fresh connection when the
  // error page closed the page's).
  std::map<Text, Text> Names() {
    if (auto* c = automation::ObjectTryCast<data::Connection>(db_.conn); !c || !c->IsOpen()) db_.Reopen();
    std::map<Text, Text> names;
    for (auto& r : db_.Query(u"Select ID, 运动员 From Ydybm Where AllTrim(代表队)=='一中'"))
      names[RTrim(CStr(r[0]))] = RTrim(CStr(r[1]));
    return names;
  }

  Text StoredNames() {
    Text out;
    for (auto& [id, name] : Names())
      if (!name.empty()) out += id + u":" + name + u" ";
    return out;
  }

  void ExpectRefused(const Text& message) {
    page_.ExpectRefused(message);
    EXPECT_EQ(StoredNames(), u"") << "a refused form stores nothing";
  }

  TablesFolder db_;
  RegistrationSettings settings_;
  std::vector<Athlete> form_;
  Page page_;
  Variant rs_;
};

TEST_F(RegistrationSave, ValidFormStoresEveryColumn) {
  athlete(u"A1").slots.push_back(u"4×400米接力_A");  // a further slot
  athlete(u"A1").slots.push_back(u"");
  Save();
  page_.ExpectAccepted();
  EXPECT_EQ(StoredNames(), u"A1:张三 A2:李四 A3:王五 A4:赵六 A5:孙丽 ");
  auto row = db_.Query(u"Select 运动员, 分管教练, 附加字段1, 附加字段2, 附加字段3, 身份证号码, 参赛项目1, 参赛项目2, "
                       u"参赛项目3, 参赛项目4, 参赛项目5, 性别 From Ydybm Where ID=='A1'")[0];
  const Text want[] = {u"张三", u"王教练", u"高一", u"汉族", u"", IdentityNumber(u"20080101"), u"100米", u"跳远",
                       u"4×100米接力", u"4×400米接力_A", u""};
  for (size_t i = 0; i < std::size(want); ++i) EXPECT_EQ(RTrim(CStr(row[i])), want[i]) << i;
  EXPECT_EQ(row[11], Variant(true));  // the sex chosen is stored

  // The same columns as another reader of the meet's tables sees them.
  std::string cmd = "/usr/bin/python3 '" ARENIX_SOURCE_DIR "/tests/data/dbf/pydbf_tool.py' dump '" + db_.path() +
                    "/Ydybm.dbf'";
  FILE* p = ::popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  std::string out;
  char buf[4096];
  while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
  ASSERT_EQ(::pclose(p), 0) << out;
  auto first = nlohmann::json::parse(out.substr(0, out.find('\n')));
  std::vector<std::string> values;
  for (auto& v : first["values"]) values.push_back(v.is_string() ? v.get<std::string>() : v.dump());
  auto trim = [](std::string s) { return s.erase(s.find_last_not_of(' ') + 1); };
  EXPECT_EQ(trim(values[0]), "A1");
  EXPECT_EQ(trim(values[1]), "张三");
  EXPECT_EQ(trim(values[6]), automation::ToUtf8(IdentityNumber(u"20080101")));
  EXPECT_EQ(trim(values[7]), "王教练");
  EXPECT_EQ(trim(values[8]), "高一");
  EXPECT_EQ(trim(values[11]), "100米");
  EXPECT_EQ(trim(values[14]), "4×400米接力_A");
}

TEST_F(RegistrationSave, EveryRuleRefusesWithItsMessageAndStoresNothing) {
  const Text a2 = IdentityNumber(u"20080202");
  struct Case {
    const char* what;
    std::function<void(RegistrationSave&)> change;
    Text message;
  } cases[] = {
      {"athletes", [](auto& t) { t.settings_.most_athletes = 4; }, u"运动员总数不能超过4人，请重输！"},
      {"no athletes allowed", [](auto& t) { t.settings_.most_athletes = 0; }, u"运动员总数不能超过0人，请重输！"},
      {"identity twice, once unnamed", [&](auto& t) { t.athlete(u"A6").identity = a2; },
       u"身份证号码〖" + a2 + u"〗有重复，[李四]--[]，请重输！"},
      {"event twice", [](auto& t) { t.athlete(u"A1").slots = {u"100米", u"跳远", u"100米"}; },
       u"运动员〖张三〗有重复的参赛项目【100米】，请重输！"},
      {"event twice in two teams", [](auto& t) { t.athlete(u"A2").slots = {u"4×400米接力_A", u"4×400米接力_B"}; },
       u"运动员〖李四〗有重复的参赛项目【4×400米接力】，请重输！"},
      {"event twice in a further slot",
       [](auto& t) { t.athlete(u"A3").slots = {u"4×100米接力", u"", u"", u"", u"4×100米接力"}; },
       u"运动员〖王五〗有重复的参赛项目【4×100米接力】，请重输！"},
      {"combined with another", [](auto& t) { t.athlete(u"A5").slots = {u"四项全能", u"", u"", u"跳远"}; },
       u"运动员〖孙丽〗有全能兼报项目，请重输！"},
      {"men per event", [](auto& t) { t.athlete(u"A3").slots.push_back(u"100米"); },
       u"男子参赛项目【100米】不能超过2人，请重输！"},
      {"men per event, meet-wide limit",
       [](auto& t) {
         t.settings_.limit_from_item = 0;
         t.settings_.most_per_event = 1;
       },
       u"男子参赛项目【100米】不能超过1人，请重输！"},
      {"women per event", [](auto& t) { t.form_.push_back({u"A7", u"周敏", false, {u"四项全能"}, IdentityNumber(u"20080606", u"042")}); },
       u"女子参赛项目【四项全能】不能超过1人，请重输！"},
      {"relay short", [](auto& t) { t.athlete(u"A4").slots = {u"跳远"}; },
       u"男子参赛项目【4×100米接力】参赛人数应为4，请重输！"},
      {"team letters count per entry",
       [](auto& t) {
         t.athlete(u"A3").slots = {u"4×100米接力", u"4×400米接力_A"};
         t.athlete(u"A4").slots = {u"4×100米接力", u"4×400米接力_B"};
       },
       u"男子参赛项目【4×400米接力_A】参赛人数应为4，请重输！"},
      {"mixed relay", [](auto& t) { t.athlete(u"A2").slots.push_back(u"4×100米混合接力"); },
       u"混合参赛项目【4×100米混合接力】参赛人数应为4，请重输！"},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetUpForm();
    c.change(*this);
    Save();
    ExpectRefused(c.message);
  }
}

TEST_F(RegistrationSave, TeamEntriesCountPerLetterAndFurtherSlotsDoNotCount) {
  // Eight men: the two teams of 4×400米接力 by their letters.
  form_.clear();
  const char16_t* names[] = {u"甲", u"乙", u"丙", u"丁", u"戊", u"己", u"庚", u"辛"};
  for (int k = 0; k < 8; ++k) {
    Text id = u"A" + automation::LongToText(k + 1);
    form_.push_back({id, names[k], true, {u"4×400米接力_B", u"", u"", u"", u""},
                     IdentityNumber(u"20080101", automation::FromAscii(std::to_string(101 + 2 * k)).c_str())});
  }
  form_[0].slots[0] = u"4×400米接力_A";
  settings_.most_athletes = 8;
  Save();
  ExpectRefused(u"男子参赛项目【4×400米接力_A】参赛人数应为4，请重输！");  // A 1, B 7

  for (int k = 1; k < 4; ++k) form_[static_cast<size_t>(k)].slots[0] = u"4×400米接力_A";
  // Further slots are stored but never counted: three men in 100米 there.
  for (int k = 0; k < 3; ++k) form_[static_cast<size_t>(k)].slots[3] = u"100米";
  // 4×100米接力's limit is one team: a value with a letter matches no
  // entry, so one runner there breaks no team size.
  form_[0].slots[1] = u"4×100米接力_A";
  Save();
  page_.ExpectAccepted();
  EXPECT_EQ(StoredNames(), u"A1:甲 A2:乙 A3:丙 A4:丁 A5:戊 A6:己 A7:庚 A8:辛 ");
  auto row = db_.Query(u"Select 参赛项目1, 参赛项目2, 参赛项目4 From Ydybm Where ID=='A1'")[0];
  EXPECT_EQ(RTrim(CStr(row[0])), u"4×400米接力_A");
  EXPECT_EQ(RTrim(CStr(row[1])), u"4×100米接力_A");
  EXPECT_EQ(RTrim(CStr(row[2])), u"100米");
}

TEST_F(RegistrationSave, CombinedEventsWithOthersWhenTheMeetAllowsIt) {
  athlete(u"A5").slots = {u"四项全能", u"跳远"};
  settings_.combined_with_others = 1;
  athlete(u"A4").slots = {u"4×100米接力"};
  Save();
  page_.ExpectAccepted();
  settings_.combined_with_others = 0;
  settings_.combined_alone = 0;
  Save();
  page_.ExpectAccepted();
}

TEST_F(RegistrationSave, ValuesAreStoredAsTyped) {
  athlete(u"A1").name = u"O'Neil";
  athlete(u"A1").extra1 = u"x', 运动员='hacked";
  athlete(u"A2").name = u"欧阳" + Text(8, u'长');  // exactly the column's 20 bytes
  settings_.postcard_level = 0;
  Save();
  page_.ExpectAccepted();
  EXPECT_EQ(Names()[u"A1"], u"O'Neil");
  EXPECT_EQ(RTrim(CStr(db_.Value(u"Select 附加字段1 From Ydybm Where ID=='A1'"))), u"x', 运动员='hacked");
  EXPECT_EQ(Names()[u"A2"], u"欧阳" + Text(8, u'长'));  // 20 bytes of code page 936
  EXPECT_EQ(Names()[u"A3"], u"王五");
}

TEST_F(RegistrationSave, IdentityChecksRefuseTheWholeForm) {
  // Another delegation's athlete holds A3's number: nobody is stored.
  athlete(u"A3").identity = IdentityNumber(u"20080707", u"031");
  Save();
  page_.ExpectRefused(u"运动员【王五】与[甲组][二中][钱七]身份证号码重复，请重输！");
  EXPECT_EQ(StoredNames(), u"");

  // The number's own checks, at the meet's level.
  athlete(u"A3").identity = IdentityNumber(u"20080303").substr(0, 17) + u"0";
  Save();
  Text check = IdentityNumber(u"20080303").substr(17);
  page_.ExpectRefused(u"运动员【王五】身份证号码校验位错误！正确应为" + check);
  EXPECT_EQ(StoredNames(), u"");

  // Level 0 checks nothing more.
  settings_.postcard_level = 0;
  Save();
  page_.ExpectAccepted();
  // Saving again finds the athletes' own rows, not a repeat.
  Save();
  page_.ExpectAccepted();
  // An empty number is no repeat of the rows not yet filled in.
  athlete(u"A4").identity = u"";
  Save();
  page_.ExpectAccepted();
}

TEST_F(RegistrationSave, BirthdayWindowAndRealDates) {
  settings_.birthday_check = 1;
  settings_.postcard_level = 0;  // the window alone raises the check to level 3
  struct Case {
    const char16_t *min, *max, *a3_birth;
    Text message;  // for 王五, or empty
  } cases[] = {
      {u"20080101", u"20081231", u"20080303", u""},
      {u"20081231", u"20080101", u"20080303", u""},  // bounds swapped
      {u"20080301", u"20081231", u"20070303", u"出生年月超出范围[20080301- 20081231]！"},
      {u"2008030", u"20080630", u"20070303", u""},  // a 7-character bound is ignored
      {u"2008030", u"20080302", u"20080303", u"出生年月超出范围[- 20080302]！"},
      {u"20000101", u"20101231", u"19490231", u"身份证号码中出生年月部分数据错误！"},  // no such day
      {u"20000101", u"20101231", u"20230229", u"身份证号码中出生年月部分数据错误！"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(automation::ToUtf8(c.min) + " " + automation::ToUtf8(c.max) + " " + automation::ToUtf8(c.a3_birth));
    db_.Exec(u"Update Ydybm Set 运动员='' Where AllTrim(代表队)=='一中'");
    settings_.birthday_min = c.min;
    settings_.birthday_max = c.max;
    // Everyone else born on 1 March 2008, inside every window below.
    int seq = 11;
    for (Athlete& a : form_)
      if (!a.name.empty()) a.identity = IdentityNumber(u"20080301", automation::FromAscii(std::to_string(100 + seq++)).c_str());
    athlete(u"A3").identity = IdentityNumber(c.a3_birth, u"511");
    Save();
    if (c.message.empty()) {
      page_.ExpectAccepted();
    } else {
      page_.ExpectRefused(u"运动员【王五】" + c.message);
      EXPECT_EQ(StoredNames(), u"");  // A1 and A2, checked first, are not kept either
    }
  }
}

TEST_F(RegistrationSave, ListEdgeCases) {
  // An ID that is not in Ydybm stores nothing and breaks nothing; rows of
  // another delegation are not touched by a form that names their ID.
  form_.push_back({u"ZZ", u"无名", true, {}, IdentityNumber(u"20080606")});
  form_.push_back({u"B1", u"冒名", true, {}, IdentityNumber(u"20080616")});
  settings_.shown_fields = u"1";  // only 附加字段1: no identity checks
  settings_.store_coach = 0;
  Save();
  page_.ExpectAccepted();
  EXPECT_EQ(StoredNames(), u"A1:张三 A2:李四 A3:王五 A4:赵六 A5:孙丽 ");
  EXPECT_EQ(RTrim(CStr(db_.Value(u"Select 运动员 From Ydybm Where ID=='B1'"))), u"钱七");
  EXPECT_EQ(RTrim(CStr(db_.Value(u"Select 身份证号码 From Ydybm Where ID=='A1'"))), u"");  // not on the form
  EXPECT_EQ(RTrim(CStr(db_.Value(u"Select 分管教练 From Ydybm Where ID=='A1'"))), u"");
  EXPECT_EQ(RTrim(CStr(db_.Value(u"Select 附加字段1 From Ydybm Where ID=='A1'"))), u"高一");
  EXPECT_EQ(automation::CDbl(db_.Value(u"Select Count(*) From Ydybm")), 9);

  // No list at all: nothing to check or store.
  page_ = Page();
  rs_ = TablesFolder::NewRecordset();
  SaveRegistration(page_.Request, page_.Response, db_.conn, rs_, settings_);
  page_.ExpectAccepted();
}

TEST_F(RegistrationSave, SexIsStoredAsChosen) {
  athlete(u"A2").men = true;
  athlete(u"A5").men = false;
  Save();
  page_.ExpectAccepted();
  auto men = [&](const char16_t* id) {
    return automation::CBool(db_.Value(u"Select 性别 From Ydybm Where ID=='" + Text(id) + u"'"));
  };
  EXPECT_TRUE(men(u"A2"));
  EXPECT_FALSE(men(u"A5"));
  // Saved again as read back from the page, nothing changes sex.
  athlete(u"A5").men = true;
  athlete(u"A5").slots = {};
  Save();
  page_.ExpectAccepted();
  EXPECT_TRUE(men(u"A5"));
}

// Clearing a stored athlete's name withdraws the athlete: the row loses the
// name, the identity number and every event, and the freed places count no
// more; a row never filled in with events or a number but no name is
// refused, not dropped.
TEST_F(RegistrationSave, AClearedNameWithdrawsAndAnUnnamedRowWithEntriesIsRefused) {
  Save();
  page_.ExpectAccepted();
  athlete(u"A5").name = u"";  // still posts 孙丽's number and event, as the page does
  athlete(u"A6").name = u"周敏";
  athlete(u"A6").men = false;
  athlete(u"A6").slots = {u"四项全能"};  // the place 孙丽 frees (one per delegation)
  athlete(u"A6").identity = IdentityNumber(u"20080606", u"042");
  Save();
  page_.ExpectAccepted();
  EXPECT_EQ(StoredNames(), u"A1:张三 A2:李四 A3:王五 A4:赵六 A6:周敏 ");
  EXPECT_EQ(RTrim(CStr(db_.Value(u"Select 参赛项目1 From Ydybm Where ID=='A5'"))), u"");
  EXPECT_EQ(RTrim(CStr(db_.Value(u"Select 身份证号码 From Ydybm Where ID=='A5'"))), u"");

  // A never-named row with entries: refused, naming the row, storing nothing.
  for (int what = 0; what < 2; ++what) {
    SetUpForm();
    db_.Exec(u"Update Ydybm Set 运动员='' Where AllTrim(代表队)=='一中'");
    athlete(u"A6").name = u"";
    athlete(u"A6").slots = what == 0 ? std::vector<Text>{u"100米"} : std::vector<Text>{};
    athlete(u"A6").identity = what == 1 ? IdentityNumber(u"20080606") : u"";
    Save();
    ExpectRefused(u"第6行（编号A6）填写了" + Text(what == 0 ? u"参赛项目" : u"身份证号码") +
                  u"，但姓名为空；请填写姓名，不报名请清空该行，请重输！");
  }
}

// A name is stored whole or refused: longer than its column, or with a
// character the meet's code page cannot hold (posted by the browser as an
// entity), it is refused naming the athlete and the character.
TEST_F(RegistrationSave, NamesTooLongOrOutsideTheCodePageAreRefused) {
  athlete(u"A3").name = u"欧阳长长长长长长长长长";  // 22 bytes in a column of 20
  Save();
  ExpectRefused(u"运动员【欧阳长长长长长长长长长】姓名长度为22字节，超出了20字节（10个汉字）的限制，请重输！");
  SetUpForm();
  athlete(u"A3").name = u"王&#128512;五";
  Save();
  // The message quotes the typed text as text: the entity shows as typed.
  ExpectRefused(u"运动员【王&amp;#128512;五】姓名中的字符“&amp;#128512;”无法保存（超出本系统字符集），请改用其他写法，请重输！");
}

// One athlete per request cannot pass a limit: what is stored for the
// delegation and age group counts with what is posted.
TEST_F(RegistrationSave, LimitsCountTheStoredEntriesWithThePostedForm) {
  const std::vector<Athlete> everyone = form_;
  form_ = {everyone[0]};  // 张三: 100米 (the relay is left out)
  form_[0].slots = {u"100米"};
  Save();
  page_.ExpectAccepted();
  form_ = {everyone[1]};  // 李四: 100米
  form_[0].slots = {u"100米"};
  Save();
  page_.ExpectAccepted();
  form_ = {everyone[2]};  // 王五 would be the third in 100米
  form_[0].slots = {u"100米"};
  Save();
  page_.ExpectRefused(u"男子参赛项目【100米】不能超过2人，请重输！");
  EXPECT_EQ(StoredNames(), u"A1:张三 A2:李四 ");

  // Athletes per delegation likewise.
  settings_.most_athletes = 2;
  form_[0].slots = {u"跳远"};
  Save();
  page_.ExpectRefused(u"运动员总数不能超过2人，请重输！");
  EXPECT_EQ(StoredNames(), u"A1:张三 A2:李四 ");
  // A stored athlete withdrawn in the same form frees the place.
  form_.push_back(everyone[1]);
  form_.back().name = u"";
  Save();
  page_.ExpectAccepted();
  EXPECT_EQ(StoredNames(), u"A1:张三 A3:王五 ");
}

}  // namespace
}  // namespace arenix::meet
