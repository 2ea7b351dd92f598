// A small meet for the result-entry tests: the meet's tables made empty in
// a temporary folder, the page's connection and record set open on it,
// entrants added by the test, and an entry form posted through the
// in-memory host.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "arenix/meet/result_entry_save.h"
#include "automation/coerce.h"
#include "automation/object.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "data/classes.h"
#include "data/connection.h"
#include "data/data.h"
#include "data/dbf/table.h"
#include "data/dbf/test_files.h"
#include "arenix/meet/meet_schema.h"
#include "host/memory_host.h"

namespace wldf_test {

using automation::FromUtf8;
using automation::Text;
using automation::ToUtf8;
using automation::Variant;

/// One entrant of Play; the test's fields win over these defaults.
struct Entrant {
  std::string number;
  std::string name;
  std::string team = "一队";
  std::string event = "100米";
  std::string sub;
  std::string age = "甲组";
  bool men = true;
  std::string kind = "径赛";
  bool in_lanes = true;
  bool team_event = false;
  int heat = 1;
  int lane = 1;
  double multiplier = 1;
  std::string grade;
  bool guest = false;  // 编外队员
  std::string heats_field;  // 预赛信息
  std::string custom_lanes;  // 自定义跑道
};

class Meet {
 public:
  explicit Meet(const std::string& folder = std::string()) {
    data::RegisterClasses();
    dir_ = folder.empty() ? temp_.path() : folder;
    if (folder.empty())
      for (const std::string& t : arenix::meet::MeetTableNames())
        data::dbf::Table::Create(dir_ + "/" + t + ".dbf", arenix::meet::MeetTableFields(t));
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    automation::ObjectCast<data::Connection>(conn).Open(u"provider=vfpoledb;data source=" + FromUtf8(dir_));
    rs = Variant(automation::CreateObject(u"Adodb.RecordSet"));
  }

  const std::string& folder() const { return dir_; }

  int Exec(const std::string& sql) {
    int32_t n = 0;
    automation::ObjectCast<data::Connection>(conn).Execute(FromUtf8(sql), &n);
    return n;
  }

  data::foxsql::Rows Query(const std::string& sql) {
    return *automation::ObjectCast<data::FreeTableConnection>(conn).database().Run(FromUtf8(sql)).rows;
  }

  void Add(const Entrant& e) {
    Exec("Insert Into Play (ID, 编号, 运动员, 代表队, 年龄组, 性别, 参赛项目, 参赛子项目, 径赛田赛, 分道, 集体项目, "
         "比赛组次, 比赛道次, 分值比例, 比赛等级, 编外队员, 预赛信息, 自定义跑道) Values ('" +
         e.number + "', '" + e.number + "', '" + e.name + "', '" + e.team + "', '" + e.age + "', " +
         (e.men ? ".T." : ".F.") + ", '" + e.event + "', '" + e.sub + "', '" + e.kind + "', " +
         (e.in_lanes ? ".T." : ".F.") + ", " + (e.team_event ? ".T." : ".F.") + ", " + std::to_string(e.heat) +
         ", " + std::to_string(e.lane) + ", " + std::to_string(e.multiplier) + ", '" + e.grade + "', " +
         (e.guest ? ".T." : ".F.") + ", '" + e.heats_field + "', '" + e.custom_lanes + "')");
  }

  /// The PlaySour row of a round.
  void AddRound(const std::string& event, const std::string& stage, const std::string& age = "甲组",
                bool men = true, const std::string& sub = "") {
    Exec("Insert Into PlaySour (参赛项目, 年龄组, 性别, 参赛子项目, 赛次名称, 比赛状态) Values ('" + event + "', '" +
         age + "', " + (men ? ".T." : ".F.") + ", '" + sub + "', '" + stage + "', .F.)");
  }

