// Bad input: tables and memo files that are truncated or carry a broken
// header, descriptor or pointer give a clear error naming the file, never a
// crash or a read beyond the file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "automation/error.h"
#include "data/dbf/file_lock.h"
#include "data/dbf/table.h"
#include "data/dbf/test_files.h"

namespace data::dbf {
namespace {

using automation::Text;
using automation::Variant;
using dbf_test::ErrorOf;
using dbf_test::Slurp;
using dbf_test::Spit;
namespace err = automation::err;

// A valid two-record table with a memo: 编号 C(4), 名次 I, 备注 M.
class DbfCorrupt : public ::testing::Test {
 protected:
  void SetUp() override {
    auto t = Table::Create(dbf_, std::vector<FieldSpec>{{u"编号", FieldType::kCharacter, 4},
                                                        {u"名次", FieldType::kInteger},
                                                        {u"备注", FieldType::kMemo}});
    t->Append({Variant(Text(u"1")), Variant(int32_t{1}), Variant(Text(u"第一"))});
    t->Append({Variant(Text(u"2")), Variant(int32_t{2}), Variant(Text(u"第二"))});
    header_length_ = t->schema().header_length;
    record_length_ = t->schema().record_length;
    good_ = Slurp(dbf_);
    good_memo_ = Slurp(fpt_);
  }

  // Opens the table and reads every value; the error this raises.
  std::pair<int, std::string> ReadAll() {
    return ErrorOf([&] {
      auto t = Table::Open(dbf_, Access::kRead);
      std::vector<Variant> values;
      for (uint32_t r = 0; r < t->RecordCount(); ++r) t->ReadRecord(r, values);
    });
  }

  dbf_test::TempDir dir_;
  std::string dbf_ = dir_.File("Play.dbf");
  std::string fpt_ = dir_.File("Play.fpt");
  std::string good_, good_memo_;
  size_t header_length_ = 0, record_length_ = 0;
};

TEST_F(DbfCorrupt, BrokenTablesNameTheFile) {
  auto put = [](std::string s, size_t at, std::string bytes) { return s.replace(at, bytes.size(), bytes); };
  const size_t d2 = 32 + 32;  // the second descriptor (名次 I)
  struct Case {
    const char* what;
    std::function<std::string(const std::string&)> mutate;
    std::string message;
  } cases[] = {
      {"empty", [](const std::string&) { return std::string(); },
       "Play.dbf: not a table: the file has 0 bytes, fewer than a table header"},
      {"truncated header", [](const std::string& s) { return s.substr(0, 20); },
       "Play.dbf: not a table: the file has 20 bytes, fewer than a table header"},
      {"unknown version", [&](const std::string& s) { return put(s, 0, "\x99"); },
       "Play.dbf: not a table: unknown version byte 0x99"},
      {"header length beyond the file", [&](const std::string& s) { return put(s, 8, "\xFF\xFF"); },
       "Play.dbf: bad header: header length 65535 outside the file of " + std::to_string(good_.size()) +
           " bytes"},
      {"record count beyond the file", [&](const std::string& s) { return put(s, 4, std::string("\x10\x27\0\0", 4)); },
       "Play.dbf: the header counts 10000 records, more than the file of " + std::to_string(good_.size()) +
           " bytes holds"},
      {"last record cut short",
       [&](const std::string& s) { return s.substr(0, header_length_ + record_length_ + 3); },
       "Play.dbf: the header counts 2 records, more than the file of " +
           std::to_string(header_length_ + record_length_ + 3) + " bytes holds"},
      {"unknown field type", [&](const std::string& s) { return put(s, d2 + 11, "!"); },
       "Play.dbf: bad field descriptor: field 2 (名次) has the unknown type !"},
      {"integer of width 3", [&](const std::string& s) { return put(s, d2 + 16, "\x03"); },
       "Play.dbf: bad field descriptor: field 2 (名次) of type I has the width 3"},
      {"field beyond the record", [&](const std::string& s) { return put(s, d2 + 12, "\xF0"); },
       "Play.dbf: bad field descriptor: field 2 (名次) lies outside the record of " +
           std::to_string(record_length_) + " bytes"},
      {"no terminator", [&](const std::string& s) { return put(put(s, 32 + 3 * 32, "\x01"), 8, std::string("\x82\0", 2)); },
       "Play.dbf: bad header: a field descriptor crosses the end of the header"},
      {"descriptor without a name", [&](const std::string& s) { return put(s, d2, std::string(11, '\0')); },
       "Play.dbf: bad field descriptor: field 2 () has no name"},
  };
  for (const Case& c : cases) {
    Spit(dbf_, c.mutate(good_));
    auto [number, message] = ReadAll();
    EXPECT_EQ(number, err::kPathFileAccess) << c.what;
    EXPECT_EQ(message, c.message) << c.what;
  }
}

TEST_F(DbfCorrupt, BrokenMemosNameTheFileAndRecord) {
  size_t pointer = header_length_ + record_length_ + 1 + 4 + 4;  // record 2's memo pointer
  std::string far = good_;
  far.replace(pointer, 4, std::string("\x9F\x86\x01\0", 4));  // block 99999
  Spit(dbf_, far);
  EXPECT_EQ(ReadAll(), std::make_pair(err::kPathFileAccess,
                                      std::string("Play.fpt: broken memo pointer in field 备注 of record 2: "
                                                  "block 99999 lies outside the memo file")));
  std::string into_header = good_;
  into_header.replace(pointer, 4, std::string("\x01\0\0\0", 4));
  Spit(dbf_, into_header);
  EXPECT_EQ(ReadAll().first, err::kPathFileAccess);

  Spit(dbf_, good_);
  std::string memo = good_memo_;
  memo.replace(512 + 4, 4, "\x7F\xFF\xFF\xFF");  // the first memo's length
  Spit(fpt_, memo);
  EXPECT_EQ(ReadAll(), std::make_pair(err::kPathFileAccess,
                                      std::string("Play.fpt: broken memo in field 备注 of record 1: block 8 "
                                                  "claims 2147483647 bytes beyond the end of the memo file")));
  Spit(fpt_, good_memo_.substr(0, 5));
  EXPECT_EQ(ReadAll(), std::make_pair(err::kPathFileAccess,
                                      std::string("Play.fpt: not a memo file: it has 5 bytes")));
  std::remove(fpt_.c_str());
  EXPECT_EQ(ReadAll(), std::make_pair(err::kFileNotFound, std::string("Play.fpt: the memo file is missing")));
}

TEST_F(DbfCorrupt, ATableBrokenWhileOpenFailsItsNextLockAndStaysUnlocked) {
  auto t = Table::Open(dbf_, Access::kRead);
  std::string broken = good_;
  broken.replace(4, 4, std::string("\x10\x27\0\0", 4));
  Spit(dbf_, broken);
  EXPECT_EQ(ErrorOf([&] { t->Lock(LockKind::kShared); }).first, err::kPathFileAccess);
  int fd = ::open(dbf_.c_str(), O_RDWR);
  EXPECT_TRUE(SetFileLock(fd, FileLockMode::kExclusive, std::chrono::milliseconds(0)));
  ::close(fd);
}

TEST_F(DbfCorrupt, MissingTablesAreNotFound) {
  EXPECT_EQ(ErrorOf([&] { Table::Open(dir_.File("none.dbf"), Access::kRead); }),
            std::make_pair(err::kFileNotFound, std::string("none.dbf: the table file does not exist")));
  EXPECT_EQ(ErrorOf([&] { Table::Open(dir_.path(), Access::kRead); }).first, err::kPathFileAccess);
}

}  // namespace
}  // namespace data::dbf
