#include "data/foxsql/index_upkeep.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "automation/cp936.h"
#include "automation/error.h"
#include "automation/text.h"
#include "data/dbf/table_error.h"
#include "data/dbf/undo_journal.h"
#include "data/foxsql/translate.h"

namespace data::foxsql {
namespace {

namespace err = automation::err;

bool ReadFile(const std::string& path, std::string& out) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buf[65536];
  ssize_t n;
  while ((n = ::read(fd, buf, sizeof buf)) > 0) out.append(buf, static_cast<size_t>(n));
  ::close(fd);
  return n == 0;
}

// Replaces the file's bytes in place, so that a program holding it open
// reads the new index.
bool WriteFile(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return false;
  }
  try {
    dbf::NoteBeforeWrite(path, fd, 0, std::max<uint64_t>(bytes.size(), static_cast<uint64_t>(st.st_size)));
  } catch (...) {
    ::close(fd);
    throw;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n <= 0) {
      ::close(fd);
      return false;
    }
    done += static_cast<size_t>(n);
  }
  bool ok = ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
  return ::close(fd) == 0 && ok;
}

std::string FileName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

IndexUpkeep::IndexUpkeep(sqlite3* db, dbf::Table& table, const std::string& sql_name)
    : db_(db), table_(table), sql_name_(sql_name), path_(table.StructuralIndexPath()) {
  std::string bytes;
  if (!ReadFile(path_, bytes)) Refuse(std::string("cannot read the index: ") + std::strerror(errno));
  try {
    tags_ = dbf::ReadCdx(bytes);
  } catch (const std::runtime_error& e) {
    Refuse(e.what());
  }
  for (const dbf::CdxTag& tag : tags_) {
    auto refuse_tag = [&](const std::string& why) {
      Refuse("tag " + tag.name + " (" + tag.key + "): " + why);
    };
    if (tag.collation != "MACHINE") refuse_tag("the collation " + tag.collation + " is not kept");
    automation::Text statement = u"Select " + automation::FromGbk(tag.key) + u" From [" +
                                 automation::FromUtf8(sql_name_) + u"]";
    if (!tag.filter.empty()) statement += u" Where " + automation::FromGbk(tag.filter);
    std::string sql;
    try {
      sql = Translate(statement).sql;
    } catch (const automation::Error& e) {
      refuse_tag(automation::ToUtf8(e.description()));
    }
    if (sql.rfind("SELECT ", 0) != 0) refuse_tag("the expression is not a value");
    queries_.push_back("SELECT rowid, " + sql.substr(7));
  }
  EvaluateAll();  // refuses before the write when a key cannot be made
  table_.set_index_kept(true);
}

void IndexUpkeep::Refuse(const std::string& why) const {
  dbf::ThrowTableError(err::kPermissionDenied, table_.file_name(),
                       "the structural index " + FileName(path_) + " cannot be kept up to date, " + why +
                           "; writing to the table is refused");
}

std::vector<std::vector<dbf::CdxKey>> IndexUpkeep::EvaluateAll() {
  std::vector<std::vector<dbf::CdxKey>> all;
  for (size_t t = 0; t < tags_.size(); ++t) {
    const dbf::CdxTag& tag = tags_[t];
    auto refuse_tag = [&](const std::string& why) {
      Refuse("tag " + tag.name + " (" + tag.key + "): " + why);
    };
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, queries_[t].c_str(), -1, &st, nullptr) != SQLITE_OK) {
      std::string message = sqlite3_errmsg(db_);
      sqlite3_finalize(st);
      refuse_tag(message);
    }
    std::vector<dbf::CdxKey> keys;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      if (sqlite3_column_type(st, 1) != SQLITE_TEXT) {
        sqlite3_finalize(st);
        refuse_tag("the key is not text");
      }
      const char* text = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
      std::string key = automation::ToGbk(automation::FromUtf8(text ? text : ""));
      key.resize(tag.key_length, ' ');
      keys.push_back({std::move(key), static_cast<uint32_t>(sqlite3_column_int64(st, 0) + 1)});
    }
    if (rc != SQLITE_DONE) {
      std::string message = sqlite3_errmsg(db_);
      sqlite3_finalize(st);
      refuse_tag(message);
    }
    sqlite3_finalize(st);
    all.push_back(std::move(keys));
  }
  return all;
}

void IndexUpkeep::Rebuild() {
  std::string bytes = dbf::BuildCdx(tags_, EvaluateAll());
  if (!WriteFile(path_, bytes))
    dbf::ThrowTableError(err::kPathFileAccess, FileName(path_), "cannot write: " + dbf::WriteFailure(errno));
}

}  // namespace data::foxsql
