#include "arenix/meet/demo/demo_meet.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "automation/cp936.h"
#include "automation/datetime.h"
#include "automation/error.h"
#include "automation/text.h"
#include "arenix/meet/demo/demo_accounts.h"
#include "arenix/meet/demo/demo_recorders.h"
#include "arenix/meet/meet_schema.h"
#include "arenix/meet/stage.h"
#include "arenix/meet/stage_field.h"
#include "arenix/meet/stored_result.h"
#include "data/dbf/table.h"

namespace arenix::meet::demo {
namespace {

namespace dbf = data::dbf;

using automation::Date;
using automation::FromAscii;
using automation::MakeDate;
using automation::Text;
using automation::Variant;
using dbf::Table;

// ---------------------------------------------------------------------------
// The meet as data.

// A fixed pseudo-random sequence, so that every run writes the same meet.
class Sequence {
 public:
  uint32_t Next() {
    state_ = state_ * 1103515245u + 12345u;
    return state_ >> 8;
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }
  template <class T>
  void Shuffle(std::vector<T>& v) {
    for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[static_cast<size_t>(Below(static_cast<int>(i)))]);
  }

 private:
  uint32_t state_ = 20250418;
};

struct Delegation {
  Text name;
  Text coach;
  const char* region;  // first six digits of its athletes' identity numbers
  bool out_of_competition;
};

const std::vector<Delegation>& Delegations() {
  static const std::vector<Delegation> list = {
      {u"第一中学", u"王建国", "330102", false},   {u"第二中学", u"李红梅", "330103", false},
      {u"实验中学", u"张志强", "330104", false},   {u"育才学校", u"陈丽华", "330105", false},
      {u"外国语学校", u"刘伟", "330106", false},   {u"体育运动学校", u"赵敏", "330108", true},
  };
  return list;
}

enum EventId { k100m, k400m, k1500m, kLongJump, kShotPut, kRopeSkipping, kRelay, kCombined, kLongRelay };

struct Event {
  Text name;
  Text kind;  // 径赛, 田赛, 全能
  int limit;
  int team_size;
  bool lanes;
  Text format;  // custom result format
  Text points;  // custom place points
};

const std::vector<Event>& Events() {
  static const std::vector<Event> list = {
      {u"100米", u"径赛", 2, 1, true, u"", u""},
      {u"400米", u"径赛", 2, 1, true, u"", u""},
      {u"1500米", u"径赛", 2, 1, false, u"", u""},
      {u"跳远", u"田赛", 2, 1, false, u"", u""},
      {u"铅球", u"田赛", 2, 1, false, u"", u""},
      {u"1分钟跳绳", u"田赛", 2, 1, false, u"###个", u""},
      {u"4×100米接力", u"径赛", 4, 4, true, u"", u"18|14|12|10|8|6|4|2"},
      {u"四项全能", u"全能", 1, 1, false, u"", u""},
      // Open for registration only (no entrants drawn yet): two teams of
      // four per delegation and sex, entered as 4×400米接力_A and _B.
      {u"4×400米接力", u"径赛", 8, 4, true, u"", u""},
  };
  return list;
}

// The sub-events of the combined event, in their order of competition.
struct SubEvent {
  Text name;
  Text kind;
  bool lanes;
};
const std::vector<SubEvent>& CombinedParts() {
  static const std::vector<SubEvent> list = {
      {u"100米", u"径赛", true}, {u"跳远", u"田赛", false}, {u"铅球", u"田赛", false}, {u"400米", u"径赛", true}};
  return list;
}

struct AgeGroup {
  Text name;
  Text record_group;
  Text points;  // custom place points of the age group
  int first_birth_year, last_birth_year;
  std::vector<Text> school_years;  // 附加字段1
  std::vector<EventId> events;     // individual events first, then relay and combined
  std::vector<EventId> two_stage;  // events run as heats and final
};

const std::vector<AgeGroup>& AgeGroups() {
  static const std::vector<AgeGroup> list = {
      {u"高中组", u"中学组", u"", 2007, 2009, {u"高一", u"高二", u"高三"},
       {k100m, k400m, k1500m, kLongJump, kShotPut, kRelay, kCombined}, {k100m}},
      {u"初中组", u"中学组", u"", 2010, 2012, {u"初一", u"初二", u"初三"},
       {k100m, k400m, k1500m, kLongJump, kShotPut, kRelay}, {k100m}},
      {u"小学组", u"小学组", u"7|5|4|3|2|1", 2013, 2015, {u"四年级", u"五年级", u"六年级"},
       {k100m, kLongJump, kRopeSkipping, kRelay}, {}},
  };
  return list;
}

constexpr int kEntrantsPerEvent = 2;  // per delegation, age group and sex
constexpr int kOpenSlots = 8;         // empty registration rows per delegation and age group
constexpr int kLanes = 8;
const char16_t kLaneOrder[] = u"45362718";
const Text kFinal = StageName(kFinalStage), kHeats = StageName(kHeatsStage);

struct Athlete {
  Text number;  // 编号, also the registration ID
  Text name;
  bool male = true;
  int delegation = 0, age = 0;
  Date birth;
  Text id_card;
  Text school_year, nation;
  bool out_of_competition = false;
  std::vector<Text> events;  // registration slots
};

// An entry of one event: an athlete, or a delegation's relay team.
struct Entry {
  int athlete = -1;  // -1 for a team
  int delegation = 0;
  Text number, name, team;
};

// --- Names and identity numbers ------------------------------------------

const char16_t* const kSurnames[] = {u"王", u"李", u"张", u"刘", u"陈", u"杨", u"黄", u"赵", u"吴", u"周",
                                     u"徐", u"孙", u"马", u"朱", u"胡", u"郭", u"何", u"高", u"林", u"罗",
                                     u"郑", u"梁", u"谢", u"宋", u"唐", u"许", u"韩", u"冯", u"邓", u"曹",
                                     u"彭", u"曾", u"肖", u"田", u"董", u"袁", u"潘", u"于", u"蒋", u"欧阳"};
const char16_t kBoyChars[] = u"伟强磊军洋勇杰涛明超辉鹏华飞刚俊峰浩宇轩博文晨阳子豪天翔志远海波宏斌";
const char16_t kGirlChars[] = u"芳娜敏静丽艳娟霞婷雪慧玲欣怡佳琪梦瑶雨萱诗涵思颖晓彤悦蕾雅洁琳琴";

Text MakeName(Sequence& seq, bool male) {
  Text name = kSurnames[seq.Below(static_cast<int>(std::size(kSurnames)))];
  const char16_t* chars = male ? kBoyChars : kGirlChars;
  int n = static_cast<int>(std::char_traits<char16_t>::length(chars));
  int given = seq.Below(3) == 0 ? 1 : 2;
  for (int i = 0; i < given; ++i) name += chars[seq.Below(n)];
  return name;
}

// Eighteen characters: region, birth date, sequence (odd for men), and the
// ISO 7064 MOD 11-2 check character.
Text IdentityNumber(const char* region, Date birth, int sequence, bool male) {
  automation::DateParts p = automation::SplitDate(birth);
  if ((sequence % 2 == 1) != male) ++sequence;
  char body[32];
  std::snprintf(body, sizeof body, "%s%04d%02d%02d%03d", region, p.year, p.month, p.day, sequence % 1000);
  static const int kWeights[] = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};
  int sum = 0;
  for (int i = 0; i < 17; ++i) sum += (body[i] - '0') * kWeights[i];
  std::string out = std::string(body, 17) + "10X98765432"[sum % 11];
  return FromAscii(out);
}

