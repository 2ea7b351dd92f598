// The frame around the search controls of a list page (and around the
// paging bar): a one-cell bordered table that may hold a form. The left half
// opens it, the right half closes it.
//
// Form types: empty opens no form; "form" (any case) opens the form named
// "sele", which SearchRight closes; any other name opens a form of that name
// which SearchRight leaves open for the page to close.
#pragma once

#include "automation/text.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;

/// The public method always passes the cell class "searchbg".
inline constexpr char16_t kSearchCellClass[] = u"searchbg";

/// Opens the frame `width` wide ("100%" when empty) with the cell class
/// `cell_class`, and the form for `form_type`.
Text SearchLeft(TextView form_type, TextView width, TextView cell_class);

/// Closes the cell and the frame, and the "sele" form for the form type
/// "form".
Text SearchRight(TextView form_type);

}  // namespace arenix::show
