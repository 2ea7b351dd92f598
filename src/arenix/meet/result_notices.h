// Who hears of a saved stage: the web module's live result streams listen
// here, and the result save announces each stage once its writes have been
// committed (never a save that was undone). Listeners run on the saving
// thread and must be quick.
//
// Thread-safe.
#pragma once

#include <functional>
#include <string>

namespace arenix::meet {

/// One stage of one event whose results were saved. Texts in UTF-8; `sex`
/// is 男 or 女, or 混 for a mixed event.
struct SavedStage {
  std::string folder;  // the meet's data folder
  std::string item, age, sex, item_sub;
  int stage = 0;  // 1-4
};

using ResultListener = std::function<void(const SavedStage&)>;

/// Registers a listener; the number removes it again.
int AddResultListener(ResultListener listener);
void RemoveResultListener(int id);

/// Tells every listener (a failing listener does not stop the others).
void AnnounceSavedStage(const SavedStage& stage);

}  // namespace arenix::meet
