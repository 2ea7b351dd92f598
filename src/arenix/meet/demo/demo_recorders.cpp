#include "arenix/meet/demo/demo_recorders.h"

#include <unistd.h>

#include "data/dbf/table.h"

namespace arenix::meet::demo {

namespace dbf = data::dbf;
using automation::Text;
using automation::Variant;

namespace {

struct Recorder {
  const char16_t* user;
  const char16_t* name;
  const char16_t* events;
};

// Their passwords live in the site's Account table only (demo_accounts.h):
// the desktop program's MD5 column is left empty.
constexpr Recorder kRecorders[] = {
    {u"jilu1", u"径赛记录组", u"100米,400米,1500米,4×100米接力"},
    {u"jilu2", u"田赛记录组", u"跳远,铅球,1分钟跳绳,四项全能"},
    {u"zongcai", u"总裁判组", u"100米,400米,1500米,跳远,铅球,1分钟跳绳,4×100米接力,四项全能"},
};

}  // namespace

WrittenTable WriteRecorderTable(const std::string& dir, bool overwrite) {
  using dbf::FieldSpec;
  using dbf::FieldType;
  const std::vector<FieldSpec> fields = {
      {u"用户名", FieldType::kCharacter, 20},
      {u"密码", FieldType::kCharacter, 32},
      {u"姓名", FieldType::kCharacter, 20},
      {u"登分项目", FieldType::kCharacter, 200},
  };
  if (overwrite)
    for (const char* ext : {".cdx", ".CDX"}) ::unlink((dir + "/WldfUser" + ext).c_str());
  dbf::CreateOptions options;
  options.overwrite = overwrite;
  auto t = dbf::Table::Create(dir + "/WldfUser.dbf", fields, options);
  for (const Recorder& r : kRecorders)
    t->Append({Variant(Text(r.user)), Variant(Text()), Variant(Text(r.name)), Variant(Text(r.events))});
  WrittenTable w;
  w.file = "WldfUser.dbf";
  w.rows = t->RecordCount();
  return w;
}

}  // namespace arenix::meet::demo
