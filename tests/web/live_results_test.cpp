// Live results and open data through the real site on the sample meet: a
// committed save reaches the streams of its stage and of the home page (a
// refused one reaches none), a client address holds a bounded number of
// streams, and a result list is served as JSON and CSV, with its entity tag,
// for other programs, without identity numbers.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "web/desk_site.h"

namespace web_test {
namespace {

using namespace std::chrono_literals;

std::string Q(const std::string& utf8) { return web::PercentEncode(automation::ToGbk(automation::FromUtf8(utf8))); }
std::string U(const std::string& utf8) { return web::PercentEncode(utf8); }

std::string HeaderOf(const std::string& headers, const std::string& name) {
  const size_t at = headers.find("\r\n" + name + ": ");
  if (at == std::string::npos) return {};
  const size_t start = at + name.size() + 4;
  return headers.substr(start, headers.find("\r\n", start) - start);
}

// An open event stream of the server.
class Stream {
 public:
  Stream(int port, const std::string& topic, const std::string& from = "127.0.0.1") {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    ::inet_pton(AF_INET, from.c_str(), &local.sin_addr);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    std::string req = "GET /live?topic=" + U(topic) + " HTTP/1.1\r\nHost: x\r\nAccept: text/event-stream\r\n\r\n";
    ::send(fd_, req.data(), req.size(), MSG_NOSIGNAL);
  }
  ~Stream() { ::close(fd_); }
  // Reads until `want` has arrived or `wait` has passed; all read so far.
  std::string ReadUntil(const std::string& want, std::chrono::milliseconds wait = 5000ms) {
    auto end = std::chrono::steady_clock::now() + wait;
    while (got_.find(want) == std::string::npos) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buf[4096];
      ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) break;
      got_.append(buf, static_cast<size_t>(n));
    }
    return got_;
  }

 private:
  int fd_ = -1;
  std::string got_;
};

// The recorder's form for the senior men's 100 m heats, every entrant
// listed on the entry page given `seconds` (text as typed).
std::vector<std::pair<std::string, std::string>> HeatsForm(Client& c, const std::string& seconds) {
  Page p = c.Get("/entry.asp?age=" + Q("高中组") + "&sex=" + Q("男") + "&item=" + Q("100米") + "&item_sub=&sc=1&zc=0");
  const std::string key = "name=\"ydy_bh_list\" value=\"";
  const size_t at = p.body.find(key);
  EXPECT_NE(at, std::string::npos);
  const std::string list = p.body.substr(at + key.size(), p.body.find('"', at + key.size()) - at - key.size());
  std::vector<std::pair<std::string, std::string>> form = {
      {"age", "高中组"}, {"sex", "男"},   {"item", "100米"}, {"item_sub", ""}, {"zdygs", ""},     {"TsJs", "径赛"},
      {"Jtxm", "False"}, {"JsFd", "True"}, {"scs", "2"},     {"sc", "1"},      {"zc", "0"},       {"bsjg", "0"},
      {"Record", ""},    {"ydy_bh_list", list}};
  std::stringstream ss(list);
  int i = 0;
  for (std::string n; std::getline(ss, n, '|');)
    if (!n.empty()) form.push_back({"playcj_2_" + n, seconds}), form.push_back({"playcj_3_" + n, std::to_string(10 + i++)});
  return form;
}

