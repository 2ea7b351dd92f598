// The arenix tool as scripts drive it: its output and exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int code;
  std::string out, err;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("arenix_cli_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the tool with `args` (shell words) and `input` on standard input.
  ToolRun Tool(const std::string& args, const std::string& input = "") {
    fs::path in = dir_ / "stdin", err = dir_ / "stderr";
    std::ofstream(in, std::ios::binary) << input;
    std::string cmd = "cd '" + dir_.string() + "' && '" ARENIX_CLI "' " + args + " < '" + in.string() +
                      "' 2> '" + err.string() + "'";
    FILE* p = ::popen(cmd.c_str(), "r");
    std::string out;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    int status = ::pclose(p);
    std::stringstream e;
    e << std::ifstream(err).rdbuf();
    return {WEXITSTATUS(status), out, e.str()};
  }

  nlohmann::json Script(const std::string& script) {
    ToolRun r = Tool("run -", script);
    EXPECT_EQ(r.code, 0) << r.err;
    return nlohmann::json::parse(r.out);
  }

  fs::path dir_;
};

TEST_F(CliTest, MethodsListsTheCatalogue) {
  ToolRun r = Tool("methods");
  ASSERT_EQ(r.code, 0);
  std::istringstream lines(r.out);
  std::vector<std::string> all;
  for (std::string line; std::getline(lines, line);) all.push_back(line);
  ASSERT_EQ(all.size(), 211u);
  EXPECT_EQ(all.front(), "CommMd5(p_String) -> text  -- MD5 digest of a text, as 32 upper-case hex digits");
  EXPECT_EQ(all[7],
            "CommCheckInject(ByRef Request, ByRef Response, [p_CloseParent = False], "
            "[p_DialogID = \"\"], [p_CheckInject = 1]) -> none  "
            "-- Stop the page when a query value contains an SQL-injection keyword");
  EXPECT_EQ(all.back(),
            "CommsGetBsFenjieXxString(p_Sc) -> text  -- SQL column list that unpacks a stage's packed field in a query");
}

TEST_F(CliTest, CallPrintsTheResultOrTheError) {
  ToolRun ok = Tool("call CommMd5 abc");
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.out, "900150983CD24FB0D6963F7D28E17F72\n");

  ToolRun unknown = Tool("call CommNoSuch");
  EXPECT_EQ(unknown.code, 1);
  EXPECT_EQ(unknown.err, "error 438: Object doesn't support this property or method: 'CommNoSuch'\n");

  ToolRun mismatch = Tool("call CommCloseWindowModal maybe");
  EXPECT_EQ(mismatch.code, 1);
  EXPECT_EQ(mismatch.err, "error 13: Type mismatch\n");

  ToolRun page = Tool("call --response CommShowErrorPage @Response @Rs @Conn '出错了'");
  EXPECT_EQ(page.code, 0) << page.err;
  EXPECT_NE(page.out.find("对不起，出错了</ul>"), std::string::npos);

  EXPECT_EQ(Tool("").code, 2);
  EXPECT_EQ(Tool("call").code, 2);
}

TEST_F(CliTest, RunReportsStepsResponseAndVariables) {
  auto report = Script(R"({
    "now": "2024-03-05T08:30:00", "seed": 7,
    "request": {"method": "POST", "query": "id=1&name=%D5%C5", "form": [["a", "1"], ["a", "2"]]},
    "session": {"SPORTS_WLDF_Session": "100米"},
    "steps": [
      {"call": "CommMd5", "args": ["abc"]},
      {"call": "CommCloseData", "args": [{"ref": "MyRs"}, {"ref": "MyConn"}]},
      {"call": "CommNoSuch"},
      {"call": "CommServU", "args": ["pw"]},
      {"call": "CommShowErrorPage", "args": [{"ref": "Response"}, "", "", "停止", true]}
    ]})");
  const auto& steps = report["steps"];
  ASSERT_EQ(steps.size(), 5u);
  EXPECT_EQ(steps[0]["result"]["type"], "String");
  EXPECT_EQ(steps[0]["result"]["value"], "900150983CD24FB0D6963F7D28E17F72");
  EXPECT_TRUE(steps[0]["error"].is_null());
  EXPECT_EQ(steps[1]["refs"]["MyRs"]["type"], "Empty");
  EXPECT_EQ(steps[2]["error"]["number"], 438);
  EXPECT_EQ(steps[3]["result"]["value"].get<std::string>().size(), 34u);
  EXPECT_EQ(report["response"]["ended"], true);
  EXPECT_NE(report["response"]["text"].get<std::string>().find("对不起，停止"), std::string::npos);
  EXPECT_EQ(report["variables"]["Request"]["value"], "IRequest");
  EXPECT_EQ(report["variables"]["MyConn"]["type"], "Empty");

  // The same seed and clock give the same salt.
  auto again = Script(R"({"seed": 7, "steps": [{"call": "CommServU", "args": ["pw"]}]})");
  EXPECT_EQ(again["steps"][0]["result"], steps[3]["result"]);
}

