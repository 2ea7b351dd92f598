// Feeds the undo journal's reader: a journal torn or damaged anywhere is
// read (a torn last entry dropped) or refused with an error naming it,
// never a crash; and a journal that reads is rolled back in a scratch
// folder, whose files then hold what its entries say.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>
#include <string>

#include "automation/error.h"
#include "data/dbf/undo_journal.h"

namespace {

const std::string& Scratch() {
  static const std::string dir = [] {
    char name[] = "/tmp/arenix-journal-fuzz-XXXXXX";
    if (!::mkdtemp(name)) std::abort();
    return std::string(name);
  }();
  return dir;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using data::dbf::JournalEntry;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::vector<JournalEntry> entries;
  try {
    entries = data::dbf::ParseJournal(bytes, data::dbf::kJournalFile);
  } catch (const automation::Error& e) {
    if (e.description().find(u".arenix-journal") == automation::Text::npos) std::abort();
    return 0;
  }
  // Rolled back only where the files stay small (offsets and sizes are
  // the journal's to choose).
  for (const JournalEntry& e : entries)
    if (e.value > (1u << 20) || e.file.find('/') != std::string::npos || e.file.empty() || e.file[0] == '.')
      return 0;

  const std::string dir = Scratch();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  {
    std::ofstream out(dir + "/" + data::dbf::kJournalFile, std::ios::binary);
    out << bytes;
  }
  try {
    data::dbf::RollBackJournal(dir);
  } catch (const automation::Error&) {
    return 0;  // a file that could not be restored: the journal stays
  }
  struct stat st;
  if (::stat((dir + "/" + data::dbf::kJournalFile).c_str(), &st) == 0) std::abort();  // removed once rolled back
  // The last size recorded for a file that is not absent is its size now.
  std::map<std::string, const JournalEntry*> sized;
  std::map<std::string, bool> absent;
  for (const JournalEntry& e : entries) {
    if (e.kind == JournalEntry::kSize) sized[e.file] = &e;
    if (e.kind == JournalEntry::kAbsent) absent[e.file] = true;
  }
  for (const auto& [name, e] : sized)
    if (!absent[name] && Slurp(dir + "/" + name).size() != e->value) std::abort();
  return 0;
}
