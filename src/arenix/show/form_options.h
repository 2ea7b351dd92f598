// Option lists of the form field renderer: inline lists written by the page
// ("a$b$c", "1|一组$2|二组") and the lookup tables Sjzd, BuMen and Part.
#pragma once

#include <vector>

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::show::form {

using automation::Text;
using automation::TextView;
using automation::Variant;

struct InlineOption {
  Text value;    // trimmed
  Text caption;  // trimmed; the value again for a plain option
  bool pair = false;  // written as value|caption
};

/// A list holds options when it contains "$".
bool IsInlineList(TextView list);

/// The options of a "$"-separated list; `drop_ends` first drops one leading
/// and one trailing "$" (the drop-down, radio and check-box lists do, the
/// suggestion list does not).
std::vector<InlineOption> InlineOptions(TextView list, bool drop_ends);

/// The statement of the drop-down and suggestion lists: the category `pop`,
/// or when that is blank the departments (field 部门名称), the parts (field
/// Part) or the dictionary category named like the field.
Text ListLookupSql(TextView pop, TextView field);

/// The statement of the radio and check-box lists, whose category is the
/// field's name.
Text ChoiceLookupSql(TextView field);

/// The trimmed 名称 of every row the statement returns, in order (Null as
/// empty). The statement runs on its own record set, closed before return.
std::vector<Text> LookupNames(const Variant& conn, TextView sql);

}  // namespace arenix::show::form