// --- Texts of the meet tables ---------------------------------------------

Text Digits(long n, int width) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%0*ld", width, n);
  return FromAscii(buf);
}

/// The stored result of a time in seconds (below an hour), as the entry
/// form's minutes, seconds and hundredths give it.
Text StoredTime(double seconds) {
  long hundredths = std::lround(seconds * 100);
  long minutes = hundredths / 6000;
  hundredths %= 6000;
  Text m = minutes ? FromAscii(std::to_string(minutes)) : Text();
  Text sec = minutes ? Digits(hundredths / 100, 2) : FromAscii(std::to_string(hundredths / 100));
  return ComposeStoredResult(ResultLayout::kTime, {m, sec, Digits(hundredths % 100, 2)});
}

/// The stored result of a mark in metres, as the entry form's metres and
/// centimetres give it.
Text StoredMark(double metres) {
  long cm = std::lround(metres * 100);
  return ComposeStoredResult(ResultLayout::kField, {FromAscii(std::to_string(cm / 100)), Digits(cm % 100, 2)});
}

struct StageSeat {
  int heat = 0, lane = -1, heats = 0, entrants = 0;
  int Order() const { return heat * 100 + lane; }
  Text HeatInfo() const { return Digits(heats, 3) + Digits(entrants, 3); }
};

