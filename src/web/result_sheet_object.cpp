#include "web/result_sheet_object.h"

#include "arenix/meet/mark_number.h"
#include "arenix/meet/result_format.h"
#include "arenix/show/export_sheet.h"
#include "automation/coerce.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "data/data.h"
#include "host/host.h"
#include "web/xlsx_sheet.h"

namespace web {

namespace {

using automation::InvokeKind;
using automation::Text;
using automation::TextView;
using automation::Variant;
using automation::kMethod;
namespace meet = arenix::meet;

enum ResultSheetMember { kSend };
const automation::MemberTable kResultSheetMembers{{u"Send", kSend, kMethod, 6, 6}};

constexpr char16_t kXlsxType[] = u"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";

Text Str(const data::Recordset& rs, TextView name) {
  const Variant v = rs.Field(name);
  return v.IsNull() || v.IsEmpty() ? Text() : automation::CStr(v);
}
Text Trimmed(const data::Recordset& rs, TextView name) { return automation::Trim(Str(rs, name)); }
bool Flag(const data::Recordset& rs, TextView name) {
  const Variant v = rs.Field(name);
  return !v.IsNull() && !v.IsEmpty() && automation::CBool(v);
}

// A whole number cell; empty for 0 and below (no heat, no lane, no place).
SheetCell Positive(const data::Recordset& rs, TextView name) {
  const auto n = automation::ParseNumber(Trimmed(rs, name));
  return n && *n > 0 ? SheetCell(*n) : SheetCell();
}

SheetTable ReadTable(data::Recordset& rs, const Text& title, int edition, int time_style, bool final_stage) {
  SheetTable t;
  t.name = title;
  t.title = title;
  t.header = {u"编号", u"姓名", u"代表队", u"组次", u"道次", u"成绩", u"成绩数值", u"名次", u"破纪录"};
  if (final_stage) t.header.push_back(u"得分");
  t.widths = {8, 14, 16, 6, 6, 12, 10, 6, 8, 6};
  Text unit;
  for (; !rs.Eof(); rs.MoveNext()) {
    Text kind = Trimmed(rs, u"径赛田赛");
    const Text sub = Trimmed(rs, u"参赛子项目"), custom = Trimmed(rs, u"自定义格式"), stored = Str(rs, u"比赛成绩");
    // A combined event's sub-event is a run or a jump; its own row a total.
    if (kind == meet::kCombinedKind && !sub.empty())
      kind = sub.find(u"米") != Text::npos ? meet::kTrackKind : meet::kFieldKind;
    const meet::ResultLayout layout = meet::LayoutOf(custom, kind, edition, time_style);
    if (unit.empty())
      unit = layout == meet::ResultLayout::kField ? u"成绩（米）"
             : layout == meet::ResultLayout::kTime || layout == meet::ResultLayout::kTimeWithHours ? u"成绩（秒）"
                                                                                                   : u"成绩数值";
    const auto number = meet::MarkNumber(layout, stored);
    // No result, no place (the ranking orders such entrants last).
    const SheetCell place = meet::IsEmptyResult(stored) ? SheetCell() : Positive(rs, u"比赛名次");
    std::vector<SheetCell> row{
        Trimmed(rs, u"编号"),
        Flag(rs, u"集体项目") && !Trimmed(rs, u"比赛团队").empty() ? Trimmed(rs, u"比赛团队") : Trimmed(rs, u"运动员"),
        Trimmed(rs, u"代表队"),
        Positive(rs, u"比赛组次"),
        Positive(rs, u"比赛道次"),
        automation::Trim(meet::FormatResult(kind, custom, stored, edition, time_style)),
        number ? SheetCell(*number) : SheetCell(),
        place,
        Text(Flag(rs, u"比赛破记录") ? u"√" : u""),
    };
    if (final_stage) {
      const auto points = automation::ParseNumber(Trimmed(rs, u"比赛得分"));
      row.push_back(std::holds_alternative<double>(place) && points ? SheetCell(*points) : SheetCell());
    }
    t.rows.push_back(std::move(row));
  }
  if (!unit.empty()) t.header[6] = unit;
  return t;
}

class ResultSheet : public automation::Object {
 public:
  Text ClassName() const override { return u"ResultSheet"; }
  const automation::MemberTable* Members() const override { return &kResultSheetMembers; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    if (kResultSheetMembers.Resolve(name, kind, args.size()) != kSend) return Object::Invoke(name, kind, args);
    auto& response = automation::ObjectCast<host::Response>(*args[0]);
    auto& rs = automation::ObjectCast<data::Recordset>(*args[1]);
    const Text title = automation::CStr(*args[2]);
    const SheetTable table = ReadTable(rs, title, automation::CLng(*args[3]), automation::CLng(*args[4]),
                                       automation::CLng(*args[5]) == 4);
    const automation::Bytes bytes = XlsxBytes(table);
    response.Clear();
    response.SetContentType(kXlsxType);
    response.AddHeader(u"Content-Disposition",
                       u"attachment;filename=" + arenix::show::SheetFileName(title) + u".xlsx");
    response.BinaryWrite(bytes);
    return Variant();
  }
};

}  // namespace

void RegisterResultSheetClass() {
  automation::RegisterClass(u"Arenix.ResultSheet", [] { return std::make_shared<ResultSheet>(); });
}

}  // namespace web
