#include "arenix/show/form_tags.h"

#include "automation/runtime.h"

namespace arenix::show {

using automation::Trim;

Text ShowFormLeft(TextView action, TextView name, TextView id, TextView key_script, TextView other) {
  const Text form_name = Trim(name).empty() ? Text(u"myform") : Text(name);
  const Text form_id = Trim(id).empty() ? form_name : Text(id);
  const Text keys = Trim(key_script).empty() ? Text(u"if (event.keyCode==13) {return false;}") : Text(key_script);
  Text out = u"<form name='" + form_name + u"'  id='" + form_id + u"'  method='post' ";
  if (automation::LCase(keys) != u"null") out += u"onkeydown='" + automation::Replace(keys, u"'", u"\"") + u"'";
  if (!Trim(other).empty()) out += u" " + Text(other) + u" ";
  return out + u" action='" + Text(action) + u"'>";
}

Text ShowHiddenInput(TextView name, TextView value) {
  return u"<input type='hidden'  name='" + Text(name) + u"' id='" + Text(name) + u"' value='" + Text(value) +
         u"'>";
}

}  // namespace arenix::show
