// The page's buttons: one input element with the site's button class.
#pragma once

#include "automation/text.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;

/// What a button is made of; a blank type, name, id, caption or class takes
/// the default shown.
struct ButtonSpec {
  Text type = u"submit";
  Text name = u"save";
  Text id = u"save";
  Text caption = u"-=保存=-";
  Text css_class = u"button_image";
  Text script;  // the click handler; blank with the name "cancel": close the window
};

/// CommShowButton: a submit button also clicks on a key press.
Text ShowButton(const ButtonSpec& spec);

}  // namespace arenix::show