/// The stage field of a stage that has been drawn and not yet run.
Text DrawnStageField(const StageSeat& seat, const Text& team) {
  StageColumns c;
  c.order = seat.Order();
  c.heat = seat.heat;
  c.lane = seat.lane;
  c.heat_info = seat.HeatInfo();
  c.team = team;
  return PackStageField(c);
}

/// A stage plan block of an age group: stages, then heats (2 digits),
/// qualifiers per heat and extra qualifiers of stages 1 to 3.
Text PlanBlock(bool two_stage) { return two_stage ? u"2023200000000" : u"1000000000000"; }

// ---------------------------------------------------------------------------
// Writing.

class MeetWriter {
 public:
  MeetWriter(std::string dir, bool overwrite) : dir_(std::move(dir)), overwrite_(overwrite) {
    MakeAthletes();
  }

  std::vector<WrittenTable> WriteAll() {
    WriteXtsz();
    WriteAge();
    WriteTeam();
    WriteItem();
    WriteItemSub();
    WriteFcgqn();
    WriteRecord();
    WriteYdybm();
    WritePlayAndSchedule();
    WriteLookups();
    written_.push_back(WriteRecorderTable(dir_, overwrite_));
    for (WrittenTable& t : WriteDeskTables(dir_, overwrite_)) written_.push_back(std::move(t));
    return written_;
  }

 private:
  std::unique_ptr<Table> Create(const std::string& name) {
    std::string path = dir_ + "/" + name + ".dbf";
    if (overwrite_) {
      // An index of the table being replaced would describe other rows.
      for (const char* ext : {".cdx", ".CDX"}) ::unlink((dir_ + "/" + name + ext).c_str());
    }
    dbf::CreateOptions options;
    options.overwrite = overwrite_;
    return Table::Create(path, MeetTableFields(name), options);
  }

  void Done(const Table& t, const std::string& name) {
    WrittenTable w;
    w.file = name + ".dbf";
    if (t.schema().HasMemoFields()) w.memo_file = name + ".fpt";
    w.rows = t.RecordCount();
    written_.push_back(w);
  }

  void MakeAthletes() {
    const auto& ages = AgeGroups();
    for (int d = 0; d < static_cast<int>(Delegations().size()); ++d) {
      for (int a = 0; a < static_cast<int>(ages.size()); ++a) {
        const AgeGroup& age = ages[static_cast<size_t>(a)];
        std::vector<EventId> individual;
        for (EventId e : age.events)
          if (e != kRelay && e != kCombined) individual.push_back(e);
        bool combined = std::find(age.events.begin(), age.events.end(), kCombined) != age.events.end();
        for (bool male : {true, false}) {
          // Six athletes share the individual entries (two per event, at
          // most two events each); the first four run the relay; a seventh
          // does the combined event alone.
          int count = 6 + (combined ? 1 : 0);
          size_t first = athletes_.size();
          for (int k = 0; k < count; ++k) {
            Athlete at;
            at.number = Digits(d + 1, 1) + Digits(a + 1, 1) + Digits((male ? 1 : 11) + k, 2);
            at.name = MakeName(seq_, male);
            at.male = male;
            at.delegation = d;
            at.age = a;
            int year = age.first_birth_year + seq_.Below(age.last_birth_year - age.first_birth_year + 1);
            at.birth = MakeDate(year, 1 + seq_.Below(12), 1 + seq_.Below(28));
            at.id_card = IdentityNumber(Delegations()[static_cast<size_t>(d)].region, at.birth,
                                        seq_.Below(900) + 11, male);
            at.school_year = age.school_years[static_cast<size_t>(age.last_birth_year - year)];
            static const char16_t* const kNations[] = {u"汉族", u"汉族", u"汉族", u"汉族", u"回族",
                                                       u"满族", u"汉族", u"蒙古族", u"汉族", u"壮族"};
            at.nation = kNations[seq_.Below(10)];
            athletes_.push_back(at);
          }
          int slots = static_cast<int>(individual.size()) * kEntrantsPerEvent;
          for (int j = 0; j < slots; ++j)
            athletes_[first + static_cast<size_t>(j % 6)].events.push_back(
                Events()[individual[static_cast<size_t>(j / kEntrantsPerEvent)]].name);
          for (int k = 0; k < 4; ++k) athletes_[first + static_cast<size_t>(k)].events.push_back(Events()[kRelay].name);
          if (combined) athletes_[first + 6].events.push_back(Events()[kCombined].name);
        }
      }
    }
    // One athlete of a regular delegation competes out of competition.
    athletes_[static_cast<size_t>(std::min<size_t>(40, athletes_.size() - 1))].out_of_competition = true;
  }

