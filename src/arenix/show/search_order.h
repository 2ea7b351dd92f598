// The search condition and order clause that a list page appends to its
// statement (which already has a WHERE clause): the chosen field is searched
// for the keyword with Like and the list is ordered by that field.
#pragma once

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// The text of the keyword box before anything is typed; it searches for
/// nothing.
inline constexpr char16_t kKeywordPlaceholder[] = u"关键字搜索";

struct OrderRequest {
  TextView default_order;   // order used when no field is chosen ("" = "ID Desc")
  TextView field;           // "" = the request's "moden", lower-cased
  TextView desc_fields;     // "|"-separated fields ordered descending
  TextView keyword;         // "" = the request's "keyword"
  TextView table = u"";     // qualifies the field when not empty
};

/// CommGetOrderString. The keyword enters the statement only as a quoted
/// literal (its "%" and "_" keep their Like meaning); a field that is not a
/// plain column name (letters, digits, "_", non-ASCII characters) gives the
/// default order and no condition, so the search box can never change the
/// statement. A memo field "Content" is searched but ordered by "id".
Text SearchOrder(Variant& request, const OrderRequest& order);

/// True when `name` may be written between brackets as a column name.
bool IsPlainColumnName(TextView name);

}  // namespace arenix::show
