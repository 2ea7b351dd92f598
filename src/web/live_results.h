// The meet's live results over the server's event streams: the streams'
// requests ("GET /live?topic=..."), taken from the connection loop before a
// worker is, and the saves of this meet's results, published to the topic
// of their stage and to the home page's topic once they are committed.
//
// Saves made by another process (the desktop program, a second server on
// the same folder) are caught by a cheap check once a second: when the
// stage schedule's file (which every save marks) changed and no save here
// explains it, every open topic is told to look again.
//
// Topics: "stage|<event>|<age group>|<sex>|<sub-event>|<stage 1-4>" (sex 男,
// 女, or 混 for a mixed event) and "home". Events: "change", with data
// {"topic": ..., "at": <milliseconds since 1970>}.
//
// Thread-safe.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "web/event_streams.h"

namespace web {

/// The topic of one stage's result list.
std::string StageTopic(const std::string& item, const std::string& age, const std::string& sex,
                       const std::string& item_sub, int stage);
inline constexpr const char* kHomeTopic = "home";

class LiveResults {
 public:
  /// `data_dir`: the meet whose saves are published; `proxies`: addresses
  /// whose X-Forwarded-For names the client; `log`: a line per stream.
  LiveResults(StreamHub& hub, std::string data_dir, std::vector<std::string> proxies,
              std::function<void(const std::string&)> log);
  ~LiveResults();
  LiveResults(const LiveResults&) = delete;
  LiveResults& operator=(const LiveResults&) = delete;

  /// For the connection loop: takes the socket of a stream request over.
  bool TakeOver(int fd, std::string_view request, const std::string& peer);

  /// Publishes a change of the stage's results (and of the home page).
  void StageChanged(const std::string& item, const std::string& age, const std::string& sex,
                    const std::string& item_sub, int stage);

  /// The check for saves of other processes (the hub calls it each second).
  void CheckElsewhere();

 private:
  std::string ScheduleStamp();
  StreamHub& hub_;
  std::string data_dir_;
  std::vector<std::string> proxies_;
  std::function<void(const std::string&)> log_;
  int listener_ = 0;
  std::mutex stamp_mu_;
  std::string stamp_;  // the schedule file's size and time when last looked at
};

}  // namespace web