  // The entries of one event, age group and sex, in delegation order.
  std::vector<Entry> Entries(EventId event, int age, bool male) const {
    std::vector<Entry> out;
    const Text& name = Events()[event].name;
    for (int d = 0; d < static_cast<int>(Delegations().size()); ++d) {
      if (event == kRelay) {
        Entry e;
        e.delegation = d;
        e.number = u"T" + Digits(d + 1, 1) + Digits(age + 1, 1) + (male ? u"1" : u"2");
        e.name = Delegations()[static_cast<size_t>(d)].name;
        e.team = e.name;
        out.push_back(e);
        continue;
      }
      for (size_t i = 0; i < athletes_.size(); ++i) {
        const Athlete& at = athletes_[i];
        if (at.delegation != d || at.age != age || at.male != male) continue;
        if (std::find(at.events.begin(), at.events.end(), name) == at.events.end()) continue;
        Entry e;
        e.athlete = static_cast<int>(i);
        e.delegation = d;
        e.number = at.number;
        e.name = at.name;
        out.push_back(e);
      }
    }
    return out;
  }

  // Heats and lanes (or the order of a group) of the first stage.
  std::vector<StageSeat> Draw(size_t n, bool lanes) {
    std::vector<size_t> order(n);
    for (size_t i = 0; i < n; ++i) order[i] = i;
    seq_.Shuffle(order);
    std::vector<StageSeat> seats(n);
    int heats = lanes ? static_cast<int>((n + kLanes - 1) / kLanes) : 1;
    size_t next = 0;
    for (int h = 1; h <= heats; ++h) {
      size_t take = (n - next + static_cast<size_t>(heats - h)) / static_cast<size_t>(heats - h + 1);
      for (size_t j = 0; j < take; ++j, ++next) {
        StageSeat& s = seats[order[next]];
        s.heat = h;
        s.lane = lanes ? kLaneOrder[j] - u'0' : static_cast<int>(j + 1);
        s.heats = heats;
        s.entrants = static_cast<int>(n);
      }
    }
    return seats;
  }

  void WriteXtsz() {
    auto t = Create("xtsz");
    t->Append({Variant(Text(u"2025年春季中小学生田径运动会")), Variant(Text(u"市教育局")),
               Variant(Text(u"市第一中学")), Variant(Text(u"市体育中心田径场")),
               Variant(MakeDate(2025, 4, 18)), Variant(MakeDate(2025, 4, 20)), Variant(1.0), Variant(8.0),
               Variant(Text(u"9|7|6|5|4|3|2|1")), Variant(double(kLanes)), Variant(Text(kLaneOrder)),
               Variant(true), Variant(true),
               Variant(Text(u"一、比赛时间：2025年4月18日至20日。\r\n"
                            u"二、比赛地点：市体育中心田径场。\r\n"
                            u"三、分组：高中组、初中组、小学组，各分男子组、女子组。\r\n"
                            u"四、每个代表队每组每项限报2人，每人限报2项（接力除外）；四项全能运动员不得兼项。\r\n"
                            u"五、录取与计分：各项录取前8名，按9、7、6、5、4、3、2、1计分，接力加倍；"
                            u"小学组录取前6名，按7、5、4、3、2、1计分。\r\n"
                            u"六、100米设预赛、决赛，其余项目直接决赛。")),
               Variant(MakeDate(2025, 4, 1, 9, 0, 0))});
    Done(*t, "xtsz");
  }

  void WriteAge() {
    auto t = Create("Age");
    int serial = 1;
    for (const AgeGroup& a : AgeGroups())
      t->Append({Variant(a.name), Variant(a.record_group), Variant(a.points), Variant(double(serial++)),
                 Variant(MakeDate(a.first_birth_year, 1, 1)), Variant(MakeDate(a.last_birth_year, 12, 31))});
    Done(*t, "Age");
  }

  void WriteTeam() {
    auto t = Create("team");
    for (const AgeGroup& a : AgeGroups())
      for (const Delegation& d : Delegations()) t->Append({Variant(d.name), Variant(a.name)});
    Done(*t, "team");
  }

