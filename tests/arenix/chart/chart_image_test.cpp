// Chart images: written files by format, their size, a title that shows,
// and the result codes. The PNGs are kept under build/artifacts/charts.
#include <cairo.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "arenix/frame/arenix_cls.h"
#include "automation/error.h"
#include "automation/registry.h"
#include "platform/chart_image.h"
#include "platform/classes.h"
#include "support/node.h"

// Fontconfig keeps its font caches for the life of the process by design;
// the leak checker of the sanitizer build is told so.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace arenix::testing {
namespace {

using automation::Text;

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Image {
  int width = 0, height = 0;
  // Rows that hold a pixel unlike the frame's background colour.
  bool InkIn(int top, int bottom) const {
    for (int y = top; y < bottom; ++y)
      for (int x = 4; x < width - 4; ++x)
        if ((pixels[static_cast<size_t>(y) * width + x] & 0xffffff) != 0xefefef) return true;
    return false;
  }
  std::vector<uint32_t> pixels;
};

Image ReadPng(const std::string& path) {
  Image image;
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    image.width = cairo_image_surface_get_width(s);
    image.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < image.height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
      image.pixels.insert(image.pixels.end(), row, row + image.width);
    }
  }
  cairo_surface_destroy(s);
  return image;
}

class ChartImage : public ::testing::Test {
 protected:
  std::string dir = ArtifactDir("charts");
  ArenixCls cls;
  int16_t Draw(const Text& categories, const Text& values, int16_t type, const Text& title, int16_t orientation,
               const Text& filter, int16_t width, int16_t height, const std::string& path) {
    return cls.CommGraphiWithOwc(categories, values, u"报名人数", type, title, orientation, filter, width, height,
                                 automation::FromUtf8(path));
  }
};

TEST_F(ChartImage, BarAndPieWithChineseLabelsAsPng) {
  const Text teams = u"第一中学\t实验小学\t体育学校\t外国语学校\t师范附中";
  const Text counts = u"42\t35\t58\t12\t27";
  const std::pair<int16_t, const char*> kinds[] = {{3, "bar"}, {0, "column"}, {18, "pie"}, {19, "exploded-pie"},
                                                   {7, "line-markers"}, {29, "area"}};
  for (const auto& [type, name] : kinds) {
    SCOPED_TRACE(name);
    const std::string path = dir + "/" + name + ".png";
    std::filesystem::remove(path);
    ASSERT_EQ(Draw(teams, counts, type, u"各代表队报名人数", 0, u"PNG", 480, 320, path), 0);
    const Image image = ReadPng(path);
    EXPECT_EQ(image.width, 480);
    EXPECT_EQ(image.height, 320);
    EXPECT_TRUE(image.InkIn(6, 30)) << "title area blank";
    EXPECT_TRUE(image.InkIn(60, 300));
  }
  // Without a title the title band stays the frame's colour.
  const std::string bare = dir + "/untitled.png";
  ASSERT_EQ(Draw(teams, counts, 18, u"", 0, u"png", 480, 320, bare), 0);
  EXPECT_FALSE(ReadPng(bare).InkIn(2, 6));
  // Reversed value axis draws.
  ASSERT_EQ(Draw(teams, counts, 0, u"倒序", 1, u"png", 480, 320, dir + "/column-reversed.png"), 0);
}

TEST_F(ChartImage, JpegAndGifByFilterWithoutRegardToCase) {
  const std::pair<const char16_t*, std::string> formats[] = {
      {u"JPG", "\xff\xd8\xff"}, {u"jpeg", "\xff\xd8\xff"}, {u"Gif", "GIF8"}};
  for (const auto& [filter, magic] : formats) {
    const std::string path = dir + "/chart-" + automation::ToUtf8(filter) + ".img";
    ASSERT_EQ(Draw(u"甲\t乙", u"1\t2", 0, u"标题", 0, filter, 200, 150, path), 0);
    const std::string bytes = Bytes(path);
    EXPECT_EQ(bytes.substr(0, magic.size()), magic);
    if (magic == "GIF8") {
      EXPECT_EQ(static_cast<unsigned char>(bytes[6]) | static_cast<unsigned char>(bytes[7]) << 8, 200);
      EXPECT_EQ(static_cast<unsigned char>(bytes[8]) | static_cast<unsigned char>(bytes[9]) << 8, 150);
    }
    std::filesystem::remove(path);
  }
}