TEST_F(CliTest, RunReportShowsTheCacheHeaders) {
  auto quiet = Script(R"({"steps": [{"call": "CommMd5", "args": ["abc"]}]})");
  EXPECT_TRUE(quiet["response"]["expires"].is_null());
  EXPECT_EQ(quiet["response"]["cache_control"], "");
  auto report = Script(R"({"now": "2024-03-05T08:30:00",
    "steps": [{"call": "CommClearCache", "args": [{"ref": "Response"}]}]})");
  EXPECT_TRUE(report["steps"][0]["error"].is_null()) << report.dump();
  EXPECT_EQ(report["response"]["expires"]["minutes"], -1);
  EXPECT_EQ(report["response"]["expires"]["absolute"], "2024-03-04T08:30:00");
  EXPECT_EQ(report["response"]["cache_control"], "no-cache");
}

TEST_F(CliTest, RunArgumentForms) {
  auto report = Script(R"({"steps": [
    {"call": "CommCloseWindowModal", "args": [{"int": 0}]},
    {"call": "CommCloseWindowModal", "args": [null]},
    {"call": "CommMd5", "args": [{"date": "2024-03-05T08:30:00"}]},
    {"call": "CommMd5", "args": [{"bytes_base64": "AAE="}]}
  ]})");
  EXPECT_EQ(report["steps"][0]["result"]["value"], "<head><base target=\"_self\"></head>");
  EXPECT_EQ(report["steps"][1]["error"]["number"], 94);
  EXPECT_TRUE(report["steps"][2]["error"].is_null());
  EXPECT_EQ(report["steps"][3]["error"]["number"], 13);
}

TEST_F(CliTest, MalformedScripts) {
  ToolRun broken = Tool("run -", "{\n  \"steps\": [}\n");
  EXPECT_EQ(broken.code, 2);
  EXPECT_NE(broken.err.find("line 2"), std::string::npos) << broken.err;
  EXPECT_NE(broken.err.find("malformed JSON script at byte"), std::string::npos);

  ToolRun wrong = Tool("run -", R"({"steps": [{"dance": 1}]})");
  EXPECT_EQ(wrong.code, 2);
  EXPECT_NE(wrong.err.find("bad script"), std::string::npos);

  ToolRun bad_arg = Tool("run -", R"({"steps": [{"call": "CommMd5", "args": [{"int": 70000}]}]})");
  EXPECT_EQ(bad_arg.code, 2);

  EXPECT_EQ(Tool("run /nonexistent/script.json").code, 2);
}

TEST_F(CliTest, RunWholeNumbersBeyondTheirRangeAreNeverWrapped) {
  // A plain number too big for 64 bits is a Double, as any other big number.
  auto report = Script(R"({"steps": [
    {"call": "CommMd5", "args": [18446744073709551615]},
    {"call": "CommMd5", "args": ["1.84467440737096E+19"]}
  ]})");
  EXPECT_EQ(report["steps"][0]["result"], report["steps"][1]["result"]);

  for (const char* arg : {R"({"int": 18446744073709551615})", R"({"long": 18446744073709551615})",
                          R"({"byte": 18446744073709551615})",
                          R"({"array": [], "lbound": 4294967296})"}) {
    ToolRun r = Tool("run -", std::string(R"({"steps": [{"call": "CommMd5", "args": [)") + arg + "]}]}");
    EXPECT_EQ(r.code, 2) << arg << "\n" << r.out;
    EXPECT_NE(r.err.find("bad script"), std::string::npos) << arg;
  }
}

TEST_F(CliTest, RunTwoDimensionalArrays) {
  // Row 1 holds (value, label) from column 1: the pie of one item is whole.
  auto report = Script(R"({"steps": [
    {"call": "CommTableChart3", "args": [{"array2": [["", "", ""], ["", 3, "甲"]]}, 0, "0", 100, 100, "A"]},
    {"call": "CommTableChart3", "args": [{"array2": [["", ""], [3, "甲"]], "lbounds": [0, 1]}, 0, "0", 100, 100, "A"]},
    {"call": "CommTableChart3", "args": [{"array2": [["", "", ""]]}, 0, "0", 100, 100, "A"]}
  ]})");
  for (int i : {0, 1}) {
    const std::string markup = report["steps"][i]["result"]["value"];
    EXPECT_NE(markup.find("path='m750,700ae750,700,750,700,0,23592960xe'"), std::string::npos) << i;
    EXPECT_NE(markup.find("<td align='left'>100.00%</td>"), std::string::npos) << i;
  }
  EXPECT_EQ(report["steps"][2]["error"]["number"], 11);  // no items

  for (const char* arg : {R"({"array2": [[1, 2], [3]]})", R"({"array2": [[]]})", R"({"array2": [1, 2]})",
                          R"({"array2": [[1]], "lbounds": [0]})", R"({"array2": [[1]], "lbounds": [0, 4294967296]})"}) {
    ToolRun r = Tool("run -", std::string(R"({"steps": [{"call": "CommTableChartHeader", "args": [)") + arg + "]}]}");
    EXPECT_EQ(r.code, 2) << arg << "\n" << r.out;
    EXPECT_NE(r.err.find("bad script"), std::string::npos) << arg;
  }
}

TEST_F(CliTest, RunSessionValueThatCannotBeMadeIsABadScript) {
  for (const char* value : {R"({"currency": "abc"})", R"({"currency": 1e300})"}) {
    ToolRun r = Tool("run -", std::string(R"({"session": {"x": )") + value + R"(}, "steps": []})");
    EXPECT_EQ(r.code, 2) << value << "\n" << r.err;
    EXPECT_NE(r.err.find("bad script"), std::string::npos) << value << "\n" << r.err;
  }
}

}  // namespace
