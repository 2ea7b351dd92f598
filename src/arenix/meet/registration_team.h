// Online registration: the delegation's team leaders (领队) or coaches
// (教练), typed as one field of names. The check normalises the separators
// to "、", limits how many names there are and how long each is, and
// either gives back the normalised text or stops the page with the error
// page (CommWlbmTeamCheck).
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::meet {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The names with every blank, ",", "，", "|" and "$" turned into "、",
/// then every "、、" into "、" (one pass: three separators in a row leave
/// two). Example: NormaliseTeamNames(u"张三, 李四，王五") == u"张三、李四、王五".
Text NormaliseTeamNames(TextView names);

/// CommWlbmTeamCheck. Reads the form field "TeamOld" (check type 1, team
/// leaders) or "TeamTeacher" (coaches), trimmed. Empty gives the empty
/// text. Otherwise the normalised names, split at "、" (empty pieces
/// count), must be no more than `most_names` (when above 0), and each piece
/// no longer than `longest_name` characters (when at least 1); the first
/// broken limit writes the error page (closing `rs` and `conn`) with
///   领队人数为【3】不能超过2人，请重输！
///   教练【name】姓名长度超出了4的限制，请重输！
/// and gives the empty text.
Text CheckTeamNames(Variant& request, Variant& response, Variant& conn, Variant& rs, int16_t check_type,
                    int16_t most_names, int16_t longest_name);

}  // namespace arenix::meet
