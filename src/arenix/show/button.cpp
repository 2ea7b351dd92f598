#include "arenix/show/button.h"

#include "arenix/page/window_scripts.h"
#include "automation/runtime.h"

namespace arenix::show {

Text ShowButton(const ButtonSpec& spec) {
  static const ButtonSpec kDefaults;
  auto or_default = [](const Text& given, const Text& fallback) {
    return automation::Trim(given).empty() ? fallback : given;
  };
  const Text type = or_default(spec.type, kDefaults.type);
  const Text name = or_default(spec.name, kDefaults.name);
  Text out = u"<input  type='" + type + u"'  name='" + name + u"' id='" +
             or_default(spec.id, kDefaults.id) + u"' value='" +
             or_default(spec.caption, kDefaults.caption) + u"' class='" +
             or_default(spec.css_class, kDefaults.css_class) + u"' ";
  if (automation::LCase(type) == u"submit") out += u" onkeydown='this.click()' ";
  Text script = spec.script;
  if (script.empty() && automation::LCase(name) == u"cancel") script = page::CloseWindowNoMessagebox();
  if (!script.empty()) out += u" onClick='" + script + u"'";
  out += u">";
  return out;
}

}  // namespace arenix::show
