#include "platform/chart_image.h"

#include <cairo.h>
#include <gif_lib.h>
#include <jpeglib.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "automation/coerce.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "platform/chart_image_draw.h"
#include "platform/paths.h"

namespace platform {

ChartKind ChartKindOf(int16_t type) {
  switch (type) {
    case 1: case 2: return ChartKind::kStackedColumn;
    case 3: return ChartKind::kBar;
    case 4: case 5: return ChartKind::kStackedBar;
    case 6: case 8: case 10: case 12: case 14: case 16: return ChartKind::kLine;
    case 7: case 9: case 11: case 13: case 15: case 17: return ChartKind::kLineMarkers;
    case 21: case 22: case 23: case 24: case 25: case 26: case 27: case 28: return ChartKind::kLineMarkers;
    case 18: case 20: case 32: case 33: return ChartKind::kPie;
    case 19: return ChartKind::kExplodedPie;
    case 29: case 30: case 31: return ChartKind::kArea;
    default: return ChartKind::kColumn;
  }
}

namespace {

std::vector<Text> TabList(TextView list) {
  if (list.empty()) return {};
  return automation::Split(list, u"\t");
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// Pixels of an image surface as 8-bit RGB rows (the surface is opaque).
std::vector<unsigned char> RgbRows(cairo_surface_t* s, int width, int height) {
  cairo_surface_flush(s);
  const unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      unsigned char* out = &rgb[(static_cast<size_t>(y) * width + x) * 3];
      out[0] = static_cast<unsigned char>(row[x] >> 16);
      out[1] = static_cast<unsigned char>(row[x] >> 8);
      out[2] = static_cast<unsigned char>(row[x]);
    }
  }
  return rgb;
}

struct JpegError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

bool WriteJpeg(const std::string& path, const std::vector<unsigned char>& rgb, int width, int height) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct c;
  JpegError err;
  c.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = [](j_common_ptr info) { std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1); };
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&c);
    std::fclose(f);
    return false;
  }
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 92, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(&rgb[static_cast<size_t>(c.next_scanline) * width * 3]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  return std::fclose(f) == 0;
}

bool WriteGif(const std::string& path, const std::vector<unsigned char>& rgb, int width, int height) {
  const size_t n = static_cast<size_t>(width) * height;
  std::vector<GifByteType> red(n), green(n), blue(n), indexed(n);
  for (size_t i = 0; i < n; ++i) red[i] = rgb[i * 3], green[i] = rgb[i * 3 + 1], blue[i] = rgb[i * 3 + 2];
  int colours = 256;
  std::vector<GifColorType> palette(256);
  if (GifQuantizeBuffer(static_cast<unsigned>(width), static_cast<unsigned>(height), &colours, red.data(),
                        green.data(), blue.data(), indexed.data(), palette.data()) == GIF_ERROR)
    return false;
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (!gif) return false;
  ColorMapObject* map = GifMakeMapObject(256, palette.data());
  bool ok = map && EGifPutScreenDesc(gif, width, height, 8, 0, map) != GIF_ERROR &&
            EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) != GIF_ERROR;
  for (int y = 0; ok && y < height; ++y)
    ok = EGifPutLine(gif, &indexed[static_cast<size_t>(y) * width], width) != GIF_ERROR;
  if (map) GifFreeMapObject(map);
  return EGifCloseFile(gif, &error) != GIF_ERROR && ok;
}

cairo_status_t WriteToFile(void* closure, const unsigned char* data, unsigned int length) {
  return std::fwrite(data, 1, length, static_cast<FILE*>(closure)) == length ? CAIRO_STATUS_SUCCESS
                                                                             : CAIRO_STATUS_WRITE_ERROR;
}

bool WritePng(const std::string& path, cairo_surface_t* s) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = cairo_surface_write_to_png_stream(s, WriteToFile, f) == CAIRO_STATUS_SUCCESS;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

void ChartSpace::SetCategories(TextView tab_list) { categories_ = TabList(tab_list); }

void ChartSpace::SetValues(TextView tab_list) {
  std::vector<double> values;
  for (const Text& item : TabList(tab_list)) values.push_back(automation::CDbl(automation::Variant(item)));
  values_ = std::move(values);
}

bool ChartSpace::ExportPicture(TextView path, TextView filter, int width, int height) const {
  const Text format = automation::LCase(filter);
  if (format != u"png" && format != u"gif" && format != u"jpg" && format != u"jpeg") return false;
  if (width < 1 || height < 1 || width > kChartMaxSide || height > kChartMaxSide ||
      static_cast<int64_t>(width) * height > kChartMaxPixels)
    return false;

  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height), cairo_surface_destroy);
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return false;
  cairo_t* cr = cairo_create(surface.get());
  chart_draw::DrawChart(cr, width, height, {kind_, reversed_, title_, categories_, values_});
  const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
  cairo_destroy(cr);
  if (!drawn) return false;

  // Written beside the target and renamed over it, so that a failed export
  // never leaves a partial image where the page looks for it.
  const std::string target = NativePath(path);
  const std::string temp = target + ".part" + std::to_string(getpid());
  bool ok;
  if (format == u"png") {
    ok = WritePng(temp, surface.get());
  } else {
    const std::vector<unsigned char> rgb = RgbRows(surface.get(), width, height);
    ok = format == u"gif" ? WriteGif(temp, rgb, width, height) : WriteJpeg(temp, rgb, width, height);
  }
  std::error_code ec;
  if (ok) {
    std::filesystem::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) std::filesystem::remove(temp, ec);
  return ok;
}

void RegisterChartSpaceClass() {
  automation::RegisterClass(u"owc11.chartspace", [] { return std::make_shared<ChartSpace>(); });
}

}  // namespace platform
