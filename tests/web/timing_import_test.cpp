// The photo-finish import through the running site: the start lists the
// camera is given, a result file written from them uploaded and previewed
// (which saves nothing), the confirm posted through result entry's save,
// and the files that must be refused with their reason and nothing saved.
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "arenix/meet/stage_field.h"
#include "arenix/meet/result_entry_db.h"
#include "automation/coerce.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "data/classes.h"
#include "data/connection.h"
#include "data/dbf/test_files.h"
#include "support/node.h"
#include "web/desk_site.h"

namespace web_test {
namespace {

using automation::FromUtf8;
using automation::ToUtf8;

const char kHeats[] = "高中组 男子 100米 预赛";

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::vector<std::string> Split(const std::string& line, char sep) {
  std::vector<std::string> out;
  std::string field;
  std::stringstream ss(line);
  while (std::getline(ss, field, sep)) out.push_back(field);
  if (!line.empty() && line.back() == sep) out.emplace_back();
  return out;
}

// One heat of the exported ".evt" start list.
struct EvtHeat {
  std::string event, round, heat;
  std::vector<std::vector<std::string>> athletes;  // "", id, lane, last, first, affiliation
};

EvtHeat FindHeat(const std::string& evt, const std::string& label, const std::string& heat) {
  EvtHeat out;
  bool in = false;
  std::stringstream ss(evt);
  for (std::string line; std::getline(ss, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> f = Split(line, ',');
    if (!line.empty() && line[0] != ',') {
      in = f.size() >= 4 && f[3] == label && f[2] == heat;
      if (in) out = {f[0], f[1], f[2], {}};
    } else if (in) {
      out.athletes.push_back(f);
    }
  }
  return out;
}

// A multipart upload of `bytes` as the form's "lif" file.
Page Upload(Client& c, int port, const std::string& name, const std::string& bytes) {
  const std::string boundary = "----arenixTimingBoundary";
  const std::string body = "--" + boundary + "\r\nContent-Disposition: form-data; name=\"lif\"; filename=\"" + name +
                           "\"\r\nContent-Type: application/octet-stream\r\n\r\n" + bytes + "\r\n--" + boundary +
                           "--\r\n";
  const std::string host = "127.0.0.1:" + std::to_string(port);
  const std::string req = "POST /timing.asp HTTP/1.1\r\nHost: " + host + "\r\nConnection: close\r\nReferer: http://" +
                          host + "/timing.asp\r\nCookie: ARENIXSESSIONID=" + c.session +
                          "\r\nContent-Type: multipart/form-data; boundary=" + boundary +
                          "\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  const std::string raw = RawTo(port, req, 30000);
  Page p;
  p.status = StatusOf(raw);
  p.body = ToUtf8(automation::FromGbk(BodyOf(raw)));
  return p;
}

// The hidden fields of the preview's confirm form.
std::vector<std::pair<std::string, std::string>> ConfirmFields(const std::string& page) {
  std::vector<std::pair<std::string, std::string>> out;
  const size_t form = page.find("name=\"timingform\"");
  if (form == std::string::npos) return out;
  const std::string part = page.substr(form, page.find("</form>", form) - form);
  static const std::regex hidden("<input type=\"hidden\" name=\"([^\"]*)\" value=\"([^\"]*)\">");
  for (std::sregex_iterator it(part.begin(), part.end(), hidden), end; it != end; ++it)
    out.emplace_back((*it)[1], (*it)[2]);
  return out;
}

// The men's 100 m heats of the senior group as stored: entry number ->
// the stage field's columns.
std::map<std::string, arenix::meet::StageColumns> StoredHeats(const std::string& data) {
  data::RegisterClasses();
  automation::Variant conn(automation::CreateObject(u"Adodb.Connection"));
  automation::ObjectCast<data::Connection>(conn).Open(u"provider=vfpoledb;data source=" + FromUtf8(data));
  automation::Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
  arenix::meet::WldfDb db(conn, rs);
  const auto rows = db.Read(
      u"Select 编号, 预赛信息 From Play Where AllTrim(参赛项目)=='100米' And AllTrim(年龄组)=='高中组' And 性别=.T.");
  std::map<std::string, arenix::meet::StageColumns> out;
  for (size_t r = 0; r < rows.size(); ++r)
    out[ToUtf8(automation::Trim(automation::CStr(rows.At(r, u"编号"))))] =
        arenix::meet::UnpackStageField(automation::CStr(rows.At(r, u"预赛信息")));
  automation::ObjectCast<data::Connection>(conn).Close();
  return out;
}

std::string Header(const EvtHeat& h, const std::string& heat, const std::string& wind = "+1.3") {
  return h.event + "," + h.round + "," + heat + "," + kHeats + "," + wind + ",m/s\r\n";
}

TEST(TimingImport, AnUploadedFileIsPreviewedThenSavedThroughResultEntry) {
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");
  const Page evt = track.Get("/timing.asp?export=evt");
  ASSERT_EQ(evt.status, 200);
  EXPECT_NE(evt.headers.find("attachment"), std::string::npos);
  const std::string evt_text = evt.body;
  const EvtHeat heat = FindHeat(evt_text, kHeats, "1");
  ASSERT_GE(heat.athletes.size(), 4u) << evt_text.substr(0, 600);
  const Page ppl = track.Get("/timing.asp?export=ppl");
  EXPECT_NE(ppl.body.find(heat.athletes[0][1] + "," + heat.athletes[0][3] + ","),
            std::string::npos);

  // The camera's file: a winner in thousandths, a tie, a DNS, the rest
  // finishing; lanes and names as the start list gave them.
  const auto& a = heat.athletes;
  std::string lif = Header(heat, "1");
  const std::vector<std::string> places = {"1", "2", "2", "DNS"};
  const std::vector<std::string> times = {"10.231", "10.50", "10.50", ""};
  for (size_t i = 0; i < a.size(); ++i) {
    const std::string place = i < places.size() ? places[i] : std::to_string(i + 1);
    const std::string time = i < times.size() ? times[i] : "11." + std::to_string(10 + i);
    lif += place + "," + a[i][1] + "," + a[i][2] + "," + a[i][3] + ",," + a[i][5] + "," + time + "\r\n";
  }
  const std::string play = site.data() + "/Play.dbf";
  const std::string before = FileBytes(play);
  const Page preview = Upload(track, site.server().port(), "heat1.lif", automation::ToGbk(FromUtf8(lif)));
  ASSERT_EQ(preview.status, 200);
  EXPECT_EQ(preview.body.find("timing-refused"), std::string::npos) << preview.body.substr(0, 3000);
  EXPECT_NE(preview.body.find("10.24"), std::string::npos);  // 10.231 handed over
  EXPECT_NE(preview.body.find("风速 +1.3"), std::string::npos);
  EXPECT_EQ(FileBytes(play), before) << "a preview saves nothing";

  const auto fields = ConfirmFields(preview.body);
  ASSERT_FALSE(fields.empty()) << preview.body.substr(0, 3000);
  const Page saved = track.Post("/entry.asp", fields);
  ASSERT_EQ(saved.status, 302) << saved.body.substr(0, 1500);
  EXPECT_NE(saved.location.find("saved=1"), std::string::npos);

  const auto stored = StoredHeats(site.data());
  const auto& first = stored.at(a[0][1]);
  EXPECT_EQ(ToUtf8(automation::Trim(first.result)), "1024");
  EXPECT_EQ(first.heat_place, 1);
  EXPECT_EQ(ToUtf8(first.wind), "+1.3");
  EXPECT_EQ(stored.at(a[1][1]).heat_place, 2);
  EXPECT_EQ(stored.at(a[2][1]).heat_place, 2);  // the tie
  EXPECT_EQ(ToUtf8(automation::Trim(stored.at(a[2][1]).result)), "1050");
  EXPECT_EQ(ToUtf8(stored.at(a[3][1]).call_room), "DNS");
  EXPECT_EQ(ToUtf8(automation::Trim(stored.at(a[3][1]).result)), "");
  EXPECT_EQ(ToUtf8(first.call_room), "");

  // The results read back as typed ones do, and the audit log has the save.
  const Page results = track.Get("/entry.asp?age=" + web::PercentEncode(automation::ToGbk(u"高中组")) + "&sex=" +
                                 web::PercentEncode(automation::ToGbk(u"男")) + "&item=" +
                                 web::PercentEncode(automation::ToGbk(u"100米")) + "&item_sub=&sc=1&zc=1");
  EXPECT_NE(results.body.find("已录入"), std::string::npos);
}

TEST(TimingImport, FilesThatDoNotMatchSayWhyAndSaveNothing) {
  DeskSite site([](web::ServerConfig& c) { c.limits.timing_file_bytes = 2048; });
  Client track(site);
  track.Login("jilu1", "123456");
  const EvtHeat heat =
      FindHeat(track.Get("/timing.asp?export=evt").body, kHeats, "1");
  ASSERT_FALSE(heat.athletes.empty());
  const auto& a = heat.athletes[0];
  const std::string line = "1," + a[1] + "," + a[2] + "," + a[3] + ",," + a[5] + ",10.50\r\n";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"PK\x03\x04 not a result file", "不是计时结果文件（.lif）"},
      {"999,1,1,某项目\r\n" + line, "文件中的项目号 999（某项目）不是本运动会的项目"},
      {Header(heat, "9") + line, "没有第 9 组"},
      {heat.event + ",7,1,x\r\n" + line, "没有文件中的第 7 轮"},
      {Header(heat, "1") + "1,99999,1,无名,,无,10.50\r\n", "编号 99999 不在本赛次"},
      {Header(heat, "1") + line + "2," + a[1] + ",2,x,,y,10.60\r\n", "已出现"},
      {"", "没有选择文件"},
      {std::string(3000, '1'), "文件大于 2 KB"},
  };
  const std::string play = site.data() + "/Play.dbf";
  const std::string before = FileBytes(play);
  for (const auto& [lif, why] : cases) {
    const Page p = Upload(track, site.server().port(), "bad.lif", lif);
    EXPECT_EQ(p.status, 200);
    EXPECT_NE(p.body.find(why), std::string::npos) << why << "\n" << p.body.substr(0, 2500);
    EXPECT_NE(p.body.find("没有保存任何成绩"), std::string::npos) << why;
    EXPECT_EQ(p.body.find("timing-confirm"), std::string::npos) << why;
  }
  // Markup in a file is shown as text.
  const Page markup = Upload(track, site.server().port(), "x.lif", "1,1,1,<script>alert(1)</script>\r\n<b>x</b>");
  EXPECT_EQ(markup.body.find("<script>alert(1)"), std::string::npos);
  EXPECT_EQ(markup.body.find("<b>x</b>"), std::string::npos);

