#include "tools/arenix/meet_folder_check.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "automation/error.h"
#include "automation/text.h"
#include "arenix/meet/meet_schema.h"
#include "data/dbf/table.h"

namespace tools {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// A file of the folder by name, compared without case as the desktop
// program's file system does; empty when there is none.
fs::path FindNoCase(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  if (fs::exists(dir / name, ec)) return dir / name;
  std::string want = Lower(name);
  for (const auto& e : fs::directory_iterator(dir, ec))
    if (Lower(e.path().filename().string()) == want) return e.path();
  return {};
}

// "cannot be read", "cannot be written" or both, for the server's user.
void CheckRights(const fs::path& file, std::vector<std::string>& problems) {
  std::string name = file.filename().string();
  if (::access(file.c_str(), R_OK) != 0)
    problems.push_back(name + ": cannot be read (" + std::strerror(errno) + ")");
  else if (::access(file.c_str(), W_OK) != 0)
    problems.push_back(name + ": cannot be written (" + std::strerror(errno) + ")");
}

void CheckTable(const fs::path& dir, const std::string& stem, bool required,
                std::vector<std::string>& problems) {
  fs::path dbf = FindNoCase(dir, stem + ".dbf");
  if (dbf.empty()) {
    if (required) problems.push_back(stem + ".dbf: missing");
    return;
  }
  std::error_code ec;
  if (!fs::is_regular_file(dbf, ec)) {
    problems.push_back(dbf.filename().string() + ": not a file");
    return;
  }
  size_t before = problems.size();
  CheckRights(dbf, problems);
  if (problems.size() != before) return;
  std::unique_ptr<data::dbf::Table> table;
  try {
    // Opening reads the header and the fields, and the memo file with them.
    table = data::dbf::Table::Open(dbf.string(), data::dbf::Access::kWrite);
  } catch (const automation::Error& e) {
    // The table layer's messages name the file already.
    std::string what = automation::ToUtf8(e.description());
    std::string name = dbf.filename().string() + ": ";
    problems.push_back(what.rfind(name, 0) == 0 ? what : name + what);
    return;
  }
  if (table->schema().HasMemoFields()) CheckRights(FindNoCase(dir, stem + ".fpt"), problems);
  if (table->schema().HasStructuralIndex()) {
    fs::path cdx = FindNoCase(dir, stem + ".cdx");
    if (cdx.empty())
      problems.push_back(stem + ".cdx: missing (the table's header says it has a structural index)");
    else
      CheckRights(cdx, problems);
  }
}

}  // namespace

std::vector<std::string> CheckMeetFolder(const std::string& dir) {
  std::vector<std::string> problems;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return {dir + ": not a folder"};
  // New tables, the lock files and the journal are made in the folder.
  if (::access(dir.c_str(), R_OK | W_OK | X_OK) != 0)
    problems.push_back(dir + ": the folder cannot be written (" + std::strerror(errno) + ")");
  for (const std::string& name : arenix::meet::MeetTableNames()) CheckTable(dir, name, true, problems);
  // The recorders' logins: only a meet that has recorders holds it.
  CheckTable(dir, "WldfUser", false, problems);
  return problems;
}

}  // namespace tools
