// The login desktop: the centred login panel made of caption-and-input rows
// and a button row, the page footer with the product title (which also
// closes the page's database objects), and the page that stops a request
// when the meet's data files are missing.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// CommShowWindowLostFile: checks each "|"-separated name under the site's
/// "\data\" folder; when any is missing, writes the missing-file page
/// naming them, closes `rs` and `conn` and ends the response. Nothing
/// happens when all exist.
void ShowWindowLostFile(Variant& server, Variant& conn, Variant& rs, Variant& response,
                        TextView file_list, TextView unit_name);

/// CommShowCopyRight: closes `rs` and `conn`, then the footer row
/// `show_type` x 50 pixels high (overflow, error 6, beyond 16 bits) with the
/// product and a short (type 1) or long ownership notice, line breaks
/// between them when `show_line` is 1.
Text ShowCopyRight(Variant& conn, Variant& rs, int16_t show_type, int16_t show_line);

/// CommShowLoginButtons: the row with the log-in and exit buttons, or with
/// `info_caption` and a request to call the administrator.
Text ShowLoginButtons(bool enable, TextView info_caption);

/// One caption-and-input row of the login panel (the method's defaults).
struct LoginInputSpec {
  Text caption = u"用户名";
  Text name = u"username";
  Text type = u"text";
  bool enable = true;
  Text value;
  Text placeholder;
  Text other;  // further attributes, written as given
};

/// CommShowLoginInput: the input named "username" gets the focus.
Text ShowLoginInput(const LoginInputSpec& spec);

/// CommShowLoginDesktop: the panel with the unit name, `manager_rows`,
/// the form (posting to `action_url` when it is not blank) around
/// `content`, spacers from `height_list` ("top|middle|bottom", default
/// "30|158|42"; a missing or blank part takes its default, a top height
/// that is not a whole number raises 13), then the footer, which closes
/// `rs` and `conn`.
Text ShowLoginDesktop(Variant& conn, Variant& rs, TextView height_list, TextView title,
                      TextView action_url, TextView content, TextView manager_rows);

}  // namespace arenix::show
