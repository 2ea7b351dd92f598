// Compact, display and data-engine dates, time names and the client address,
// on a fixed clock.
#include <gtest/gtest.h>

#include "automation/test_util.h"

#include "arenix/text/dates.h"
#include "automation/clock.h"
#include "automation/datetime.h"
#include "automation/error.h"
#include "host/memory_host.h"

namespace arenix::text {
namespace {

using automation::MakeDate;
using automation::ScopedClock;

using automation::testing_util::ErrorOf;

TEST(Dates, CompactFormsOfNow) {
  ScopedClock clock(MakeDate(2024, 3, 5, 8, 7, 6), 1);
  EXPECT_EQ(GetDate(kTodayMarker), u"20240305");
  EXPECT_EQ(GetDate(MakeDate(1900, 10, 10)), u"20240305");  // the marker as a real date
  EXPECT_EQ(GetDate(MakeDate(1999, 12, 31, 23, 59, 59)), u"19991231");
  EXPECT_EQ(GetDate(MakeDate(1900, 10, 10, 0, 0, 1)), u"19001010");  // not exactly the marker
  EXPECT_EQ(GetDate(MakeDate(999, 1, 2)), u"9990102");
  EXPECT_EQ(GetDateTime(), u"20240305080706");
  EXPECT_EQ(FileGetTimeName(), u"20240305080706");
}

TEST(Dates, TimeNamePadsTheYear) {
  ScopedClock clock(MakeDate(987, 11, 22, 23, 0, 9), 1);
  EXPECT_EQ(GetDateTime(), u"9871122230009");
  EXPECT_EQ(FileGetTimeName(), u"09871122230009");
}

TEST(Dates, DisplayForms) {
  struct Case {
    Text s, date, date_time;
  } cases[] = {
      {u"20240315", u"2024-03-15", u"2024-03-15 ::"},
      {u" 2024031 ", u"2024-03-1", u"2024-03-1 ::"},
      {u"20240315083005", u"2024-03-15", u"2024-03-15 08:30:05"},
      {u"abc", u"abc", u"abc"},
      {u"  2024-03-15 ", u"2024-03-15", u"2024-03-15"},
      {u"", u"", u""},
      {u"12", u"12--", u"12-- ::"},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(automation::ToUtf8(k.s));
    EXPECT_EQ(PutDate(k.s), k.date);
    EXPECT_EQ(PutDateTime(k.s), k.date_time);
  }
}

TEST(Dates, DataEngineOrder) {
  ScopedClock clock(MakeDate(2024, 12, 1, 10, 0, 0), 1);
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"2024-03-05", u"3/5/2024"},
      {u"", u"12/1/2024"},
      {u"   ", u"12/1/2024"},
      {u"2024年11月20日", u"11/20/2024"},
      {u"2024/3/5 8:30", u"3/5/2024"},
  };
  for (const auto& k : cases) EXPECT_EQ(DateVB2VFP(k.s), k.expected) << automation::ToUtf8(k.s);
  EXPECT_EQ(ErrorOf([] { DateVB2VFP(u"no date"); }), automation::err::kTypeMismatch);
  EXPECT_EQ(ErrorOf([] { DateVB2VFP(u"2024-02-30"); }), automation::err::kTypeMismatch);
}

TEST(Dates, FromDataEngineOrder) {
  ScopedClock clock(MakeDate(2024, 7, 9, 10, 0, 0), 1);
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"03/05/2024", u"2024-03-05"},
      {u"03/05/2024星期二", u"2024-03-05"},
      {u"星期日03/05/2024", u"2024-03-05"},
      {u"2024-03-05", u"2024-03-05"},
      {u" 2024-03-05", u" 2024-03-05"},  // a date without "/" comes back as it is
      {u"", u"2024-07-09"},
      {u"星期一", u"2024-07-09"},
      {u"  ", u"2024-07-09"},
      {u"abc", u"abc-ab-"},  // not a date: still read by position
      {u"12/31/1999 ", u"999 -12-31"},  // not trimmed for the positions
  };
  for (const auto& k : cases) EXPECT_EQ(DateVFP2VB(k.s), k.expected) << automation::ToUtf8(k.s);
}

TEST(Dates, FileSizes) {
  struct Case {
    Text s, expected;
  } cases[] = {
      {u"", u"0B"},
      {u"0", u"0B"},
      {u"1023", u"1023B"},
      {u"1024", u"1K"},
      {u"1536", u"1.5K"},
      {u"1048575", u"1024K"},  // 1023.999K passes the K test, then rounds
      {u"1048576", u"1M"},
      {u"1288490189", u"1.2G"},
      {u"2251799813685248", u"2097152G"},  // no unit beyond G
      {u" 2048 ", u"2K"},
      {u"1,024", u"1K"},
  };
  for (const auto& k : cases) EXPECT_EQ(GetFileSize(k.s), k.expected) << automation::ToUtf8(k.s);
  EXPECT_EQ(ErrorOf([] { GetFileSize(u"12 KB"); }), automation::err::kTypeMismatch);
}

TEST(Dates, RandomNames) {
  ScopedClock clock(MakeDate(2024, 3, 5, 8, 7, 6), 42);
  Text name = FileGetRndName(20);
  ASSERT_EQ(name.size(), 20u);
  EXPECT_EQ(name.substr(0, 14), u"20240305080706");
  for (char16_t c : name) EXPECT_TRUE(c >= u'0' && c <= u'9');
  Text six = FileGetRndName(6);
  EXPECT_EQ(six.size(), 6u);
  Text longer = FileGetRndName(22);
  EXPECT_EQ(longer.size(), 22u);
  EXPECT_EQ(longer.substr(20), u"99");
  EXPECT_EQ(FileGetRndName(0), u"");
  EXPECT_EQ(ErrorOf([] { FileGetRndName(-1); }), automation::err::kInvalidCall);
  // A fixed seed repeats the names.
  ScopedClock again(MakeDate(2024, 3, 5, 8, 7, 6), 42);
  EXPECT_EQ(FileGetRndName(20), name);
}

TEST(Dates, ClientAddress) {
  auto request = std::make_shared<host::MemoryRequest>();
  Variant v(std::static_pointer_cast<automation::Object>(request));
  EXPECT_EQ(GetIp(v), u"");
  request->SetServerVariable(u"REMOTE_ADDR", u"10.0.0.7");
  EXPECT_EQ(GetIp(v), u"10.0.0.7");
  request->SetServerVariable(u"HTTP_X_FORWARDED_FOR", u"1.2.3.4, 10.0.0.1");
  EXPECT_EQ(GetIp(v), u"1.2.3.4, 10.0.0.1");
  EXPECT_EQ(ErrorOf([] { GetIp(Variant(u"")); }), automation::err::kObjectRequired);
}

}  // namespace
}  // namespace arenix::text
