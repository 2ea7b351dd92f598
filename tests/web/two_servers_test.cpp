// Two `arenix serve` processes on one meet folder behind nginx, configured
// from the shipped packaging/nginx-arenix.conf: sessions stay with the
// server that holds them, saves through both servers at once all land
// (the meet's write lock holds across processes), and a public page is
// fresh within a second of a save whichever server made it.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "web/desk_site.h"

namespace web_test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

int FreePort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  socklen_t len = sizeof addr;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  ::close(fd);
  return ntohs(addr.sin_port);
}

// A child process with its output in a file; stopped with SIGTERM when
// destroyed.
class Child {
 public:
  Child(const std::vector<std::string>& argv, const std::string& log) {
    pid_ = ::fork();
    if (pid_ == 0) {
      int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::dup2(fd, 1);
      ::dup2(fd, 2);
      std::vector<char*> args;
      for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
  }
  ~Child() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

 private:
  pid_t pid_ = -1;
};

bool Serves(int port) {
  for (int i = 0; i < 300; ++i) {
    if (StatusOf(RawTo(port, "GET / HTTP/1.0\r\n\r\n", 2000)) == 200) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// The sample meet served by two processes (nodes a and b) and nginx in
// front, in a temporary folder.
class TwoServers {
 public:
  TwoServers() : a_port(FreePort()), b_port(FreePort()), front_port(FreePort()) {
    std::filesystem::copy(std::string(ARENIX_SOURCE_DIR) + "/site", files_.site(),
                          std::filesystem::copy_options::recursive);
    arenix::meet::demo::WriteDemoMeet(files_.data(), {true});
    const std::string work = std::filesystem::path(files_.data()).parent_path().string();
    for (const char* dir : {"/cache", "/temp"}) std::filesystem::create_directories(work + dir);
    a_log = work + "/a.log";
    a_ = std::make_unique<Child>(Serve("a", a_port, {"--log", a_log}), work + "/a.out");
    b_ = std::make_unique<Child>(Serve("b", b_port, {"--quiet"}), work + "/b.out");

    std::string site_conf = ReadFile(std::string(ARENIX_SOURCE_DIR) + "/packaging/nginx-arenix.conf");
    Replace(site_conf, "127.0.0.1:8081", "127.0.0.1:" + std::to_string(a_port));
    Replace(site_conf, "127.0.0.1:8082", "127.0.0.1:" + std::to_string(b_port));
    Replace(site_conf, "listen 80;", "listen 127.0.0.1:" + std::to_string(front_port) + ";");
    Replace(site_conf, "/var/cache/nginx/arenix", work + "/cache");
    std::ofstream(work + "/arenix.conf") << site_conf;
    std::ofstream(work + "/nginx.conf") << "user root;\ndaemon off;\npid " << work << "/nginx.pid;\nerror_log " << work
                                         << "/nginx-error.log;\nevents { worker_connections 256; }\nhttp {\n"
                                         << "  access_log off;\n"
                                         << "  client_body_temp_path " << work << "/temp/body;\n"
                                         << "  proxy_temp_path " << work << "/temp/proxy;\n"
                                         << "  fastcgi_temp_path " << work << "/temp/fastcgi;\n"
                                         << "  uwsgi_temp_path " << work << "/temp/uwsgi;\n"
                                         << "  scgi_temp_path " << work << "/temp/scgi;\n"
                                         << "  include " << work << "/arenix.conf;\n}\n";
    nginx_ = std::make_unique<Child>(
        std::vector<std::string>{"nginx", "-c", work + "/nginx.conf", "-p", work, "-e", work + "/nginx-error.log"},
        work + "/nginx.out");
    ready = Serves(a_port) && Serves(b_port) && Serves(front_port);
  }

  std::string data() const { return files_.data(); }
  const int a_port, b_port, front_port;
  std::string a_log;
  bool ready = false;

 private:
  static void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) text.replace(at, from.size(), to);
  }
  std::vector<std::string> Serve(const char* node, int port, std::vector<std::string> more) const {
    std::vector<std::string> argv = {ARENIX_CLI,   "serve",  "--site", files_.site(), "--data",    files_.data(),
                                     "--port",     std::to_string(port), "--node", node, "--proxy", "127.0.0.1"};
    argv.insert(argv.end(), more.begin(), more.end());
    return argv;
  }

  TestSite files_;
  std::unique_ptr<Child> a_, b_, nginx_;
};

using Form = std::vector<std::pair<std::string, std::string>>;

// The hidden fields of the entry page's result form and its entry numbers.
struct HeatForm {
  Form hidden;
  std::vector<std::string> numbers;
};

HeatForm ReadHeatForm(Client& recorder, int heat) {
  // age=高中组 sex=男 item=100米 sc=1 (the heats), in the site's GBK links.
  Page p = recorder.Get("/entry.asp?age=%B8%DF%D6%D0%D7%E9&item=100%C3%D7&sex=%C4%D0&sc=1&zc=" + std::to_string(heat));
  HeatForm form;
  const std::regex hidden(R"re(<input type="hidden" name="([A-Za-z_]+)" value="([^"]*)">)re");
  const size_t start = p.body.find("name=\"myform\"");
  if (start == std::string::npos) return form;
  const std::string body = p.body.substr(start);
  for (std::sregex_iterator it(body.begin(), body.end(), hidden), end; it != end; ++it) {
    if ((*it)[1] == "ydy_bh_list") {
      std::stringstream list((*it)[2].str());
      for (std::string number; std::getline(list, number, '|');)
        if (!number.empty()) form.numbers.push_back(number);
    }
    form.hidden.emplace_back((*it)[1], (*it)[2]);
  }
  return form;
}

// Round r's time for the i-th athlete of a heat: (10 + r) seconds and
// (10 i + heat) hundredths, as the page shows it: 13”21.
std::string Mark(int round, size_t i, int heat) {
  char text[32];
  std::snprintf(text, sizeof text, "%d”%02zu", 10 + round, 10 * i + static_cast<size_t>(heat));
  return text;
}

bool Save(Client& recorder, const HeatForm& heat_form, int heat, int round) {
  Form form = heat_form.hidden;
  for (size_t i = 0; i < heat_form.numbers.size(); ++i) {
    const std::string& n = heat_form.numbers[i];
    char hundredths[8];
    std::snprintf(hundredths, sizeof hundredths, "%02zu", 10 * i + static_cast<size_t>(heat));
    form.insert(form.end(),
                {{"playcj_1_" + n, ""}, {"playcj_2_" + n, std::to_string(10 + round)}, {"playcj_3_" + n, hundredths}});
  }
  Page p = recorder.Post("/entry.asp", form);
  return p.status == 302 && p.location.find("saved=1") != std::string::npos;
}

std::string PublicResults(int port, std::string* cache_status = nullptr) {
  const std::string raw = RawTo(port,
                                "GET /results.asp?age=%B8%DF%D6%D0%D7%E9&item=100%C3%D7&sex=%C4%D0&sc=1 HTTP/1.1\r\n"
                                "Host: 127.0.0.1\r\nConnection: close\r\n\r\n",
                                20000);
  if (cache_status) {
    const size_t at = raw.find("X-Cache-Status: ");
    *cache_status = at == std::string::npos ? "" : raw.substr(at + 16, raw.find("\r\n", at) - at - 16);
  }
  return automation::ToUtf8(automation::FromGbk(BodyOf(raw)));
}

// The result table's cells as text: "2102 彭磊阳 第二中学 1 2 16”01 1 ...".
std::string ResultRows(const std::string& page) {
  const size_t start = page.find("<tbody"), end = page.rfind("</tbody>");  // one tbody per heat, or one
  if (start == std::string::npos || end == std::string::npos) return "(no result table)";
  std::string rows;
  bool in_tag = false;
  for (char c : page.substr(start, end - start)) {
    if (c == '<') in_tag = true;
    else if (c == '>') in_tag = false, rows += ' ';
    else if (!in_tag) rows += c;
  }
  return std::regex_replace(rows, std::regex("\\s+"), " ");
}

TEST(TwoServers, SessionsStayWithTheirServerAndConcurrentSavesThroughBothAllLand) {
  TwoServers meet;
  ASSERT_TRUE(meet.ready) << "the servers or nginx did not start";

  // Logins without a session go to either server; each session then stays
  // with the server that made it.
  std::map<char, std::unique_ptr<Client>> recorders;
  for (int i = 0; i < 8 && recorders.size() < 2; ++i) {
    auto c = std::make_unique<Client>(meet.front_port);
    ASSERT_EQ(c->Login("jilu1", "123456").status, 302);
    ASSERT_GE(c->session.size(), 3u);
    const char node = c->session[0];
    ASSERT_EQ(c->session[1], '.') << c->session;
    if (!recorders.count(node)) recorders[node] = std::move(c);
  }
  ASSERT_EQ(recorders.size(), 2u) << "both servers make sessions";
  for (auto& [node, c] : recorders)
    for (int i = 0; i < 4; ++i) ASSERT_EQ(c->Get("/entry.asp").status, 200) << node << ": the session was lost";

  HeatForm heat1 = ReadHeatForm(*recorders['a'], 1), heat2 = ReadHeatForm(*recorders['b'], 2);
  ASSERT_FALSE(heat1.numbers.empty());
  ASSERT_FALSE(heat2.numbers.empty());

  // Spectators' page: kept by nginx between saves (for the half second it
  // was made in: two requests in a row may fall into two).
  std::string status;
  for (int i = 0; i < 3 && status != "HIT"; ++i) {
    PublicResults(meet.front_port);
    PublicResults(meet.front_port, &status);
  }
  EXPECT_EQ(status, "HIT");

  // Heat 1 saved through server a while heat 2 is saved through server b,
  // round after round.
  constexpr int kRounds = 20;
  std::atomic<int> refused{0};
  std::thread through_a([&] {
    for (int r = 1; r <= kRounds; ++r) refused += !Save(*recorders['a'], heat1, 1, r);
  });
  std::thread through_b([&] {
    for (int r = 1; r <= kRounds; ++r) refused += !Save(*recorders['b'], heat2, 2, r);
  });
  through_a.join();
  through_b.join();
  ASSERT_EQ(refused.load(), 0);

  // Every acknowledged save is there, whole: the last round's marks of both
  // heats and nothing of an earlier round, on each server and, a second
  // after the last save, through nginx.
  std::this_thread::sleep_for(std::chrono::milliseconds(1000));
  for (int port : {meet.a_port, meet.b_port, meet.front_port}) {
    const std::string page = PublicResults(port);
    for (size_t i = 0; i < heat1.numbers.size(); ++i)
      EXPECT_NE(page.find(Mark(kRounds, i, 1)), std::string::npos) << port << " heat 1 athlete " << heat1.numbers[i];
    for (size_t i = 0; i < heat2.numbers.size(); ++i)
      EXPECT_NE(page.find(Mark(kRounds, i, 2)), std::string::npos) << port << " heat 2 athlete " << heat2.numbers[i];
    for (int r = 1; r < kRounds; ++r) EXPECT_EQ(page.find(std::to_string(10 + r) + "”"), std::string::npos) << r;
  }
  // Places, points and the stage are as if the saves had come one after
  // the other: saving both heats again in turn changes nothing.
  const std::string concurrent = ResultRows(PublicResults(meet.a_port));
  ASSERT_TRUE(Save(*recorders['a'], heat1, 1, kRounds));
  ASSERT_TRUE(Save(*recorders['b'], heat2, 2, kRounds));
  EXPECT_EQ(ResultRows(PublicResults(meet.a_port)), concurrent);
}

TEST(TwoServers, TheVisitorsAddressComesFromTheProxyOnly) {
  TwoServers meet;
  ASSERT_TRUE(meet.ready) << "the servers or nginx did not start";
  // Through nginx from 127.0.0.2: server a logs the visitor, not nginx.
  // Straight to server a from 127.0.0.3 with a made-up header: not believed.
  EXPECT_EQ(StatusOf(RawTo(meet.front_port, "GET /index.asp?via=proxy HTTP/1.0\r\nCookie: ARENIXSESSIONID=a.0\r\n\r\n",
                           5000, "127.0.0.2")),
            200);
  EXPECT_EQ(StatusOf(RawTo(meet.a_port, "GET /index.asp?via=direct HTTP/1.0\r\nX-Forwarded-For: 10.9.9.9\r\n\r\n",
                           5000, "127.0.0.3")),
            200);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const std::string log = ReadFile(meet.a_log);
  EXPECT_NE(log.find("127.0.0.2 GET /index.asp"), std::string::npos) << log;
  EXPECT_NE(log.find("127.0.0.3 GET /index.asp"), std::string::npos) << log;
  EXPECT_EQ(log.find("10.9.9.9"), std::string::npos) << log;
}

}  // namespace
}  // namespace web_test