  void WriteItem() {
    auto t = Create("Item");
    int order = 1;
    for (int e = 0; e < static_cast<int>(Events().size()); ++e) {
      const Event& ev = Events()[static_cast<size_t>(e)];
      Text plan;
      for (const AgeGroup& a : AgeGroups())
        plan += PlanBlock(std::find(a.two_stage.begin(), a.two_stage.end(), e) != a.two_stage.end());
      t->Append({Variant(ev.name), Variant(ev.kind), Variant(double(ev.limit)), Variant(double(ev.team_size)),
                 Variant(false), Variant(ev.lanes), Variant(ev.format), Variant(ev.points), Variant(plan),
                 Variant(plan), Variant(double(order++))});
    }
    Done(*t, "Item");
  }

  void WriteItemSub() {
    auto t = Create("Item_Sub");
    for (const SubEvent& s : CombinedParts())
      t->Append({Variant(Events()[kCombined].name), Variant(s.name), Variant(Text())});
    Done(*t, "Item_Sub");
  }

  // Points thresholds of the combined event's sub-events by the scoring
  // formulas A x (difference)^C of the track-and-field tables.
  void WriteFcgqn() {
    struct Formula {
      double a, b, c;
    };
    struct Part {
      Text name;
      int group;  // 0 running (s), 1 jumps (cm), 2 throws (m)
      Formula men, women;
    };
    const Part parts[] = {
        {u"100米", 0, {25.4347, 17.76, 1.81}, {17.8570, 20.76, 1.81}},
        {u"跳远", 1, {0.14354, 220.00, 1.40}, {0.188807, 210.00, 1.41}},
        {u"铅球", 2, {51.39, 1.50, 1.05}, {56.0211, 1.50, 1.05}},
        {u"400米", 0, {1.53775, 81.86, 1.81}, {1.34285, 91.56, 1.81}},
    };
    auto t = Create("Fcgqn_CjDfDzb");
    for (const Part& p : parts) {
      for (int points = 100; points <= 1000; points += 100) {
        Text shown[2], key[2];
        int i = 0;
        for (const Formula& f : {p.men, p.women}) {
          double d = std::pow(points / f.a, 1.0 / f.c);
          Text stored;
          char buf[16];
          if (p.group == 0) {
            double seconds = std::floor((f.b - d) * 100) / 100;  // the slowest time that scores
            stored = StoredTime(seconds);
            if (seconds >= 60)
              std::snprintf(buf, sizeof buf, "%d:%05.2f", static_cast<int>(seconds / 60), std::fmod(seconds, 60));
            else
              std::snprintf(buf, sizeof buf, "%.2f", seconds);
          } else {
            double metres = p.group == 1 ? std::ceil(f.b + d) / 100 : std::ceil((f.b + d) * 100) / 100;
            stored = StoredMark(metres);
            std::snprintf(buf, sizeof buf, "%.2f", metres);
          }
          shown[i] = FromAscii(buf);
          key[i] = u"'" + SortKeyOf(stored) + u"'";
          ++i;
        }
        t->Append({Variant(p.name), Variant(double(points)), Variant(key[0]), Variant(key[1]), Variant(shown[0]),
                   Variant(shown[1])});
      }
    }
    Done(*t, "Fcgqn_CjDfDzb");
  }

