// `arenix serve --data DIR` checks the meet folder before it starts: every
// problem is listed at once and the server does not start.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

struct ToolResult {
  int code;
  std::string out, err;
};

class ServeCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("arenix_serve_check_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    fs::permissions(dir_, fs::perms::all);
    meet_ = dir_ / "meet";
    ASSERT_EQ(Tool("demo '" + meet_.string() + "'").code, 0);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the tool; as root it runs as an ordinary user, whose rights the
  // check is about (root may write a read-only file).
  ToolResult Tool(const std::string& args, const std::string& prefix = "") {
    fs::path err = dir_ / "stderr";
    std::string cmd = prefix + "'" ARENIX_CLI "' " + args + " 2> '" + err.string() + "'";
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

  std::string AsUser() {
    if (::geteuid() != 0) return "";
    fs::permissions(dir_ / "stderr", fs::perms::all);
    std::system(("chown -R 65534:65534 '" + meet_.string() + "'").c_str());
    return "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  }

  ToolResult Serve(const std::string& prefix = "") {
    std::ofstream(dir_ / "stderr");
    return Tool("serve --quiet --port 0 --data '" + meet_.string() + "'",
                "timeout -s INT 3 " + prefix);
  }

  fs::path dir_, meet_;
};

TEST_F(ServeCheckTest, AFolderFitToServeStarts) {
  ToolResult r = Serve(AsUser());
  EXPECT_NE(r.out.find("open http://"), std::string::npos) << r.out << r.err;
  EXPECT_EQ(r.err, "");
}

TEST_F(ServeCheckTest, EveryProblemIsListedAndTheServerDoesNotStart) {
  fs::remove(meet_ / "Play.dbf");
  // A memo file gone: the table's memo fields cannot be read.
  fs::remove(meet_ / "xtsz.fpt");
  // A table cut short.
  fs::resize_file(meet_ / "Item.dbf", 40);
  // A header that says the table has a structural index that is not there.
  {
    std::fstream f(meet_ / "Age.dbf", std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(28);
    f.put(1);
  }
  std::string as_user = AsUser();
  fs::permissions(meet_ / "team.dbf", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  ToolResult r = Serve(as_user);
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.out.find("open http://"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("the meet folder " + meet_.string() + " cannot be served"), std::string::npos) << r.err;
  for (const char* line : {"  Play.dbf: missing", "  xtsz.dbf: ", "  Item.dbf: ",
                           "  Age.cdx: missing (the table's header says it has a structural index)",
                           "  team.dbf: cannot be written"})
    EXPECT_NE(r.err.find(line), std::string::npos) << line << "\n" << r.err;
  EXPECT_EQ(r.err.find("PlaySour"), std::string::npos) << r.err;
}

TEST_F(ServeCheckTest, AFolderWithoutTablesOrAbsent) {
  ToolResult none = Tool("serve --port 0 --data '" + (dir_ / "nowhere").string() + "'");
  EXPECT_EQ(none.code, 2);
  EXPECT_NE(none.err.find("nowhere: not a folder"), std::string::npos) << none.err;

  fs::create_directories(dir_ / "empty");
  ToolResult empty = Tool("serve --port 0 --data '" + (dir_ / "empty").string() + "'");
  EXPECT_EQ(empty.code, 2);
  EXPECT_NE(empty.err.find("xtsz.dbf: missing"), std::string::npos) << empty.err;
}

TEST_F(ServeCheckTest, TheSettingsFileIsCheckedLineByLine) {
  struct Case {
    std::string body, error;
  };
  const Case cases[] = {
      {"# meet\n\ndata = M\nprot = 8080\n", "arenix.conf:4: unknown key 'prot'"},
      {"port = 80a\n", "arenix.conf:1: the port must be a number from 0 to 65535"},
      {"port = 70000\n", "arenix.conf:1: the port must be a number from 0 to 65535"},
      {"data = meet\n", "arenix.conf:1: data must be an absolute path"},
      {"quiet = maybe\n", "arenix.conf:1: quiet must be yes or no"},
      {"port 8080\n", "arenix.conf:1: expected key = value"},
      {"port = 1\nport = 2\n", "arenix.conf:2: 'port' is already set on line 1"},
  };
  fs::path conf = dir_ / "arenix.conf";
  for (const Case& c : cases) {
    std::string body = c.body;
    if (size_t m = body.find("= M"); m != std::string::npos) body.replace(m + 2, 1, meet_.string());
    std::ofstream(conf) << body;
    ToolResult r = Tool("serve --config '" + conf.string() + "'");
    EXPECT_EQ(r.code, 2) << c.body;
    EXPECT_NE(r.err.find(c.error), std::string::npos) << c.body << "\n" << r.err;
  }
  ToolResult missing = Tool("serve --config '" + (dir_ / "none.conf").string() + "'");
  EXPECT_EQ(missing.code, 2);
  EXPECT_NE(missing.err.find("cannot read"), std::string::npos) << missing.err;

  // A good file starts the server; the command line wins over it.
  std::ofstream(conf) << "data = " << meet_.string() << "\nport = 1\nquiet = yes\n";
  std::ofstream(dir_ / "stderr");
  ToolResult r = Tool("serve --port 0 --config '" + conf.string() + "'", "timeout -s INT 3 ");
  EXPECT_NE(r.out.find("open http://127.0.0.1:"), std::string::npos) << r.out << r.err;
  EXPECT_EQ(r.out.find("127.0.0.1:1/"), std::string::npos) << r.out;
}

}  // namespace
