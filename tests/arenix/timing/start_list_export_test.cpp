// The start lists as the camera reads them: one heat line and its athletes,
// the people once each, values that hold a comma or a quote kept in one
// column.
#include "arenix/timing/start_list_export.h"

#include <gtest/gtest.h>

namespace arenix::timing {
namespace {

using automation::ToUtf8;

TEST(StartListExport, HeatsAndPeopleInTheCamerasColumns) {
  TimingEvent e;
  e.number = 7;
  e.item = u"100米";
  e.age = u"高中组";
  e.sex = u"男";
  e.stages = {1, 4};
  e.kind = u"径赛";
  const std::vector<ExportHeat> heats = {
      {&e, 4, 1, {{u"101", u"张三", u"一中", 1, 3}, {u"102", u"O\"Neil, Jr", u"二中", 1, 4}}},
      {&e, 4, 2, {{u"101", u"张三", u"一中", 2, -1}}},
  };
  EXPECT_EQ(ToUtf8(EventsText(heats)),
            "7,2,1,高中组 男子 100米 决赛\r\n"
            ",101,3,张三,,一中\r\n"
            ",102,4,\"O\"\"Neil, Jr\",,二中\r\n"
            "7,2,2,高中组 男子 100米 决赛\r\n"
            ",101,,张三,,一中\r\n");
  EXPECT_EQ(ToUtf8(PeopleText(heats)), "101,张三,,一中\r\n102,\"O\"\"Neil, Jr\",,二中\r\n");
}

TEST(StartListExport, RoundsCountTheEventsOwnStages) {
  TimingEvent e;
  e.stages = {1, 3, 4};
  EXPECT_EQ(e.StageOfRound(2), 3);
  EXPECT_EQ(e.RoundOfStage(4), 3);
  EXPECT_EQ(e.StageOfRound(4), 0);
  EXPECT_EQ(e.StageOfRound(0), 0);
  EXPECT_EQ(e.RoundOfStage(2), 0);
  e.kind = u"径赛";
  EXPECT_TRUE(e.Timed());
  e.custom_format = u"##.##";
  EXPECT_FALSE(e.Timed());
}

}  // namespace
}  // namespace arenix::timing