TEST(LiveResults, ACommittedSaveReachesItsStageAndTheHomePageARefusedOneNothing) {
  DeskSite site;
  const int port = site.server().port();
  Stream mine(port, "stage|100米|高中组|男||1"), women(port, "stage|100米|高中组|女||1"), home(port, "home");
  for (Stream* s : {&mine, &women, &home}) {
    std::string head = s->ReadUntil("event: hello");
    ASSERT_TRUE(head.starts_with("HTTP/1.1 200 OK\r\n")) << head;
    EXPECT_NE(head.find("text/event-stream"), std::string::npos);
  }
  Client recorder(site);
  recorder.Login("jilu1", "123456");

  Page refused = recorder.Post("/entry.asp", HeatsForm(recorder, "75"));  // seconds must stay below 60
  EXPECT_NE(refused.body.find("应小于60"), std::string::npos) << refused.body.substr(0, 600);
  EXPECT_EQ(mine.ReadUntil("event: change", 500ms).find("event: change"), std::string::npos);

  Page saved = recorder.Post("/entry.asp", HeatsForm(recorder, "11"));
  ASSERT_EQ(saved.status, 302) << saved.body.substr(0, 600);
  const std::string got = mine.ReadUntil("event: change");
  EXPECT_NE(got.find("event: change\ndata: {\"topic\":\"stage|100米|高中组|男||1\",\"at\":"), std::string::npos) << got;
  EXPECT_NE(home.ReadUntil("event: change").find("\"stage\":\"stage|100米|高中组|男||1\""), std::string::npos);
  // Another stage hears of it only through the once-a-second schedule
  // check, which may fire when the save's mark races it (a harmless "look
  // again"), never as a save of its own.
  EXPECT_FALSE(std::regex_search(women.ReadUntil("never", 300ms), std::regex("\"at\":\\d+\\}")));

  // A page opened later is told when its stage last changed.
  Stream late(port, "stage|100米|高中组|男||1");
  EXPECT_EQ(late.ReadUntil("event: hello").find("topic_changed\":0"), std::string::npos);
}

TEST(LiveResults, ASaveByAnotherProgramIsCaughtByTheScheduleCheck) {
  DeskSite site;
  Stream mine(site.server().port(), "stage|100米|高中组|男||1");
  ASSERT_NE(mine.ReadUntil("event: hello").find("200 OK"), std::string::npos);
  // A recorder's view of the entry page writes the stage's columns, but no
  // result: nobody is told.
  Client recorder(site);
  recorder.Login("jilu1", "123456");
  recorder.Get("/entry.asp?age=" + Q("高中组") + "&sex=" + Q("男") + "&item=" + Q("100米") + "&item_sub=&sc=1&zc=0");
  EXPECT_EQ(mine.ReadUntil("event: change", 1500ms).find("event: change"), std::string::npos);
  // Another program marks the schedule, as every save does.
  const std::string schedule = site.data() + "/PlaySour.dbf";
  std::filesystem::last_write_time(schedule, std::filesystem::last_write_time(schedule) + std::chrono::seconds(2));
  EXPECT_NE(mine.ReadUntil("\"elsewhere\":true", 4000ms).find("event: change"), std::string::npos);
}

TEST(LiveResults, OneClientAddressHoldsABoundedNumberOfStreams) {
  DeskSite site([](web::ServerConfig& c) { c.limits.streams_per_client = 2; });
  const int port = site.server().port();
  Stream a(port, "home", "127.0.0.2"), b(port, "home", "127.0.0.2");
  ASSERT_NE(a.ReadUntil("hello").find("200 OK"), std::string::npos);
  ASSERT_NE(b.ReadUntil("hello").find("200 OK"), std::string::npos);
  Stream c(port, "home", "127.0.0.2"), other(port, "home", "127.0.0.3");
  EXPECT_TRUE(c.ReadUntil("\r\n\r\n").starts_with("HTTP/1.1 429")) << c.ReadUntil("");
  EXPECT_NE(other.ReadUntil("hello").find("200 OK"), std::string::npos);
  // The streams take no worker: the pages are still served.
  Client visitor(site);
  EXPECT_EQ(visitor.Get("/index.asp").status, 200);
}