  /// Columns of Play by entry number, for the rows `where` selects (text
  /// values right-trimmed).
  std::map<std::string, std::map<std::string, Variant>> Rows(const std::string& where = "1=1") {
    std::map<std::string, std::map<std::string, Variant>> out;
    auto r = Query("Select * From Play Where " + where);
    for (const auto& row : r.rows) {
      std::map<std::string, Variant> m;
      for (size_t c = 0; c < r.names.size(); ++c) {
        Variant v = row[c];
        if (v.IsString()) v = Variant(automation::RTrim(v.text()));
        m[ToUtf8(r.names[c])] = v;
      }
      std::string key = ToUtf8(automation::Trim(row[1].text()));
      const std::string sub = ToUtf8(automation::Trim(m["参赛子项目"].text()));
      out[sub.empty() ? key : key + "/" + sub] = std::move(m);
    }
    return out;
  }

  /// The whole Play table as text, for comparing two saves.
  std::string Dump() {
    std::string s;
    auto r = Query("Select * From Play Order By ID, 参赛子项目");
    for (const auto& row : r.rows) {
      for (const auto& v : row) s += ToUtf8(automation::CStr(v)) + "|";
      s += "\n";
    }
    return s;
  }

  Variant conn, rs;

 private:
  dbf_test::TempDir temp_;
  std::string dir_;
};

/// The entry form of one round, posted by the recorder.
class Form {
 public:
  Form(const std::string& item, int stages, int stage, const std::string& sex = "男", const std::string& age = "甲组") {
    Set("item", item);
    Set("age", age);
    Set("sex", sex);
    Set("scs", std::to_string(stages));
    Set("sc", std::to_string(stage));
    Set("bsjg", "0");
  }
  Form& Set(const std::string& key, const std::string& value) {
    for (auto& field : fields_)
      if (field.first == key) {
        field.second = value;
        return *this;
      }
    fields_.emplace_back(key, value);
    return *this;
  }
  /// A timed result: minutes, seconds and hundredths.
  Form& Time(const std::string& number, const std::string& seconds, const std::string& hundredths,
             const std::string& minutes = "") {
    numbers_ += "|" + number;
    return Set("playcj_1_" + number, minutes).Set("playcj_2_" + number, seconds).Set("playcj_3_" + number, hundredths);
  }
  /// A field mark: metres and centimetres.
  Form& Mark(const std::string& number, const std::string& metres, const std::string& centimetres) {
    numbers_ += "|" + number;
    return Set("playcj_1_" + number, metres).Set("playcj_2_" + number, centimetres);
  }
  /// An entrant without any result field.
  Form& Blank(const std::string& number) {
    numbers_ += "|" + number;
    return *this;
  }
  Variant Request() {
    auto request = std::make_shared<host::MemoryRequest>();
    for (const auto& [key, value] : fields_) request->AddForm(FromUtf8(key), FromUtf8(value));
    request->AddForm(u"ydy_bh_list", FromUtf8(numbers_));
    return Variant(automation::ObjectPtr(request));
  }

 private:
  std::vector<std::pair<std::string, std::string>> fields_;
  std::string numbers_;
};

/// An automation array indexed from 1.
inline Variant Points(std::vector<double> values) {
  automation::Array a{1, {}};
  for (double v : values) a.items.emplace_back(v);
  return Variant(std::move(a));
}

/// Saves a form with these settings; the point arrays as given.
inline void Save(Meet& meet, Form& form, const arenix::meet::WldfSaveSettings& s, Variant& points,
                 Variant& grades) {
  Variant request = form.Request();
  arenix::meet::WldfSave(request, meet.conn, meet.rs, s, points, grades);
}

inline void Save(Meet& meet, Form& form, const arenix::meet::WldfSaveSettings& s) {
  Variant points = Points({9, 7, 6, 5, 4, 3, 2, 1});
  Variant grades = Points({0, 0, 0, 0, 0, 0});
  Save(meet, form, s, points, grades);
}

inline int Int(const Variant& v) { return automation::CLng(v); }
inline double Num(const Variant& v) { return automation::CDbl(v); }
inline std::string Str(const Variant& v) { return ToUtf8(automation::CStr(v)); }

}  // namespace wldf_test