  // A forged confirm with a status the import never gives is refused whole.
  std::vector<std::pair<std::string, std::string>> form = {
      {"age", "高中组"}, {"sex", "男"}, {"item", "100米"}, {"item_sub", ""}, {"zdygs", ""}, {"TsJs", "径赛"},
      {"Jtxm", "False"}, {"JsFd", "True"}, {"scs", "2"}, {"sc", "1"}, {"zc", "1"}, {"bsjg", "0"}, {"Record", ""},
      {"timing", "1"}, {"timing_wind", "+0.5"}, {"ydy_bh_list", "|" + a[1]}, {"playcj_2_" + a[1], "10"},
      {"playcj_3_" + a[1], "50"}, {"playjl_" + a[1], "'); Drop"}};
  const Page forged = track.Post("/entry.asp", form);
  EXPECT_NE(forged.body.find("应为 DNS、DNF、DQ 或空"), std::string::npos) << forged.body.substr(0, 1500);
  form.back().second = "";
  form[14].second = "calm";
  EXPECT_NE(track.Post("/entry.asp", form).body.find("风速“calm”不是数字"), std::string::npos);
  EXPECT_EQ(FileBytes(play), before);
}

TEST(TimingImport, TheWatchedFolderIsListedOnTheEntryPageAndPreviewedFromThere) {
  dbf_test::TempDir folder;
  DeskSite site([&](web::ServerConfig& c) { c.timing_dir = folder.path(); });
  Client track(site);
  track.Login("jilu1", "123456");
  EXPECT_NE(track.Get("/entry.asp").body.find("计时文件夹中还没有结果文件"), std::string::npos);

  const EvtHeat heat =
      FindHeat(track.Get("/timing.asp?export=evt").body, kHeats, "1");
  ASSERT_FALSE(heat.athletes.empty());
  std::string lif = Header(heat, "1");
  for (size_t i = 0; i < heat.athletes.size(); ++i) {
    const auto& a = heat.athletes[i];
    lif += std::to_string(i + 1) + "," + a[1] + "," + a[2] + "," + a[3] + ",," + a[5] + ",11." +
           std::to_string(10 + i) + "\r\n";
  }
  std::ofstream(folder.File("第1组.lif"), std::ios::binary) << lif;  // the camera writes UTF-8 here
  std::ofstream(folder.File("notes.txt")) << "not a result file";

  const Page entry = track.Get("/entry.asp");
  EXPECT_NE(entry.body.find("第1组.lif"), std::string::npos);
  EXPECT_EQ(entry.body.find("notes.txt"), std::string::npos);
  const std::string link = "timing.asp?file=" + web::PercentEncode(automation::ToGbk(u"第1组.lif"));
  EXPECT_NE(entry.body.find(link), std::string::npos) << entry.body.substr(0, 3000);
  const Page preview = track.Get("/" + link);
  EXPECT_NE(preview.body.find("timing-confirm"), std::string::npos) << preview.body.substr(0, 3000);
  EXPECT_NE(preview.body.find("11.10"), std::string::npos);

  // Only the listed files are read, whatever the name asks for.
  for (const std::string name : {"../data/Play.dbf", "notes.txt", "/etc/passwd", "nothing.lif"})
    EXPECT_NE(track.Get("/timing.asp?file=" + web::PercentEncode(name)).body.find("计时文件夹中没有这个文件"),
              std::string::npos)
        << name;

  // The start lists are for the meet's staff only.
  Client visitor(site);
  EXPECT_EQ(visitor.Get("/timing.asp?export=evt").status, 302);
  // The import page leads to the login and back to the file asked for.
  const Page login = visitor.Get("/timing.asp?file=" + web::PercentEncode(automation::ToGbk(u"第1组.lif")));
  EXPECT_EQ(login.status, 302);
  EXPECT_EQ(login.location, "login.asp?back=" + web::PercentEncode("timing.asp?file=" +
                                                                   web::PercentEncode(automation::ToGbk(u"第1组.lif"))));
  Client organiser(site);
  organiser.Login("admin", "admin2025");
  EXPECT_EQ(organiser.Get("/timing.asp?export=ppl").status, 200);
  EXPECT_NE(organiser.Get("/admin/startlist.asp").body.find("../timing.asp?export=evt"), std::string::npos);
}


TEST(TimingImport, ARecorderChecksAndConfirmsAFileInTheBrowser) {
  ARENIX_BROWSER_TEST();
  DeskSite site;
  Client track(site);
  track.Login("jilu1", "123456");
  const EvtHeat heat =
      FindHeat(track.Get("/timing.asp?export=evt").body, kHeats, "1");
  ASSERT_GE(heat.athletes.size(), 2u);
  std::string good = Header(heat, "1"), bad = Header(heat, "9");
  for (size_t i = 0; i < heat.athletes.size(); ++i) {
    const auto& a = heat.athletes[i];
    // The first two swapped lanes on the camera's list.
    const std::string lane = i < 2 ? heat.athletes[1 - i][2] : a[2];
    const std::string row = std::to_string(i + 1) + "," + a[1] + "," + lane + "," + a[3] + ",," + a[5] + ",1" +
                            std::to_string(i) + "." + std::to_string(231 + i) + "\r\n";
    good += row;
    bad += row;
  }
  const std::string shots = arenix::testing::ArtifactDir("timing");
  std::ofstream(shots + "/heat1.lif", std::ios::binary) << automation::ToGbk(FromUtf8(good));
  std::ofstream(shots + "/heat9.lif", std::ios::binary) << automation::ToGbk(FromUtf8(bad));
  auto run = arenix::testing::RunNode({std::string(ARENIX_SOURCE_DIR) + "/tests/web/timing_browser.js",
                                       std::to_string(site.server().port()), shots, shots + "/heat1.lif",
                                       shots + "/heat9.lif"});
  EXPECT_EQ(run.status, 0) << run.output;
  for (const char* shot : {"timing-01-preview", "timing-02-saved", "timing-03-refused"})
    EXPECT_TRUE(std::filesystem::exists(shots + "/" + shot + ".png")) << shot;
}

}  // namespace
}  // namespace web_test
