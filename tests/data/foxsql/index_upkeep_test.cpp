// Tables with a structural index: the engine's writes keep every tag right
// for the desktop program and other readers (checked with our reader and
// with Perl's XBase::Index), and a tag it cannot keep refuses writes while
// reads go on.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>

#include "data/dbf/cdx_file.h"
#include "data/foxsql/meet_folder.h"

namespace foxsql_test {
namespace {

using dbf_test::ErrorOf;
using dbf_test::Slurp;
using dbf_test::Spit;
namespace dbf = data::dbf;

constexpr const char* kCreate = "Create Table Ath Free (ID C(6), NAME C(20), AGE N(3), BORN D)";

// Writes an index with the given tags (no keys yet: the first write builds
// them) and flags the table's header for it, as the desktop program leaves
// a table.
void AddIndex(MeetFolder& meet, const std::vector<dbf::CdxTag>& tags) {
  Spit(meet.File("Ath.cdx"), dbf::BuildCdx(tags, std::vector<std::vector<dbf::CdxKey>>(tags.size())));
  std::string bytes = Slurp(meet.File("Ath.dbf"));
  bytes[28] |= 0x01;
  Spit(meet.File("Ath.dbf"), bytes);
}

dbf::CdxTag Tag(std::string name, std::string key, uint16_t length, std::string filter = "") {
  dbf::CdxTag t;
  t.name = std::move(name);
  t.key = std::move(key);
  t.key_length = length;
  t.filter = std::move(filter);
  return t;
}

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

// What every tag must hold: key -> record numbers, computed here from the
// rows the engine reads back.
std::map<std::string, std::multimap<std::string, uint32_t>> Expected(MeetFolder& meet) {
  std::map<std::string, std::multimap<std::string, uint32_t>> want;
  auto table = dbf::Table::Open(meet.File("Ath.dbf"), dbf::Access::kRead);
  for (uint32_t r = 0; r < table->RecordCount(); ++r) {
    if (table->IsDeleted(r)) continue;
    std::string id(table->RawField(r, 0)), name(table->RawField(r, 1)), age(table->RawField(r, 2)),
        born(table->RawField(r, 3));
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string trimmed = id.substr(0, id.find_last_not_of(' ') + 1);
    want["ID"].emplace(id, r + 1);
    want["NAME"].emplace(upper, r + 1);
    want["AGEBORN"].emplace(age + born, r + 1);
    want["CODE"].emplace(std::string(8 - trimmed.size(), '0') + trimmed, r + 1);
    if (std::stoi(age) > 14) want["OLDER"].emplace(Pad(trimmed, 6), r + 1);
  }
  return want;
}

const std::vector<dbf::CdxTag> kTags = {
    Tag("ID", "ID", 6),
    Tag("NAME", "UPPER(NAME)", 20),
    Tag("AGEBORN", "STR(AGE,3)+DTOS(BORN)", 11),
    Tag("CODE", "PADL(ALLTRIM(ID),8,'0')", 8),
    Tag("OLDER", "ALLTRIM(ID)", 6, "AGE>14"),
};

// Runs Perl's XBase::Index over the file: for every (tag, key, record)
// line, looks the key up in the tag and prints the lines it cannot find.
std::string PerlMissing(const std::string& cdx, const std::string& lines) {
  std::string input = cdx + ".lookups";
  Spit(input, lines);
  std::string script = R"PERL(
    use XBase::Index;
    my ($file, $input) = @ARGV;
    my %index;
    open(my $in, '<', $input) or die;
    while (my $line = <$in>) {
      chomp $line;
      my ($tag, $key, $rec) = split /\t/, $line;
      $index{$tag} ||= XBase::Index->new($file, 'tag' => $tag, 'type' => 'C') or die "no tag $tag: " . XBase::Index->errstr;
      my $i = $index{$tag};
      # The reader gives character keys without their trailing blanks.
      (my $want = $key) =~ s/\s+$//;
      $i->prepare_select_eq($want);
      my $found = 0;
      while (my ($k, $v) = $i->fetch) {
        (my $kt = $k) =~ s/\s+$//;
        last if $kt ne $want;
        if ($v == $rec) { $found = 1; last; }
      }
      print "$line\n" unless $found;
    }
  )PERL";
  Spit(cdx + ".pl", script);
  std::string cmd = "perl '" + cdx + ".pl' '" + cdx + "' '" + input + "' 2>&1";
  FILE* p = ::popen(cmd.c_str(), "r");
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  ::pclose(p);
  return out.substr(0, 2000);
}

bool HavePerlXBase() { return std::system("perl -MXBase::Index -e 1 >/dev/null 2>&1") == 0; }

TEST(IndexUpkeep, WritesKeepEveryTagRight) {
  MeetFolder meet;
  meet.Exec(kCreate);
  meet.Exec("Insert Into Ath Values ('7', 'Zoe', 15, {^2009-03-01})");
  AddIndex(meet, kTags);

  // Appends, changes, deletions: each write rebuilds every tag.
  meet.Exec("Insert Into Ath Values ('12', 'adam', 14, {^2010-01-02})");
  meet.Exec("Insert Into Ath (ID, NAME) Values ('3', 'Bea')");
  meet.Exec("Insert Into Ath Values ('40', 'carl', 16, {^2008-12-31})");
  meet.Exec("Update Ath Set NAME='Ada', AGE=17 Where ID=='12'");
  meet.Exec("Delete From Ath Where ID=='3'");
  EXPECT_EQ(meet.Query("Select Count(*) From Ath").rows[0][0], Variant(int32_t{3}));

  std::string file = Slurp(meet.File("Ath.cdx"));
  std::vector<dbf::CdxTag> tags = dbf::ReadCdx(file);
  ASSERT_EQ(tags.size(), kTags.size());
  std::set<std::string> names;
  for (const auto& t : tags) names.insert(t.name + "=" + t.key + "|" + t.filter);
  EXPECT_TRUE(names.count("OLDER=ALLTRIM(ID)|AGE>14"));
  EXPECT_TRUE(names.count("AGEBORN=STR(AGE,3)+DTOS(BORN)|"));

  std::string lookups;
  for (const auto& [tag, keys] : Expected(meet)) {
    std::vector<dbf::CdxKey> stored = dbf::ReadCdxKeys(file, tag);
    std::multimap<std::string, uint32_t> got;
    for (const auto& k : stored) got.emplace(k.bytes, k.record);
    EXPECT_EQ(got, keys) << tag;
    for (size_t i = 1; i < stored.size(); ++i) EXPECT_LE(stored[i - 1].bytes, stored[i].bytes) << tag;
    for (const auto& [key, record] : keys) lookups += tag + "\t" + key + "\t" + std::to_string(record) + "\n";
  }
  EXPECT_NE(lookups.find("AGEBORN\t 1720100102\t2\n"), std::string::npos) << lookups;
  EXPECT_NE(lookups.find("CODE\t00000040\t4\n"), std::string::npos) << lookups;
  if (!HavePerlXBase()) GTEST_SKIP() << "libdbd-xbase-perl missing (scripts/bootstrap installs it)";
  EXPECT_EQ(PerlMissing(meet.File("Ath.cdx"), lookups), "");
}

TEST(IndexUpkeep, ManyRowsSpanSeveralLevelsAndAllAreFound) {
  MeetFolder meet;
  meet.Exec(kCreate);
  AddIndex(meet, kTags);
  for (int i = 0; i < 400; ++i)
    meet.Exec("Insert Into Ath Values ('" + std::to_string(1000 + (i * 7919) % 400) + "', 'Runner " +
              std::to_string(i % 37) + "', " + std::to_string(10 + i % 9) + ", {^2010-05-0" +
              std::to_string(1 + i % 9) + "})");
  std::string file = Slurp(meet.File("Ath.cdx"));
  std::string lookups;
  for (const auto& [tag, keys] : Expected(meet)) {
    EXPECT_EQ(dbf::ReadCdxKeys(file, tag).size(), keys.size()) << tag;
    for (const auto& [key, record] : keys) lookups += tag + "\t" + key + "\t" + std::to_string(record) + "\n";
  }
  if (!HavePerlXBase()) GTEST_SKIP() << "libdbd-xbase-perl missing (scripts/bootstrap installs it)";
  EXPECT_EQ(PerlMissing(meet.File("Ath.cdx"), lookups), "");
}

TEST(IndexUpkeep, ATagTheEngineCannotKeepRefusesWritesNamingIt) {
  struct Case {
    dbf::CdxTag tag;
    std::string says;
  };
  const Case cases[] = {
      {Tag("ODD", "NOSUCHFN(ID)", 6), "tag ODD (NOSUCHFN(ID))"},
      {Tag("NUM", "AGE", 8), "tag NUM (AGE): the key is not text"},
  };
  for (const Case& c : cases) {
    MeetFolder meet;
    meet.Exec(kCreate);
    meet.Exec("Insert Into Ath Values ('7', 'Zoe', 15, {^2009-03-01})");
    AddIndex(meet, {Tag("ID", "ID", 6), c.tag});
    std::string dbf_before = Slurp(meet.File("Ath.dbf")), cdx_before = Slurp(meet.File("Ath.cdx"));
    auto [number, text] = ErrorOf([&] { meet.Exec("Insert Into Ath (ID) Values ('8')"); });
    EXPECT_EQ(number, 70);
    EXPECT_NE(text.find("Ath.dbf: the structural index Ath.cdx cannot be kept up to date, " + c.says),
              std::string::npos)
        << text;
    EXPECT_EQ(Slurp(meet.File("Ath.dbf")), dbf_before);
    EXPECT_EQ(Slurp(meet.File("Ath.cdx")), cdx_before);
    EXPECT_EQ(meet.Query("Select Count(*) From Ath").rows[0][0], Variant(int32_t{1}));
  }

  // A flagged table whose index file is not one: refused, reads served.
  MeetFolder meet;
  meet.Exec(kCreate);
  AddIndex(meet, {Tag("ID", "ID", 6)});
  Spit(meet.File("Ath.cdx"), "not an index");
  auto [number, text] = ErrorOf([&] { meet.Exec("Insert Into Ath (ID) Values ('8')"); });
  EXPECT_EQ(number, 70);
  EXPECT_NE(text.find("Ath.cdx cannot be kept up to date, not a compound index"), std::string::npos) << text;
  EXPECT_EQ(meet.Query("Select Count(*) From Ath").rows[0][0], Variant(int32_t{0}));
}

}  // namespace
}  // namespace foxsql_test
