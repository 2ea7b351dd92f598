#include "arenix/meet/registration_team.h"

#include "arenix/page/encode.h"
#include "arenix/page/error_page.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::meet {

using automation::LongToText;
using automation::Replace;

Text NormaliseTeamNames(TextView names) {
  Text t(names);
  for (const char16_t* separator : {u" ", u",", u"，", u"|", u"$"}) t = Replace(t, separator, u"、");
  return Replace(t, u"、、", u"、");
}

Text CheckTeamNames(Variant& request, Variant& response, Variant& conn, Variant& rs, int16_t check_type,
                    int16_t most_names, int16_t longest_name) {
  const bool leaders = check_type == 1;
  const auto& req = automation::ObjectCast<host::Request>(request);
  const Text typed = automation::Trim(req.Form(leaders ? u"TeamOld" : u"TeamTeacher"));
  if (typed.empty()) return {};
  const Text role = leaders ? u"领队" : u"教练";

  const Text names = NormaliseTeamNames(typed);
  const std::vector<Text> pieces = automation::Split(names, u"、");
  const auto count = static_cast<int64_t>(pieces.size());
  if (most_names > 0 && most_names < count) {
    page::WriteErrorPage(response, rs, conn,
                         role + u"人数为【" + LongToText(count) + u"】不能超过" + LongToText(most_names) +
                             u"人，请重输！",
                         false, u"");
    return {};
  }
  if (longest_name < 1) return names;
  for (const Text& piece : pieces) {
    if (static_cast<int64_t>(piece.size()) > longest_name) {
      page::WriteErrorPage(response, rs, conn,
                           role + u"【" + page::HtmlEscape(automation::Trim(piece)) + u"】姓名长度超出了" +
                               LongToText(longest_name) + u"的限制，请重输！",
                           false, u"");
      return {};
    }
  }
  return names;
}

}  // namespace arenix::meet
