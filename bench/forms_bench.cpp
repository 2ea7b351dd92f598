// The form field renderer as an edit page uses it: a form of twenty fields
// of the common types read from the page's record set, a drop-down filled
// from the data dictionary (50 rows in a real free table), and the
// rich-text editor block, whose compressed size is reported beside its
// source size. Rates are forms, lists or blocks per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <string_view>

#include "arenix/frame/arenix_cls.h"
#include "arenix/script/editor.h"
#include "arenix/script/editor_parts.h"
#include "arenix/script/js_sources.h"
#include "arenix/show/form_field.h"
#include "automation/registry.h"
#include "data/data.h"
#include "data/recordset.h"

namespace {

using automation::Text;
using automation::Variant;
using arenix::show::FormField;

FormField Field(int16_t type, const char16_t* field, const char16_t* pop = u"") {
  FormField f;
  f.type = type;
  f.width = 200;
  f.height = 4;
  f.field = field;
  f.pop_field = pop;
  f.state = arenix::show::kStateEdit;
  f.star = u"*";
  return f;
}

void BM_EditFormOfTwentyFields(benchmark::State& state) {
  auto set = std::make_shared<data::StaticRecordset>();
  data::foxsql::Rows rows;
  rows.names = {u"姓名", u"性别", u"生日", u"组别", u"说明", u"通过", u"爱好"};
  rows.rows.push_back({Variant(Text(u"张三丰              ")), Variant(Text(u"男  ")),
                       Variant(automation::Date{45356}), Variant(2.0), Variant(Text(u"百米 & 跳远 <决赛>")),
                       Variant(true), Variant(Text(u"跑步, 跳远"))});
  set->Load(std::move(rows));
  Variant rs{automation::ObjectPtr(set)}, conn;
  const FormField kinds[] = {Field(1, u"姓名"), Field(2, u"生日"), Field(3, u"性别", u"$男$女$"),
                             Field(7, u"组别", u"1|甲组$2|乙组$3|丙组"), Field(5, u"说明"),
                             Field(4, u"通过"), Field(14, u"爱好", u"跑步$跳远$跳高$铅球")};
  size_t bytes = 0;
  for (auto _ : state) {
    Text form;
    for (int i = 0; i < 20; ++i) form += arenix::show::ShowTr(conn, rs, u"", kinds[i % 7]);
    bytes = form.size();
    benchmark::DoNotOptimize(form);
  }
  state.counters["chars"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditFormOfTwentyFields);

void BM_DropDownFromDictionary50Rows(benchmark::State& state) {
  arenix::RegisterClasses();
  const auto folder = std::filesystem::temp_directory_path() /
                      ("arenix_forms_bench_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(folder);
  {
    Variant conn(automation::CreateObject(u"Adodb.Connection"));
    auto& db = automation::ObjectCast<data::Connection>(conn);
    db.Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder.string()));
    db.Execute(u"CREATE TABLE Sjzd FREE (名称 C(20), 分类 C(20), 序号 N(3,0))");
    for (int i = 0; i < 200; ++i) {
      const Text n = automation::FromAscii(std::to_string(i));
      db.Execute(u"INSERT INTO Sjzd VALUES ('项目" + n + u"', '" + (i % 4 == 0 ? Text(u"项目") : Text(u"其他")) +
                 u"', " + n + u")");
    }
    Variant rs;
    FormField f = Field(3, u"项目", u"项目");
    f.state = arenix::show::kStateNew;
    for (auto _ : state) benchmark::DoNotOptimize(arenix::show::ShowTd(conn, rs, f));
    db.Close();
  }
  std::filesystem::remove_all(folder);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DropDownFromDictionary50Rows);

void BM_EditorBlock(benchmark::State& state) {
  size_t size = 0;
  for (auto _ : state) {
    Text block = arenix::script::EditorBlock();
    size = block.size();
    benchmark::DoNotOptimize(block);
  }
  const size_t source = std::u16string_view(arenix::script::js::kEditor).size() +
                        arenix::script::editor::StyleSheet().size() + arenix::script::editor::IconSet().size();
  state.counters["block_chars"] = static_cast<double>(size);
  state.counters["source_chars"] = static_cast<double>(source);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditorBlock);

}  // namespace

BENCHMARK_MAIN();
