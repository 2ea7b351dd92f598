#include "arenix/meet/meet_schema.h"

#include <map>

#include "automation/error.h"
#include "automation/text.h"
#include "arenix/meet/stage_field.h"
#include "arenix/meet/stored_result.h"

namespace arenix::meet {
namespace {

using data::dbf::FieldSpec;
using data::dbf::FieldType;

FieldSpec C(const char16_t* name, int width) { return {name, FieldType::kCharacter, width}; }
FieldSpec N(const char16_t* name, int width, int decimals = 0) {
  return {name, FieldType::kNumeric, width, decimals};
}
FieldSpec I(const char16_t* name) { return {name, FieldType::kInteger}; }
FieldSpec L(const char16_t* name) { return {name, FieldType::kLogical}; }
FieldSpec D(const char16_t* name) { return {name, FieldType::kDate}; }
FieldSpec T(const char16_t* name) { return {name, FieldType::kDateTime}; }
FieldSpec M(const char16_t* name) { return {name, FieldType::kMemo}; }

// Widths shared by several tables.
constexpr int kEvent = 30, kAge = 20, kTeam = 30, kName = 20, kKind = 4;
constexpr int kStoredResult = kStoredResultWidth, kStageField = kStageFieldWidth;

// A current-stage text column of Play, as wide as its item of the stage field.
FieldSpec Stage(const char16_t* name) { return C(name, StageItemWidth(name)); }

std::vector<FieldSpec> Play() {
  return {
      C(u"ID", 10),          C(u"编号", 6),           C(u"运动员", kName),
      C(u"代表队", kTeam),   C(u"年龄组", kAge),      L(u"性别"),
      C(u"参赛项目", kEvent), C(u"参赛子项目", 20),    C(u"径赛田赛", kKind),
      L(u"集体项目"),        L(u"分道"),              C(u"自定义格式", 20),
      C(u"自定义跑道", 30),  N(u"分值比例", 5, 2),    L(u"编外队"),
      L(u"编外队员"),        I(u"比赛序号"),          I(u"比赛组次"),
      I(u"比赛道次"),        Stage(u"比赛组人数"),    Stage(u"比赛成绩"),
      C(u"排序成绩", kStoredResult), I(u"比赛名次"),  I(u"排序名次"),
      I(u"比赛组名次"),      N(u"比赛得分", StageItemWidth(u"比赛得分"), 1), Stage(u"比赛等级"),
      Stage(u"比赛团队"),    L(u"比赛晋级"),          L(u"比赛破记录"),
      Stage(u"比赛检录"),    Stage(u"比赛备注"),      Stage(u"比赛风速"),
      Stage(u"比赛详情"),    C(u"预赛信息", kStageField), C(u"次赛信息", kStageField),
      C(u"复赛信息", kStageField), C(u"决赛信息", kStageField), C(u"前赛成绩", kStoredResult),
      I(u"前赛名次"),        I(u"后赛组次"),          I(u"后赛道次"),
      I(u"后赛序号"),        C(u"后赛组人数", StageItemWidth(u"比赛组人数")),     N(u"随机排列", 6),
  };
}

std::vector<FieldSpec> PlaySour() {
  return {C(u"参赛项目", kEvent), C(u"年龄组", kAge),    L(u"性别"),
          C(u"参赛子项目", 20),   C(u"赛次名称", 4),     L(u"比赛状态"),
          D(u"比赛日期"),         C(u"比赛时间", 5)};
}

std::vector<FieldSpec> Item() {
  return {C(u"参赛项目", kEvent), C(u"径赛田赛", kKind), N(u"限报人数", 3),
          N(u"团体人数", 2),      L(u"集体项目"),        L(u"分道"),
          C(u"自定义格式", 20),   C(u"自定义得分", 60),  C(u"男赛次信息", 130),
          C(u"女赛次信息", 130),  N(u"排列顺序", 3)};
}

std::vector<FieldSpec> ItemSub() {
  return {C(u"参赛项目", kEvent), C(u"参赛子项目", 20), C(u"计分调整值", 10)};
}

std::vector<FieldSpec> Age() {
  return {C(u"年龄组", kAge), C(u"纪录组", kAge), C(u"自定义得分", 60), N(u"流水号", 3),
          D(u"出生起始"),     D(u"出生截止")};
}

std::vector<FieldSpec> Ydybm() {
  std::vector<FieldSpec> f = {C(u"ID", 10),         C(u"运动员", kName),   L(u"性别"),
                              C(u"年龄组", kAge),   C(u"代表队", kTeam),   D(u"出生日期"),
                              C(u"身份证号码", 18), C(u"分管教练", kName), C(u"附加字段1", 30),
                              C(u"附加字段2", 30),  C(u"附加字段3", 30)};
  for (int i = 1; i <= kYdybmEventSlots; ++i)
    f.push_back({u"参赛项目" + automation::FromAscii(std::to_string(i)), FieldType::kCharacter, kEvent});
  return f;
}

std::vector<FieldSpec> Record() {
  return {L(u"性别"),           C(u"径赛田赛", kKind), C(u"参赛项目", kEvent), C(u"年龄组", kAge),
          C(u"纪录组", kAge),   C(u"比赛成绩", kStoredResult), C(u"运动员", kName), C(u"代表队", kTeam),
          C(u"时间", 6),        C(u"地点", 30),        C(u"运动会名称", 60)};
}

std::vector<FieldSpec> Fcgqn() {
  return {C(u"参赛项目", 20), N(u"分值", 5), C(u"男比对成绩", 11), C(u"女比对成绩", 11),
          C(u"男子成绩", 10), C(u"女子成绩", 10)};
}

std::vector<FieldSpec> Team() { return {C(u"代表队", kTeam), C(u"年龄组", kAge)}; }

std::vector<FieldSpec> Sjzd() { return {C(u"名称", 30), C(u"分类", 20), N(u"序号", 4)}; }

std::vector<FieldSpec> BuMen() { return {C(u"部门名称", 30), N(u"排列顺序", 4)}; }

std::vector<FieldSpec> Part() { return {C(u"Part", 30), I(u"SortId")}; }

std::vector<FieldSpec> Xtsz() {
  return {C(u"运动会名称", 60), C(u"主办单位", 60), C(u"承办单位", 60), C(u"比赛地点", 60),
          D(u"开始日期"),       D(u"结束日期"),     N(u"版本", 1),      N(u"录取名次", 2),
          C(u"名次得分", 60),   N(u"跑道数", 2),    C(u"道次顺序", 10), L(u"网络报名"),
          L(u"网络登分"),       M(u"竞赛规程"),     T(u"修改时间")};
}

using Maker = std::vector<FieldSpec> (*)();

const std::vector<std::pair<std::string, Maker>>& Tables() {
  static const std::vector<std::pair<std::string, Maker>> tables = {
      {"xtsz", Xtsz},   {"Age", Age},     {"team", Team},   {"Item", Item},
      {"Item_Sub", ItemSub}, {"Fcgqn_CjDfDzb", Fcgqn}, {"Record", Record},
      {"Ydybm", Ydybm}, {"Play", Play},   {"PlaySour", PlaySour},
      {"Sjzd", Sjzd},   {"BuMen", BuMen}, {"Part", Part},
  };
  return tables;
}

}  // namespace

const std::vector<std::string>& MeetTableNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const auto& t : Tables()) n.push_back(t.first);
    return n;
  }();
  return names;
}

std::vector<FieldSpec> MeetTableFields(const std::string& table) {
  for (const auto& t : Tables())
    if (t.first == table) return t.second();
  throw automation::Error(automation::err::kInvalidCall,
                          automation::FromUtf8("no meet table named " + table));
}

}  // namespace arenix::meet
