// Bodies from real clients: what curl -F and headless Chromium post, caught
// by a test server, parses to the same fields and byte-identical files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>

#include "arenix/file/file_site.h"
#include "automation/coerce.h"
#include "support/loopback_server.h"
#include "support/node.h"
#include "upload_body.h"

namespace arenix::upload {
namespace {

using arenix::testing::LoopbackServer;
using automation::CStr;
using automation::FromUtf8;
using file::testing::Q;
using file::testing::RunShell;
using file::testing::ShellRun;
using testing::Item;
using testing::ItemBytes;
using testing::UploadPage;
namespace fs = std::filesystem;

// Catches posted requests and serves the form page.
struct Capture {
  explicit Capture(std::string form_page)
      : server([this, form_page](const std::string& request) {
          if (request.rfind("GET ", 0) == 0) return LoopbackServer::Response("200 OK", "text/html", form_page);
          std::lock_guard lock(mutex);
          posts.push_back(request);
          return LoopbackServer::Response("200 OK", "text/plain", "ok");
        }) {}
  std::mutex mutex;
  std::vector<std::string> posts;
  LoopbackServer server;
};

// A captured request as the host would pass it to the parser.
std::shared_ptr<Orvel_Class_UploadFile> ParseCaptured(const std::string& raw, const char16_t* charset) {
  size_t end = raw.find("\r\n\r\n");
  std::string head = raw.substr(0, end);
  std::string lower = head;
  for (auto& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  size_t at = lower.find("\r\ncontent-type:");
  std::string type = head.substr(at + 15, head.find("\r\n", at + 2) - at - 15);
  UploadPage page(raw.substr(end + 4), type);
  return page.Parse(u"", -1, -1, charset);
}

struct Files {
  Files() {
    std::string pattern = (fs::temp_directory_path() / "arenix-clients-XXXXXX").string();
    dir = ::mkdtemp(pattern.data());
    std::mt19937 rng(3);
    photo.resize(70000);
    for (auto& c : photo) c = static_cast<char>(rng());
    photo += "\r\n------WebKitFormBoundary\r\n--\r\n";  // boundary look-alikes inside the file
    Write("运动员.jpg", photo);
    Write("报名表.xls", "xls\r\n\r\nbytes");
    Write("empty.txt", "");
  }
  ~Files() { fs::remove_all(dir); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
  }
  std::string Path(const std::string& name) const { return dir + "/" + name; }
  std::string dir, photo;
};

void ExpectTheSameUpload(const Orvel_Class_UploadFile& p, const Files& files) {
  EXPECT_EQ(p.error_id(), kComplete);
  EXPECT_EQ(p.Form(u"title"), u"运动会 2024");
  EXPECT_EQ(p.Form(u"team"), u"一中");
  EXPECT_EQ(p.files()->Count(), 3u);
  auto* photo = Item(p.File(u"docs"));
  ASSERT_TRUE(photo);
  EXPECT_EQ(CStr(photo->FileName), u"运动员.jpg");
  EXPECT_EQ(ItemBytes(p.File(u"docs")), files.photo);
  auto* form = Item(p.FileAt(u"docs", 1));
  ASSERT_TRUE(form);
  EXPECT_EQ(CStr(form->FileName), u"报名表.xls");
  EXPECT_EQ(ItemBytes(p.FileAt(u"docs", 1)), "xls\r\n\r\nbytes");
  auto* empty = Item(p.File(u"empty"));
  ASSERT_TRUE(empty);
  EXPECT_EQ(CStr(empty->FileName), u"empty.txt");
  EXPECT_EQ(ItemBytes(p.File(u"empty")), "");
}

TEST(RealClientsTest, CurlPostsInUtf8AndGbk) {
  Files files;
  Capture capture("");
  std::string url = capture.server.Url("/upload");
  auto post = [&](const std::string& title, const std::string& team, const std::string& photo_name,
                  const std::string& form_name) {
    ShellRun r = RunShell("curl -s -o /dev/null -F " + Q("title=" + title) + " -F " + Q("team=" + team) +
                          " -F " + Q("docs=@" + files.Path("运动员.jpg") + ";filename=" + photo_name) +
                          " -F " + Q("docs=@" + files.Path("报名表.xls") + ";filename=" + form_name) +
                          " -F " + Q("empty=@" + files.Path("empty.txt")) + " " + Q(url));
    ASSERT_EQ(r.status, 0) << r.output;
  };
  post("运动会 2024", "一中", "运动员.jpg", "报名表.xls");
  post("\xD4\xCB\xB6\xAF\xBB\xE1 2024", "\xD2\xBB\xD6\xD0", "\xD4\xCB\xB6\xAF\xD4\xB1.jpg",
       "\xB1\xA8\xC3\xFB\xB1\xED.xls");
  ASSERT_EQ(capture.posts.size(), 2u);
  ExpectTheSameUpload(*ParseCaptured(capture.posts[0], u"UTF-8"), files);
  ExpectTheSameUpload(*ParseCaptured(capture.posts[1], u"GB2312"), files);
}

TEST(RealClientsTest, ChromiumPostsFormsOfGbkAndUtf8Pages) {
  ARENIX_BROWSER_TEST();
  Files files;
  for (const char* charset : {"gbk", "utf-8"}) {
    SCOPED_TRACE(charset);
    std::string page = std::string("<!doctype html><meta charset=") + charset +
                       "><form method=post enctype=multipart/form-data action=/upload>"
                       "<input name=title><input name=team>"
                       "<input type=file name=docs multiple><input type=file name=empty>"
                       "<input type=file name=unused><button id=go>go</button></form>";
    Capture capture(page);
    std::string driver = arenix::testing::WriteTempFile(
        "const { withPage } = require('arenix_browser');\n"
        "withPage(async (page) => {\n"
        "  await page.goto('" + capture.server.Url("/form") + "');\n"
        "  await page.fill('input[name=title]', '运动会 2024');\n"
        "  await page.fill('input[name=team]', '一中');\n"
        "  await page.setInputFiles('input[name=docs]', ['" + files.Path("运动员.jpg") + "', '" +
            files.Path("报名表.xls") + "']);\n"
        "  await page.setInputFiles('input[name=empty]', '" + files.Path("empty.txt") + "');\n"
        "  await Promise.all([page.waitForNavigation(), page.click('#go')]);\n"
        "});\n",
        ".js");
    arenix::testing::NodeRun run = arenix::testing::RunNode({driver});
    fs::remove(driver);
    ASSERT_EQ(run.status, 0) << run.output;
    ASSERT_EQ(capture.posts.size(), 1u);
    auto p = ParseCaptured(capture.posts[0], std::string(charset) == "gbk" ? u"GB2312" : u"UTF-8");
    ExpectTheSameUpload(*p, files);
    EXPECT_TRUE(Item(p->File(u"unused")) == nullptr);  // left empty: no item
  }
}

}  // namespace
}  // namespace arenix::upload
