#include "arenix/script/script_template.h"

#include <stdexcept>
#include <vector>

namespace arenix::script {

Text FillIn(TextView script, std::initializer_list<std::pair<TextView, TextView>> values) {
  std::vector<bool> used(values.size(), false);
  Text out;
  out.reserve(script.size());
  size_t pos = 0;
  for (size_t at = script.find(u"${"); at != TextView::npos; at = script.find(u"${", pos)) {
    const size_t close = script.find(u'}', at + 2);
    if (close == TextView::npos) throw std::logic_error("script template: unclosed marker");
    const TextView name = script.substr(at + 2, close - at - 2);
    size_t index = 0;
    for (const auto& value : values) {
      if (value.first == name) break;
      ++index;
    }
    if (index == values.size())
      throw std::logic_error("script template: no value for ${" + automation::ToUtf8(name) + "}");
    used[index] = true;
    out.append(script.substr(pos, at - pos));
    out.append((values.begin() + index)->second);
    pos = close + 1;
  }
  out.append(script.substr(pos));
  size_t index = 0;
  for (const auto& value : values) {
    if (!used[index++])
      throw std::logic_error("script template: no marker ${" + automation::ToUtf8(value.first) + "}");
  }
  return out;
}

}  // namespace arenix::script
