#include "arenix/show/search_frame.h"

#include "automation/runtime.h"

namespace arenix::show {

using automation::LCase;

Text SearchLeft(TextView form_type, TextView width, TextView cell_class) {
  const Text type = LCase(form_type);
  Text out = u"<table class=Content_border cellpadding=0 cellspacing=1 boarder=0 width='";
  out += width.empty() ? TextView(u"100%") : width;
  out += u"' align=center><tr align=center><td class='";
  out += cell_class;
  out += u"'>";
  if (type == u"form") {
    out += u"<form method='post' name='sele' action='?'>";
  } else if (!type.empty()) {
    out += u"<form method='post' name='" + type + u"' action='?'>";
  }
  return out;
}

Text SearchRight(TextView form_type) {
  return LCase(form_type) == u"form" ? u"</td></form></tr></table>" : u"</td></tr></table>";
}

}  // namespace arenix::show
