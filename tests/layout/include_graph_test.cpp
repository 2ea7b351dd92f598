// The source tree's layers, read from its #include lines: every folder
// includes only its own layer and the layers below it, and the component's
// subsystems include one another without a cycle. A new include that
// breaks this fails here with the file and the line that did it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const fs::path kSrc = fs::path(ARENIX_SOURCE_DIR) / "src";

// The folder a source path (relative to src/) belongs to: a top folder, or
// a subsystem folder under arenix/ and tools/.
std::string FolderOf(const std::string& path) {
  auto first = path.find('/');
  if (first == std::string::npos) return "";
  std::string top = path.substr(0, first);
  if (top == "arenix" || top == "tools") {
    auto second = path.find('/', first + 1);
    if (second != std::string::npos) return path.substr(0, second);
  }
  return top;
}

// Lower numbers are lower layers. The component's error page and window
// scripts (arenix/page) sit below its other subsystems; its frame, which
// binds them all to the catalogue, sits above them.
int LayerOf(const std::string& folder) {
  static const std::map<std::string, int> kLayers = {
      {"automation", 0}, {"platform", 1}, {"data", 2}, {"host", 2},
      {"arenix/page", 3}, {"arenix/frame", 5}, {"web", 6},
  };
  if (auto it = kLayers.find(folder); it != kLayers.end()) return it->second;
  if (folder.rfind("arenix/", 0) == 0) return 4;
  if (folder.rfind("tools/", 0) == 0) return 7;
  return -1;
}

struct Include {
  std::string from_file;
  int line;
  std::string target;
};

// Every include of a project header by a file under src/, folder to folder.
std::map<std::pair<std::string, std::string>, std::vector<Include>> FolderEdges() {
  static const std::regex kInclude(R"re(^\s*#\s*include\s+"([^"]+)")re");
  std::map<std::pair<std::string, std::string>, std::vector<Include>> edges;
  for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
    if (!entry.is_regular_file()) continue;
    auto ext = entry.path().extension();
    if (ext != ".cpp" && ext != ".h" && ext != ".def") continue;
    std::string rel = fs::relative(entry.path(), kSrc).generic_string();
    std::ifstream in(entry.path());
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
      std::smatch m;
      if (!std::regex_search(text, m, kInclude)) continue;
      std::string target = m[1];
      if (!fs::exists(kSrc / target)) continue;  // generated or third-party
      std::string from = FolderOf(rel), to = FolderOf(target);
      if (from != to) edges[{from, to}].push_back({rel, line, target});
    }
  }
  return edges;
}

TEST(IncludeGraph, NoFolderIncludesALayerAboveItsOwn) {
  auto edges = FolderEdges();
  ASSERT_FALSE(edges.empty());
  for (const auto& [pair, includes] : edges) {
    const auto& [from, to] = pair;
    int lf = LayerOf(from), lt = LayerOf(to);
    EXPECT_NE(lf, -1) << "folder src/" << from << " has no layer in this test: give it one";
    EXPECT_NE(lt, -1) << "folder src/" << to << " has no layer in this test: give it one";
    // Folders of one layer are peers; only the component's subsystems may
    // use one another (without a cycle, checked below).
    bool allowed = lt < lf || (lt == lf && lf == 4);
    for (const auto& inc : includes)
      EXPECT_TRUE(allowed) << "src/" << inc.from_file << ":" << inc.line << " includes " << inc.target << " (" << from
                           << " may not depend on " << to << ")";
  }
}

TEST(IncludeGraph, TheFolderGraphHasNoCycle) {
  std::map<std::string, std::set<std::string>> next;
  std::map<std::pair<std::string, std::string>, Include> example;
  for (const auto& [pair, includes] : FolderEdges()) {
    next[pair.first].insert(pair.second);
    example[pair] = includes.front();
  }
  // Depth-first search with the path kept, so a cycle is reported whole.
  std::map<std::string, int> state;  // 1 on the path, 2 done
  std::vector<std::string> path;
  std::function<void(const std::string&)> visit = [&](const std::string& folder) {
    state[folder] = 1;
    path.push_back(folder);
    for (const auto& to : next[folder]) {
      if (state[to] == 1) {
        std::string cycle;
        for (auto it = std::find(path.begin(), path.end(), to); it != path.end(); ++it) cycle += *it + " -> ";
        const Include& back = example[{folder, to}];
        ADD_FAILURE() << "include cycle: " << cycle << to << " (closed by src/" << back.from_file << ":" << back.line
                      << ")";
      } else if (state[to] == 0) {
        visit(to);
      }
    }
    path.pop_back();
    state[folder] = 2;
  };
  for (const auto& [folder, _] : next)
    if (state[folder] == 0) visit(folder);
}

}  // namespace
