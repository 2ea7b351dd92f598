#include "arenix/check/postcard.h"

#include <gtest/gtest.h>

#include "arenix/frame/arenix_cls.h"
#include "automation/clock.h"
#include "automation/datetime.h"

namespace arenix::check {
namespace {

using automation::Error;
using automation::Variant;

// The published example of the national standard, and its parts.
constexpr char16_t kExample[] = u"11010519491231002X";

const Text kLengthMessage17 = u"当前身份证号码位数错误[17位]，正确的应为15位或18位！";
const Text kDigitsMessage = u"身份证号码错误，正确的应是除最后一位外，必须为数字！";
const Text kBirthMessage = u"身份证号码中出生年月部分数据错误！";

Text CheckMessage(char16_t correct) { return Text(u"身份证号码校验位错误！正确应为") + correct; }

// An 18-character number with the right check character for a birth date.
Text WithBirth(const char16_t* yyyymmdd) {
  Text body = u"110105" + Text(yyyymmdd) + u"002";
  return body + PostcardCheckCharacter(body);
}

class PostcardTest : public ::testing::Test {
 protected:
  // Today is 15 June 2024 for every case.
  automation::ScopedClock clock_{automation::MakeDate(2024, 6, 15, 10, 30), std::nullopt};
};

TEST_F(PostcardTest, CheckCharacterOfTheStandard) {
  EXPECT_EQ(PostcardCheckCharacter(u"11010519491231002"), u'X');
  EXPECT_EQ(PostcardCheckCharacter(u"44052418800101001"), u'4');
  EXPECT_EQ(CheckPostCard(kExample, 4, 0, u"", u""), u"");
}

TEST_F(PostcardTest, EveryChangedDigitIsCaughtAtLevelFour) {
  const Text good = kExample;
  for (size_t i = 0; i < 18; ++i) {
    for (char16_t d : Text(u"0123456789X")) {
      if (d == good[i] || (d == u'X' && i < 17)) continue;
      Text changed = good;
      changed[i] = d;
      const Text message = CheckPostCard(changed, 4, 0, u"", u"");
      SCOPED_TRACE(automation::ToUtf8(changed));
      EXPECT_FALSE(message.empty());
      // A change that keeps a valid birth date is caught by the check character.
      if (message != kBirthMessage)
        EXPECT_EQ(message, CheckMessage(i == 17 ? u'X' : PostcardCheckCharacter(changed.substr(0, 17))));
      if (i < 6 || i >= 14) EXPECT_NE(message, kBirthMessage);
    }
  }
}

TEST_F(PostcardTest, Levels) {
  struct Case {
    const char16_t* number;
    int16_t level;
    Text expected;
  };
  const Case cases[] = {
      {u"", 0, u""},
      {u"anything at all", 1, u""},
      {u"1101051949123100", 1, u""},
      {u"11010519491231002", 2, kLengthMessage17},
      {u"", 2, u"当前身份证号码位数错误[0位]，正确的应为15位或18位！"},
      {u"1101051949123100AX", 2, kDigitsMessage},
      {u"11010519491231002Q", 2, u""},          // the last character is not read below level 4
      {u"11010519491231002x", 3, u""},
      {u"11010519491231002x", 4, CheckMessage(u'X')},  // a lower-case x fails
      {u"110105491231002", 4, u""},             // 15 characters: widened with "19", no check character
      {u"110105491231009", 4, u""},
      {u"110105491232002", 3, kBirthMessage},   // 1949-12-32
      {u"11010519491331002X", 3, kBirthMessage},
      {u"11010519490229002X", 3, kBirthMessage},  // 1949 is not a leap year
      {u"11010519490231002X", 3, kBirthMessage},  // day 31 only in months that have it
      {u"11010519490431002X", 4, kBirthMessage},
      {u"11010520230229002X", 3, kBirthMessage},
      {u"11010519491231002X", 9, u""},
      {u"1101051949.231002X", 2, u""},          // numeric by the number rule
      {u"1101051949.231002X", 3, kBirthMessage},
      {u"+1010519491231002X", 4, kDigitsMessage},  // no check character without 17 digits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(automation::ToUtf8(CheckPostCard(c.number, c.level, 0, u"", u"")),
              automation::ToUtf8(c.expected))
        << automation::ToUtf8(c.number) << " at level " << c.level;
  }
}

TEST_F(PostcardTest, BirthDateAroundToday) {
  EXPECT_EQ(CheckPostCard(WithBirth(u"20240615"), 4, 0, u"", u""), u"");
  EXPECT_EQ(CheckPostCard(WithBirth(u"20240616"), 4, 0, u"", u""), kBirthMessage);
  EXPECT_EQ(CheckPostCard(WithBirth(u"20250101"), 3, 0, u"", u""), kBirthMessage);
  EXPECT_EQ(CheckPostCard(WithBirth(u"20240229"), 4, 0, u"", u""), u"");   // leap day
  EXPECT_EQ(CheckPostCard(WithBirth(u"18840101"), 4, 0, u"", u""), u"");   // 140 years back
  EXPECT_EQ(CheckPostCard(WithBirth(u"18831231"), 4, 0, u"", u""), kBirthMessage);
  EXPECT_EQ(CheckPostCard(WithBirth(u"19900001"), 3, 0, u"", u""), kBirthMessage);
  EXPECT_EQ(CheckPostCard(WithBirth(u"19900100"), 3, 0, u"", u""), kBirthMessage);
  // Below level 3 the date is read but not judged.
  EXPECT_EQ(CheckPostCard(WithBirth(u"20240616"), 2, 0, u"", u""), u"");
}

TEST_F(PostcardTest, AgeLimitCountsCalendarYears) {
  const Text age_message = u"年龄超出了限制范围[18]！";
  EXPECT_EQ(CheckPostCard(WithBirth(u"20051231"), 3, 18, u"", u""), age_message);
  EXPECT_EQ(CheckPostCard(WithBirth(u"20050101"), 4, 18, u"", u""), age_message);
  EXPECT_EQ(CheckPostCard(WithBirth(u"20060101"), 3, 18, u"", u""), u"");
  EXPECT_EQ(CheckPostCard(WithBirth(u"20061231"), 3, 18, u"", u""), u"");
  EXPECT_EQ(CheckPostCard(WithBirth(u"20051231"), 2, 18, u"", u""), u"");  // below level 3
  EXPECT_EQ(CheckPostCard(WithBirth(u"19000101"), 3, 0, u"", u""), u"");   // 0: no limit
}

TEST_F(PostcardTest, BirthDateWindow) {
  const Text window = u"出生年月超出范围[20000101- 20101231]！";
  struct Case {
    const char16_t* birth;
    const char16_t* low;
    const char16_t* high;
    int16_t level;
    Text expected;
  };
  const Case cases[] = {
      {u"19991231", u"20000101", u"20101231", 3, window},
      {u"20000101", u"20000101", u"20101231", 3, u""},
      {u"20101231", u"20000101", u"20101231", 3, u""},
      {u"20110101", u"20000101", u"20101231", 3, window},
      {u"20110101", u"20101231", u"20000101", 3, window},  // reversed bounds are swapped
      {u"19991231", u"20000101", u"", 3, u"出生年月超出范围[20000101- ]！"},
      {u"20110101", u"2000010", u"20101231", 3, u"出生年月超出范围[- 20101231]！"},  // 7 characters: ignored
      {u"19991231", u"2000010", u"20101231", 3, u""},
      {u"19991231", u"20000101", u"20101231", 0, window},  // a bound raises the level to 3
      {u"19991231", u"200001", u"201012", 0, u""},         // ignored bounds do not
  };
  for (const auto& c : cases) {
    EXPECT_EQ(automation::ToUtf8(CheckPostCard(WithBirth(c.birth), c.level, 0, c.low, c.high)),
              automation::ToUtf8(c.expected))
        << automation::ToUtf8(c.birth) << " " << automation::ToUtf8(c.low) << "-"
        << automation::ToUtf8(c.high);
  }
  // With a bound the date is judged even at level 0.
  EXPECT_EQ(CheckPostCard(u"11010519491331002X", 0, 0, u"19000101", u""), kBirthMessage);
  EXPECT_EQ(CheckPostCard(u"", 1, 0, u"", u"20101231"),
            u"当前身份证号码位数错误[0位]，正确的应为15位或18位！");
}

TEST_F(PostcardTest, DatePartThatIsNotANumberFailsTheCall) {
  // Each body is a number ("1101051949123E001" is 1101051949123 × 10;
  // blanks may surround one), but "3E" and the blank day are no date parts.
  // A year such as "19E9" is read, not an overflow.
  for (const char16_t* number : {u"1101051949123E001X", u"\t\t\t181E90\t\t\t\t\t\t"}) {
    try {
      CheckPostCard(number, 2, 0, u"", u"");
      ADD_FAILURE() << "no error for " << automation::ToUtf8(number);
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), automation::err::kTypeMismatch) << automation::ToUtf8(number);
    }
  }
  EXPECT_EQ(CheckPostCard(u"1101051E-91231002X", 2, 0, u"", u""), u"");  // year 1E-9: read
  EXPECT_EQ(CheckPostCard(u"1101051E-91231002X", 3, 0, u"", u""), kBirthMessage);
}

