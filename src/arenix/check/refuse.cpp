#include "arenix/check/refuse.h"

#include "arenix/page/error_page.h"

namespace arenix::check {

void Refuse(automation::Variant& response, automation::TextView message, bool close_parent,
            automation::TextView dialog_id) {
  automation::Variant no_rs(automation::Text{}), no_conn(automation::Text{});
  page::WriteErrorPage(response, no_rs, no_conn, message, close_parent, dialog_id);
}

}  // namespace arenix::check