  void WriteRecord() {
    struct Mark {
      EventId event;
      int age;  // -1: the record of all age groups
      double men, women;
      Text men_holder, women_holder;
      int men_team, women_team;
      const char* when;
    };
    const Mark marks[] = {
        {k100m, -1, 10.86, 12.12, u"林飞", u"周雪", 0, 5, "2016 5"},
        {k100m, 0, 11.02, 12.45, u"陈浩宇", u"杨静", 2, 0, "2019 4"},
        {k100m, 1, 11.85, 13.06, u"吴天翔", u"许佳琪", 5, 1, "2021 5"},
        {k100m, 2, 13.20, 13.95, u"黄子豪", u"何欣怡", 3, 4, "2023 4"},
        {k400m, 0, 50.12, 58.37, u"郭志远", u"罗诗涵", 5, 2, "2018 5"},
        {k400m, 1, 55.40, 63.18, u"马俊", u"梁雨萱", 0, 5, "2022 4"},
        {k1500m, 0, 250.66, 292.41, u"孙海波", u"韩梦瑶", 1, 5, "2017 4"},
        {k1500m, 1, 275.03, 318.90, u"宋宏斌", u"谢晓彤", 5, 3, "2024 4"},
        {kLongJump, 0, 7.02, 5.86, u"高翔", u"唐悦", 5, 0, "2019 5"},
        {kLongJump, 1, 6.31, 5.12, u"郑博文", u"冯雅", 2, 5, "2023 5"},
        {kLongJump, 2, 4.85, 4.40, u"田阳", u"董蕾", 4, 1, "2024 4"},
        {kShotPut, 0, 15.36, 12.08, u"袁刚", u"潘洁", 5, 5, "2015 5"},
        {kShotPut, 1, 13.22, 10.75, u"于鹏", u"蒋琳", 0, 3, "2021 4"},
        {kRelay, 0, 43.85, 49.62, u"", u"", 5, 0, "2020 5"},
        {kRelay, 1, 47.10, 53.33, u"", u"", 2, 5, "2023 4"},
        {kRelay, 2, 53.95, 58.20, u"", u"", 1, 4, "2024 4"},
    };
    auto t = Create("Record");
    for (const Mark& m : marks) {
      const Event& ev = Events()[m.event];
      bool timed = ev.kind == u"径赛";
      for (bool male : {true, false}) {
        double value = male ? m.men : m.women;
        int team = male ? m.men_team : m.women_team;
        Text holder = male ? m.men_holder : m.women_holder;
        if (holder.empty()) holder = Delegations()[static_cast<size_t>(team)].name;
        Text age = m.age < 0 ? Text() : AgeGroups()[static_cast<size_t>(m.age)].name;
        t->Append({Variant(male), Variant(ev.kind), Variant(ev.name), Variant(age), Variant(Text()),
                   Variant(timed ? StoredTime(value) : StoredMark(value)), Variant(holder),
                   Variant(Delegations()[static_cast<size_t>(team)].name), Variant(FromAscii(m.when)),
                   Variant(Text(u"市体育中心田径场")), Variant(Text(u"市中小学生田径运动会"))});
      }
    }
    // Records of a record group (all its age groups together).
    for (bool male : {true, false})
      t->Append({Variant(male), Variant(Text(u"径赛")), Variant(Events()[k100m].name), Variant(Text()),
                 Variant(Text(u"中学组")), Variant(StoredTime(male ? 10.98 : 12.31)),
                 Variant(Text(male ? u"欧阳晨" : u"曾婷")), Variant(Delegations()[male ? 5 : 2].name),
                 Variant(Text(u"2018 5")), Variant(Text(u"市体育中心田径场")),
                 Variant(Text(u"市中学生田径运动会"))});
    Done(*t, "Record");
  }

  void WriteYdybm() {
    auto t = Create("Ydybm");
    for (const Athlete& at : athletes_) {
      std::vector<Variant> row = {Variant(at.number),
                                  Variant(at.name),
                                  Variant(at.male),
                                  Variant(AgeGroups()[static_cast<size_t>(at.age)].name),
                                  Variant(Delegations()[static_cast<size_t>(at.delegation)].name),
                                  Variant(at.birth),
                                  Variant(at.id_card),
                                  Variant(Delegations()[static_cast<size_t>(at.delegation)].coach),
                                  Variant(at.school_year),
                                  Variant(at.nation),
                                  Variant(Text())};
      for (int s = 0; s < kYdybmEventSlots; ++s)
        row.push_back(Variant(static_cast<size_t>(s) < at.events.size() ? at.events[static_cast<size_t>(s)] : Text()));
      t->Append(row);
    }
    // Rows that online registration fills in: the first two delegations
    // have empty name slots in the first two age groups.
    for (int d = 0; d < 2; ++d) {
      for (int a = 0; a < 2; ++a) {
        for (int k = 1; k <= kOpenSlots; ++k) {
          std::vector<Variant> row = {Variant(u"N" + Digits(d + 1, 1) + Digits(a + 1, 1) + Digits(k, 2)),
                                      Variant(Text()),
                                      Variant(false),
                                      Variant(AgeGroups()[static_cast<size_t>(a)].name),
                                      Variant(Delegations()[static_cast<size_t>(d)].name),
                                      Variant(),
                                      Variant(Text()),
                                      Variant(Text()),
                                      Variant(Text()),
                                      Variant(Text()),
                                      Variant(Text())};
          for (int s = 0; s < kYdybmEventSlots; ++s) row.push_back(Variant(Text()));
          t->Append(row);
        }
      }
    }
    Done(*t, "Ydybm");
  }