TEST(OpenData, AResultListAsJsonAndCsvWithItsTagAndNoIdentityNumbers) {
  DeskSite site;
  Client recorder(site);
  recorder.Login("jilu1", "123456");
  ASSERT_EQ(recorder.Post("/entry.asp", HeatsForm(recorder, "11")).status, 302);

  Client program(site);
  // A program's UTF-8 query and the site's own GBK links give the same list.
  const std::string utf8 = "?age=" + U("高中组") + "&sex=" + U("男") + "&item=" + U("100米") + "&item_sub=&sc=1";
  const std::string gbk = "?age=" + Q("高中组") + "&sex=" + Q("男") + "&item=" + Q("100米") + "&item_sub=&sc=1";
  Page json = program.Get("/results.json" + utf8);
  ASSERT_EQ(json.status, 200) << json.body.substr(0, 400);
  EXPECT_EQ(program.Get("/results.json" + gbk).body, json.body);
  EXPECT_NE(json.headers.find("Content-Type: application/json; charset=utf-8"), std::string::npos) << json.headers;
  EXPECT_NE(json.headers.find("Access-Control-Allow-Origin: *"), std::string::npos);
  EXPECT_NE(json.body.find("\"competition\":{\"name\":"), std::string::npos) << json.body.substr(0, 300);
  EXPECT_NE(json.body.find("\"events\":[{\"name\":\"100米\",\"sub_event\":\"\",\"age_group\":\"高中组\",\"sex\":\"男\","
                           "\"rounds\":[{\"stage\":1,\"name\":\"预赛\",\"complete\":true,\"heats\":[{\"heat\":1,"),
            std::string::npos)
      << json.body.substr(0, 600);
  // Marks as text and as numbers: 11”10 is 11.1 seconds, placed.
  EXPECT_TRUE(std::regex_search(json.body, std::regex("\"place\":1,\"bib\":\"\\d+\",\"name\":\"[^\"]+\",\"team\":\"[^\"]+\","
                                                      "\"sex\":\"男\",\"age_group\":\"高中组\",\"lane\":\\d,"
                                                      "\"performance\":\"11”10\",\"value\":11.1,\"unit\":\"s\"")))
      << json.body.substr(0, 1200);
  EXPECT_FALSE(std::regex_search(json.body, std::regex("\\d{17}[\\dX]"))) << "an identity number";

  // The same reply again only when it changed.
  const std::string tag = HeaderOf(json.headers, "ETag");
  ASSERT_FALSE(tag.empty());
  EXPECT_FALSE(HeaderOf(json.headers, "Last-Modified").empty());
  program.headers = "If-None-Match: " + tag + "\r\n";
  Page again = program.Get("/results.json" + utf8);
  EXPECT_EQ(again.status, 304);
  EXPECT_TRUE(again.body.empty());
  program.headers.clear();

  Page csv = program.Get("/results.csv" + gbk);
  ASSERT_EQ(csv.status, 200);
  EXPECT_NE(csv.headers.find("Content-Type: text/csv; charset=utf-8"), std::string::npos);
  EXPECT_TRUE(csv.body.starts_with("\xEF\xBB\xBF项目,子项目,年龄组,性别组,赛次,组次,道次,名次,编号,姓名,代表队,成绩,成绩数值,单位"))
      << csv.body.substr(0, 200);
  EXPECT_NE(csv.body.find(",预赛,1,"), std::string::npos);
  EXPECT_NE(csv.body.find(",11”10,11.1,s,"), std::string::npos) << csv.body.substr(0, 600);

  Page meet = program.Get("/meet.json");
  ASSERT_EQ(meet.status, 200);
  EXPECT_NE(meet.body.find("\"records\":[{\"event\":"), std::string::npos);
  EXPECT_NE(meet.body.find("\"name\":\"400米\""), std::string::npos);
  EXPECT_FALSE(std::regex_search(meet.body, std::regex("\\d{17}[\\dX]")));
  EXPECT_EQ(program.Post("/meet.json", {}).status, 405);
  // The page behind the three addresses is not an address of its own.
  EXPECT_EQ(program.Get("/open_data.asp?format=meet.json").status, 404);
  EXPECT_EQ(program.Get("/Open_Data.ASP").status, 404);
}

}  // namespace
}  // namespace web_test