TEST_F(PostcardTest, PublicMethodLeavesTheBoundsAsPassed) {
  ArenixCls cls;
  Variant number(Text(WithBirth(u"20110101"))), level(int16_t(2)), age(int16_t(0));
  Variant low(Text(u"20101231")), high(Text(u"20000101"));
  Variant* args[] = {&number, &level, &age, &low, &high};
  EXPECT_EQ(CallMethod(cls, u"CommCheckPostCard", args),
            Variant(Text(u"出生年月超出范围[20000101- 20101231]！")));
  EXPECT_EQ(low, Variant(Text(u"20101231")));
  EXPECT_EQ(high, Variant(Text(u"20000101")));
  Variant* two[] = {&number, &level};
  EXPECT_EQ(CallMethod(cls, u"CommCheckPostCard", two), Variant(Text()));
}

TEST_F(PostcardTest, BirthdayAndSex) {
  EXPECT_EQ(BirthdayFromPostcard(u"110105199005031234"), u"05/03/1990");
  EXPECT_EQ(BirthdayFromPostcard(u"110105199005031234 "), u"05/03/1990");
  EXPECT_EQ(BirthdayFromPostcard(u"110105900503123"), u"");       // 15 characters
  EXPECT_EQ(BirthdayFromPostcard(u"110105202401011234"), u"");    // born this year
  EXPECT_EQ(BirthdayFromPostcard(u"110105202301011234"), u"01/01/2023");
  EXPECT_EQ(BirthdayFromPostcard(u"110105187401011234"), u"01/01/1874");  // 150 years
  EXPECT_EQ(BirthdayFromPostcard(u"110105187301011234"), u"");
  EXPECT_EQ(BirthdayFromPostcard(u"110105199013011234"), u"");
  EXPECT_EQ(BirthdayFromPostcard(u"110105199002311234"), u"02/31/1990");  // only day <= 31
  EXPECT_EQ(BirthdayFromPostcard(u""), u"");
  EXPECT_THROW(BirthdayFromPostcard(u"11010519900A031234"), Error);

  for (char16_t d : Text(u"13579")) {
    Text n = kExample;
    n[16] = d;
    EXPECT_EQ(SexFromPostcard(n), u"男");
  }
  for (char16_t d : Text(u"02468")) {
    Text n = kExample;
    n[16] = d;
    EXPECT_EQ(SexFromPostcard(n), u"女");
  }
  EXPECT_EQ(SexFromPostcard(u"110105491231002"), u"");
  EXPECT_EQ(SexFromPostcard(u" 11010519491231002"), u"");  // 17 once trimmed
  try {
    SexFromPostcard(u"1101051949123100XX");
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), automation::err::kTypeMismatch);
  }
}

}  // namespace
}  // namespace arenix::check
