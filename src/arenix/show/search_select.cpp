#include "arenix/show/search_select.h"

#include "arenix/page/encode.h"
#include "automation/error.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::show {

Text SearchSelect(Variant& request, int16_t title_type, TextView title_list) {
  const auto& req = automation::ObjectCast<host::Request>(request);
  const Text chosen = req.Item(u"moden");
  Text out = u"<select name='moden' class='inputselect'>";
  switch (title_type) {
    case 0: out += u"<option value=''>-=请选择查询项目(并排序)=-</option>"; break;
    case 1: out += u"<option value=''>-=请选择查询项目=-</option>"; break;
    case 2: out += u"<option value=''>-=请选择排序项目=-</option>"; break;
    default: break;
  }
  for (const Text& entry : automation::Split(title_list, u"||")) {
    const std::vector<Text> parts = automation::Split(entry, u"|");
    if (parts.size() < 2) {
      throw automation::Error(automation::err::kSubscript);
    }
    out += u"<option  value='" + parts[0] + u"' " + (parts[0] == chosen ? u" selected " : u"") +
           u">" + parts[1] + u"</option>";
  }
  out += u"</select>&nbsp;  关键字：<input type='text' name='keyword' size='10' maxlength='12' value='" +
         page::HtmlEscape(req.Item(u"keyword")) + u"'>";
  return out;
}

}  // namespace arenix::show