  struct PlayRow {
    const Entry* entry;
    Text event, sub_event, kind;
    bool team = false, lanes = false;
    Text format;
    int age = 0;
    bool male = true;
    int first_stage = 4;
    StageSeat seat;
  };

  void AppendPlay(Table& play, const PlayRow& r) {
    const Entry& e = *r.entry;
    const Delegation& d = Delegations()[static_cast<size_t>(e.delegation)];
    bool out = e.athlete >= 0 && athletes_[static_cast<size_t>(e.athlete)].out_of_competition;
    Text stage = DrawnStageField(r.seat, e.team);
    bool timed = IsTimedRow(r.kind, r.sub_event, 1);
    Variant blank_stage(Text(kStageFieldWidth, u' '));
    std::vector<Variant> row = {
        Variant(FromAscii("P") + Digits(++play_id_, 5)),
        Variant(e.number),
        Variant(e.name),
        Variant(d.name),
        Variant(AgeGroups()[static_cast<size_t>(r.age)].name),
        Variant(r.male),
        Variant(r.event),
        Variant(r.sub_event),
        Variant(r.kind),
        Variant(r.team),
        Variant(r.lanes),
        Variant(r.format),
        Variant(Text()),
        Variant(1.0),
        Variant(d.out_of_competition),
        Variant(out),
        // The current stage, as unpacking the first stage's field gives it.
        Variant(int32_t(r.seat.Order())),
        Variant(int32_t(r.seat.heat)),
        Variant(int32_t(r.seat.lane)),
        Variant(r.seat.HeatInfo()),
        Variant(Text()),
        Variant(Text(timed ? kTimedNoResultKey : kNoResultKey)),
        Variant(int32_t(0)),
        Variant(PlaceForOrdering(0)),
        Variant(int32_t(0)),
        Variant(0.0),
        Variant(Text()),
        Variant(e.team),
        Variant(false),
        Variant(false),
        Variant(Text()),
        Variant(Text()),
        Variant(Text()),
        Variant(Text()),
        r.first_stage == 1 ? Variant(stage) : blank_stage,
        blank_stage,
        blank_stage,
        r.first_stage == 4 ? Variant(stage) : blank_stage,
        Variant(Text()),
        Variant(int32_t(0)),
        Variant(int32_t(0)),
        Variant(int32_t(-1)),
        Variant(int32_t(9999)),
        Variant(Text()),
        Variant(double(seq_.Below(10000))),
    };
    play.Append(row);
  }

  void WritePlayAndSchedule() {
    auto play = Create("Play");
    auto schedule = Create("PlaySour");
    const Date start = MakeDate(2025, 4, 18);
    std::map<int, int> slots;  // day -> next slot
    auto slot_time = [&](int day) {
      int s = slots[day]++;
      int minutes = 8 * 60 + 30 + s * 20;
      char buf[8];
      std::snprintf(buf, sizeof buf, "%02d:%02d", minutes / 60 % 24, minutes % 60);
      return FromAscii(buf);
    };
    auto schedule_row = [&](const Text& event, int age, bool male, const Text& sub, const Text& stage, int day) {
      schedule->Append({Variant(event), Variant(AgeGroups()[static_cast<size_t>(age)].name), Variant(male),
                        Variant(sub), Variant(stage), Variant(false), Variant(Date{start.serial + day}),
                        Variant(slot_time(day))});
    };
    for (int e = 0; e < static_cast<int>(Events().size()); ++e) {
      const Event& ev = Events()[static_cast<size_t>(e)];
      for (int a = 0; a < static_cast<int>(AgeGroups().size()); ++a) {
        const AgeGroup& age = AgeGroups()[static_cast<size_t>(a)];
        if (std::find(age.events.begin(), age.events.end(), e) == age.events.end()) continue;
        bool two_stage = std::find(age.two_stage.begin(), age.two_stage.end(), e) != age.two_stage.end();
        int day = a % 2;
        for (bool male : {true, false}) {
          const std::vector<Entry> kept = Entries(static_cast<EventId>(e), a, male);
          if (e == kCombined) {
            // The parent row of each athlete, then one row per sub-event.
            std::vector<StageSeat> order = Draw(kept.size(), false);
            for (size_t i = 0; i < kept.size(); ++i)
              AppendPlay(*play, {&kept[i], ev.name, u"", ev.kind, false, false, u"", a, male, 4, order[i]});
            int part = 0;
            for (const SubEvent& s : CombinedParts()) {
              std::vector<StageSeat> seats = Draw(kept.size(), s.lanes);
              for (size_t i = 0; i < kept.size(); ++i)
                AppendPlay(*play, {&kept[i], ev.name, s.name, s.kind, false, s.lanes, u"", a, male, 4, seats[i]});
              schedule_row(ev.name, a, male, s.name, kFinal, part++ < 2 ? 0 : 1);
            }
            schedule_row(ev.name, a, male, u"", kFinal, 1);
            continue;
          }
          std::vector<StageSeat> seats = Draw(kept.size(), ev.lanes);
          for (size_t i = 0; i < kept.size(); ++i)
            AppendPlay(*play, {&kept[i], ev.name, u"", ev.kind, e == kRelay, ev.lanes, ev.format, a, male,
                               two_stage ? 1 : 4, seats[i]});
          if (two_stage) {
            schedule_row(ev.name, a, male, u"", kHeats, day);
            schedule_row(ev.name, a, male, u"", kFinal, day + 1);
          } else {
            schedule_row(ev.name, a, male, u"", kFinal, day + (e == kRelay ? 2 : 0));
          }
        }
      }
    }
    Done(*play, "Play");
    Done(*schedule, "PlaySour");
  }

