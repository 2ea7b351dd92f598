// The Debian package: built from this build tree with cpack, its contents
// checked, unpacked into a throwaway root and the server started from the
// unpacked files with the settings file the service uses.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

std::string Shell(const std::string& cmd, int* code = nullptr) {
  FILE* p = ::popen((cmd + " 2>&1").c_str(), "r");
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  int status = ::pclose(p);
  if (code) *code = WEXITSTATUS(status);
  return out;
}

// A server started from the unpacked files, stopped at the end of the test.
struct Server {
  pid_t pid = -1;
  FILE* out = nullptr;
  ~Server() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      ::waitpid(pid, nullptr, 0);
    }
    if (out) fclose(out);
  }
  void Start(const std::vector<std::string>& argv) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    pid = ::fork();
    if (pid == 0) {
      ::dup2(fds[1], 1);
      ::dup2(fds[1], 2);
      ::close(fds[0]);
      std::vector<char*> args;
      for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      ::execv(args[0], args.data());
      ::_exit(127);
    }
    ::close(fds[1]);
    out = ::fdopen(fds[0], "r");
  }
  // The output up to the line that gives the address (or the end).
  std::string ReadUntilOpen() {
    std::string all;
    char line[4096];
    while (fgets(line, sizeof line, out)) {
      all += line;
      if (std::string(line).rfind("open http://", 0) == 0) break;
    }
    return all;
  }
};

TEST(PackageTest, BuildsAndServesFromTheUnpackedFiles) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the package is built from the optimised tree";
#endif
  int code = 0;
  Shell("command -v cpack && command -v dpkg-deb && command -v help2man", &code);
  if (code != 0) GTEST_SKIP() << "cpack, dpkg-deb or help2man missing (scripts/bootstrap installs them)";

  fs::path build = fs::path(ARENIX_ARTIFACT_DIR).parent_path();
  fs::path dir = fs::temp_directory_path() / ("arenix_package_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  struct Cleanup {
    fs::path d;
    ~Cleanup() { fs::remove_all(d); }
  } cleanup{dir};

  std::string log = Shell("cd '" + build.string() + "' && cpack -G DEB -B '" + (dir / "pkg").string() +
                              "' --config CPackConfig.cmake",
                          &code);
  ASSERT_EQ(code, 0) << log;
  fs::path deb;
  for (const auto& e : fs::directory_iterator(dir / "pkg"))
    if (e.path().extension() == ".deb") deb = e.path();
  ASSERT_FALSE(deb.empty()) << log;

  std::string contents = Shell("dpkg-deb --contents '" + deb.string() + "'", &code);
  ASSERT_EQ(code, 0) << contents;
  for (const char* file : {"./usr/bin/arenix", "./usr/share/arenix/site/", "./lib/systemd/system/arenix.service",
                           "./etc/arenix/arenix.conf", "./usr/share/man/man1/arenix.1.gz"})
    EXPECT_NE(contents.find(std::string(" ") + file), std::string::npos) << file << "\n" << contents;

  std::string info = Shell("dpkg-deb --info '" + deb.string() + "'");
  EXPECT_NE(info.find("Package: arenix"), std::string::npos) << info;
  EXPECT_NE(info.find("Depends:"), std::string::npos) << info;  // the libraries, from shlibdeps
  std::string conffiles = Shell("dpkg-deb --info '" + deb.string() + "' conffiles");
  EXPECT_EQ(conffiles, "/etc/arenix/arenix.conf\n");
  std::string postinst = Shell("dpkg-deb --info '" + deb.string() + "' postinst");
  EXPECT_NE(postinst.find("adduser --system"), std::string::npos) << postinst;

  fs::path root = dir / "root";
  ASSERT_EQ(Shell("dpkg-deb -x '" + deb.string() + "' '" + root.string() + "'", &code), "");
  ASSERT_EQ(code, 0);
  std::string unit = Shell("cat '" + (root / "lib/systemd/system/arenix.service").string() + "'");
  for (const char* line : {"User=arenix", "ExecStart=/usr/bin/arenix serve --config /etc/arenix/arenix.conf",
                           "Restart=on-failure", "ProtectSystem=strict", "ReadWritePaths=/var/lib/arenix",
                           "NoNewPrivileges=yes", "PrivateTmp=yes"})
    EXPECT_NE(unit.find(std::string("\n") + line + "\n"), std::string::npos) << line;
  std::string man = Shell("gzip -dc '" + (root / "usr/share/man/man1/arenix.1.gz").string() + "'");
  EXPECT_NE(man.find(".TH ARENIX \"1\""), std::string::npos) << man.substr(0, 300);
  EXPECT_NE(man.find("--config"), std::string::npos);

  // The unpacked program with its unpacked site, on a sample meet, with the
  // packaged settings file changed only where the meet and the port are.
  fs::path arenix = root / "usr/bin/arenix";
  ASSERT_EQ(Shell("'" + arenix.string() + "' demo '" + (dir / "meet").string() + "' >/dev/null", &code), "");
  ASSERT_EQ(code, 0);
  std::string conf = Shell("sed -e 's|^data = .*|data = " + (dir / "meet").string() +
                           "|' -e 's|^port = .*|port = 0|' -e 's|^bind = .*|bind = 127.0.0.1|' '" +
                           (root / "etc/arenix/arenix.conf").string() + "'");
  std::ofstream(dir / "arenix.conf") << conf;
  Server server;
  server.Start({arenix.string(), "serve", "--config", (dir / "arenix.conf").string()});
  std::string started = server.ReadUntilOpen();
  EXPECT_NE(started.find("site " + (root / "usr/share/arenix/site").string()), std::string::npos) << started;
  size_t at = started.find("open http://127.0.0.1:");
  ASSERT_NE(at, std::string::npos) << started;
  std::string url = started.substr(at + 5, started.find('/', at + 22) + 1 - at - 5);
  std::string page = Shell("curl -s -w '\\n%{http_code}' '" + url + "'");
  EXPECT_EQ(page.substr(page.rfind('\n') + 1), "200") << page;
  EXPECT_GT(page.size(), 200u);
}

}  // namespace
