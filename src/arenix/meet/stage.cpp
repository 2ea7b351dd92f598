#include "arenix/meet/stage.h"

#include <algorithm>
#include <iterator>

namespace arenix::meet {
namespace {

// Names at position 2n-1 of "预赛次赛复赛决赛".
constexpr const char16_t* kNames[] = {u"预赛", u"次赛", u"复赛", u"决赛"};

}  // namespace

int PageStage(int stage) { return stage == 0 ? kFinalStage : stage; }

Text StageName(int stage) {
  if (stage < 1 || stage > 4) return {};
  return kNames[stage - 1];
}

int StageNumber(TextView name) {
  for (int i = 0; i < 4; ++i)
    if (name == kNames[i]) return i + 1;
  return 0;
}

Text StageFieldColumn(int stage) {
  Text name = StageName(stage);
  return name.empty() ? name : name + u"信息";
}

std::vector<int> StagesOfEvent(int count) {
  switch (count) {
    case 1: return {4};
    case 2: return {1, 4};
    case 3: return {1, 3, 4};
    case 4: return {1, 2, 3, 4};
    default: return {};
  }
}

Neighbours StageNeighbours(int count, int stage) {
  if (count == 1) return {};
  std::vector<int> stages = StagesOfEvent(count);
  auto at = std::find(stages.begin(), stages.end(), stage);
  if (at == stages.end()) return {};
  Neighbours n;
  if (at != stages.begin()) n.previous = StageName(*std::prev(at));
  if (std::next(at) != stages.end()) n.next = StageName(*std::next(at));
  return n;
}

}  // namespace arenix::meet