  void WriteLookups() {
    auto sjzd = Create("Sjzd");
    const std::pair<const char16_t*, std::vector<const char16_t*>> categories[] = {
        {u"比赛检录", {u"犯规", u"弃权", u"未到", u"取消资格"}},
        {u"比赛等级", {u"国际健将", u"健将", u"一级", u"二级", u"三级", u"少年级"}},
        {u"民族", {u"汉族", u"回族", u"满族", u"蒙古族", u"壮族"}},
        {u"年级", {u"四年级", u"五年级", u"六年级", u"初一", u"初二", u"初三", u"高一", u"高二", u"高三"}},
        {u"性别", {u"男", u"女"}},
    };
    for (const auto& [category, names] : categories) {
      int n = 1;
      for (const char16_t* name : names)
        sjzd->Append({Variant(Text(name)), Variant(Text(category)), Variant(double(n++))});
    }
    Done(*sjzd, "Sjzd");

    auto bumen = Create("BuMen");
    int order = 1;
    for (const char16_t* name : {u"竞赛组", u"裁判组", u"检录处", u"宣传组", u"后勤保障组"})
      bumen->Append({Variant(Text(name)), Variant(double(order++))});
    Done(*bumen, "BuMen");

    auto part = Create("Part");
    int32_t sort = 1;
    for (const char16_t* name : {u"竞赛管理", u"网络报名", u"成绩录入", u"成绩查询"})
      part->Append({Variant(Text(name)), Variant(sort++)});
    Done(*part, "Part");
  }

  std::string dir_;
  bool overwrite_;
  Sequence seq_;
  std::vector<Athlete> athletes_;
  int play_id_ = 0;
  std::vector<WrittenTable> written_;
};

bool HoldsTables(const std::string& dir) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return false;
  bool found = false;
  while (dirent* e = ::readdir(d)) {
    std::string name = e->d_name;
    if (name.size() > 4) {
      std::string ext = automation::ToUtf8(automation::AsciiLower(FromAscii(name.substr(name.size() - 4))));
      if (ext == ".dbf") found = true;
    }
  }
  ::closedir(d);
  return found;
}

}  // namespace

std::vector<WrittenTable> WriteDemoMeet(const std::string& dir, const DemoOptions& options) {
  struct stat st;
  if (::stat(dir.c_str(), &st) != 0) {
    for (size_t i = 1; i <= dir.size(); ++i)
      if (i == dir.size() || dir[i] == '/') ::mkdir(dir.substr(0, i).c_str(), 0777);
    if (::stat(dir.c_str(), &st) != 0)
      throw automation::Error(automation::err::kPathNotFound,
                              automation::FromUtf8(dir + ": cannot make the folder: " + std::strerror(errno)));
  }
  if (!S_ISDIR(st.st_mode))
    throw automation::Error(automation::err::kPathNotFound, automation::FromUtf8(dir + ": not a folder"));
  if (!options.force && HoldsTables(dir))
    throw automation::Error(automation::err::kFileExists,
                            automation::FromUtf8(dir + ": the folder already holds tables; "
                                                       "use --force to replace the meet's tables"));
  MeetWriter writer(dir, options.force);
  return writer.WriteAll();
}

}  // namespace arenix::meet::demo
