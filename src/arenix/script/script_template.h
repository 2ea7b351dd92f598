// Script templates: a few of the browser scripts under js/ carry markers
// "${name}" where the component puts text of its own (statements chosen per
// call, the editor's style sheet). The scripts use no template literals, so
// "${" in them is always such a marker.
#pragma once

#include <initializer_list>
#include <utility>

#include "automation/text.h"

namespace arenix::script {

using automation::Text;
using automation::TextView;

/// `script` with every marker "${name}" replaced by the value given for
/// `name`. Values go in as they are and are not searched for markers.
/// Throws std::logic_error for a marker without a value or a value without
/// a marker: both mean the script and its caller disagree.
/// Example: FillIn(u"a(); ${more} b();", {{u"more", u"c();"}}) == u"a(); c(); b();".
Text FillIn(TextView script, std::initializer_list<std::pair<TextView, TextView>> values);

}  // namespace arenix::script
