#include "web/live_results.h"

#include <algorithm>
#include <chrono>
#include <filesystem>

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include "arenix/meet/result_notices.h"
#include "host/url_form.h"
#include "web/client_address.h"

namespace web {

namespace {

std::string JsonQuote(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

bool SameFolder(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec);
}

// The value of one header of a request head, without regard to the name's case.
std::string HeaderValue(std::string_view head, std::string_view name) {
  size_t at = head.find("\r\n");
  while (at != std::string_view::npos && at + 2 < head.size()) {
    size_t start = at + 2;
    size_t end = head.find("\r\n", start);
    std::string_view line = head.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    size_t colon = line.find(':');
    if (colon == name.size() &&
        std::equal(name.begin(), name.end(), line.begin(), [](char x, char y) { return std::tolower(x) == std::tolower(y); })) {
      std::string v(line.substr(colon + 1));
      v.erase(0, v.find_first_not_of(" \t"));
      v.erase(v.find_last_not_of(" \t") + 1);
      return v;
    }
    at = end;
  }
  return {};
}

}  // namespace

std::string StageTopic(const std::string& item, const std::string& age, const std::string& sex,
                       const std::string& item_sub, int stage) {
  return "stage|" + item + "|" + age + "|" + sex + "|" + item_sub + "|" + std::to_string(stage);
}

LiveResults::LiveResults(StreamHub& hub, std::string data_dir, std::vector<std::string> proxies,
                         std::function<void(const std::string&)> log)
    : hub_(hub), data_dir_(std::move(data_dir)), proxies_(std::move(proxies)), log_(std::move(log)) {
  stamp_ = ScheduleStamp();
  hub_.OnTick([this] { CheckElsewhere(); });
  listener_ = arenix::meet::AddResultListener([this](const arenix::meet::SavedStage& s) {
    if (SameFolder(s.folder, data_dir_)) StageChanged(s.item, s.age, s.sex, s.item_sub, s.stage);
  });
}

LiveResults::~LiveResults() { arenix::meet::RemoveResultListener(listener_); }

// The stage schedule (PlaySour.dbf, found without case): its size and
// modification time.
std::string LiveResults::ScheduleStamp() {
  std::string found;
  if (DIR* d = ::opendir(data_dir_.c_str())) {
    while (dirent* e = ::readdir(d))
      if (strcasecmp(e->d_name, "PlaySour.dbf") == 0) found = data_dir_ + "/" + e->d_name;
    ::closedir(d);
  }
  struct stat st;
  if (found.empty() || ::stat(found.c_str(), &st) != 0) return {};
  return std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

void LiveResults::CheckElsewhere() {
  const std::string now = ScheduleStamp();
  {
    std::lock_guard lock(stamp_mu_);
    if (now == stamp_) return;
    stamp_ = now;
  }
  const auto at = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch()).count();
  for (const std::string& topic : hub_.Topics())
    hub_.Publish(topic, "change",
                 "{\"topic\":" + JsonQuote(topic) + ",\"at\":" + std::to_string(at) + ",\"elsewhere\":true}");
}

void LiveResults::StageChanged(const std::string& item, const std::string& age, const std::string& sex,
                               const std::string& item_sub, int stage) {
  const auto at = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::system_clock::now().time_since_epoch()).count();
  const std::string topic = StageTopic(item, age, sex, item_sub, stage);
  hub_.Publish(topic, "change", "{\"topic\":" + JsonQuote(topic) + ",\"at\":" + std::to_string(at) + "}");
  hub_.Publish(kHomeTopic, "change",
               "{\"topic\":\"home\",\"stage\":" + JsonQuote(topic) + ",\"at\":" + std::to_string(at) + "}");
  // This save's mark on the schedule is explained.
  const std::string now = ScheduleStamp();
  std::lock_guard lock(stamp_mu_);
  stamp_ = now;
}

bool LiveResults::TakeOver(int fd, std::string_view request, const std::string& peer) {
  // "GET /live?topic=... HTTP/1.1"; anything else goes on to a worker.
  if (!request.starts_with("GET /live?") && !request.starts_with("GET /live ")) return false;
  const size_t line_end = request.find("\r\n");
  const std::string_view line = request.substr(0, line_end);
  const size_t target_end = line.find(' ', 4);
  if (target_end == std::string_view::npos) return false;
  const std::string_view target = line.substr(4, target_end - 4);
  std::string topic;
  if (size_t q = target.find('?'); q != std::string_view::npos) {
    std::string_view query = target.substr(q + 1);
    while (!query.empty()) {
      size_t amp = query.find('&');
      std::string_view pair = query.substr(0, amp);
      if (pair.starts_with("topic=")) topic = host::PercentDecode(pair.substr(6));
      query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    }
  }
  const std::string_view head = request.substr(0, request.find("\r\n\r\n") + 2);
  const std::string client = VisitorAddress(peer, HeaderValue(head, "X-Forwarded-For"), proxies_);
  const int status = hub_.Adopt(fd, client, topic, HeaderValue(head, "Last-Event-ID"));
  if (log_) log_("stream " + client + " " + std::to_string(status) + " (" + std::to_string(hub_.streams()) + " open)");
  return true;
}

}  // namespace web