TEST_F(ChartImage, ResultCodesAndBadData) {
  const std::string gone = dir + "/no-such-folder/chart.png";
  EXPECT_EQ(Draw(u"甲", u"1", 0, u"t", 0, u"png", 200, 150, gone), 2);
  EXPECT_FALSE(std::filesystem::exists(gone));
  const std::string path = dir + "/refused.png";
  std::filesystem::remove(path);
  EXPECT_EQ(Draw(u"甲", u"1", 0, u"t", 0, u"bmp", 200, 150, path), 2);
  EXPECT_EQ(Draw(u"甲", u"1", 0, u"t", 0, u"png", 0, 150, path), 2);
  EXPECT_EQ(Draw(u"甲", u"1", 0, u"t", 0, u"png", 20000, 20000, path), 2);
  EXPECT_FALSE(std::filesystem::exists(path));
  // No items and a pie summing to 0 draw an empty plot.
  EXPECT_EQ(Draw(u"", u"", 0, u"无数据", 0, u"png", 200, 150, dir + "/empty.png"), 0);
  EXPECT_EQ(Draw(u"甲\t乙", u"0\t0", 18, u"零", 0, u"png", 200, 150, dir + "/zero-pie.png"), 0);
  // A value that is not a number fails the call, as the component rejects it.
  try {
    Draw(u"甲\t乙", u"1\tmany", 0, u"t", 0, u"png", 200, 150, path);
    ADD_FAILURE() << "no error";
  } catch (const automation::Error& e) {
    EXPECT_EQ(e.number(), 13);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(ChartImage, InstalledUnderTheChartObjectsName) {
  automation::Variant server;
  EXPECT_TRUE(cls.CommCheckIsObjInstalled(server, u"OWC11.ChartSpace"));
  // Without the chart object the result is 1 and nothing is written.
  automation::RegisterClass(u"owc11.chartspace", []() -> automation::ObjectPtr {
    throw automation::Error(automation::err::kCannotCreate);
  });
  const std::string path = dir + "/uninstalled.png";
  EXPECT_EQ(Draw(u"甲", u"1", 0, u"t", 0, u"png", 200, 150, path), 1);
  EXPECT_FALSE(std::filesystem::exists(path));
  platform::RegisterChartSpaceClass();
  EXPECT_EQ(Draw(u"甲", u"1", 0, u"t", 0, u"png", 200, 150, path), 0);
  std::filesystem::remove(path);
}

TEST(ChartKinds, PublishedCodesAndTheirNearestDrawing) {
  using platform::ChartKind;
  const std::pair<int16_t, ChartKind> cases[] = {
      {0, ChartKind::kColumn},     {1, ChartKind::kStackedColumn}, {3, ChartKind::kBar},
      {4, ChartKind::kStackedBar}, {6, ChartKind::kLine},          {7, ChartKind::kLineMarkers},
      {18, ChartKind::kPie},       {19, ChartKind::kExplodedPie},  {29, ChartKind::kArea},
      {12, ChartKind::kLine},      {24, ChartKind::kLineMarkers},  {32, ChartKind::kPie},
      {31, ChartKind::kArea},      {-1, ChartKind::kColumn},       {60, ChartKind::kColumn}};
  for (const auto& [code, kind] : cases) EXPECT_EQ(platform::ChartKindOf(code), kind) << code;
}

}  // namespace
}  // namespace arenix::testing
