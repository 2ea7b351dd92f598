#include "arenix/meet/lane_draw.h"

#include <utility>

#include "automation/runtime.h"

namespace arenix::meet {

namespace {

// Int(n * Rnd) as the runtime computes it: a single-precision product.
size_t RandomIndex(size_t n) {
  const auto i = static_cast<size_t>(automation::Int(static_cast<float>(n) * automation::Rnd()));
  return i < n ? i : n - 1;
}

}  // namespace

Text LaneShuffle(TextView lanes) {
  Text t = automation::Trim(lanes);
  if (t.size() <= 1) return t;
  automation::Randomize();
  const size_t n = t.size();
  const size_t swaps = RandomIndex(n);
  for (size_t j = 0; j <= swaps; ++j) std::swap(t[j], t[RandomIndex(n)]);
  return t;
}

Text LaneGroupDraw(TextView lanes, int group) {
  Text t = automation::Trim(lanes);
  if (t.size() <= 1 || group < 1) return t;
  const size_t size = static_cast<size_t>(group);
  Text out;
  for (size_t at = 0; at < t.size(); at += size) out += LaneShuffle(TextView(t).substr(at, size));
  return out;
}

Text LaneCustomDraw(TextView groups) {
  if (groups.find(u'|') == TextView::npos) return Text(groups);
  Text out;
  for (const Text& piece : automation::Split(groups, u"|")) out += LaneShuffle(piece);
  return out;
}

}  // namespace arenix::meet
