#include "arenix/desk/list_pdf.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>

#include "automation/coerce.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/runtime.h"

namespace arenix::desk {

using automation::Text;
using automation::Variant;

namespace {

constexpr char kFont[] = "WenQuanYi Micro Hei";
constexpr double kWidth = 595.28, kHeight = 841.89;  // A4 in points
constexpr double kMargin = 42, kRow = 18, kHeading = 26, kTitle = 34;

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(closure);
  out->insert(out->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

class Writer {
 public:
  Writer(const automation::Text& title, std::vector<uint8_t>& out)
      : title_(automation::ToUtf8(title)),
        surface_(cairo_pdf_surface_create_for_stream(Append, &out, kWidth, kHeight)),
        cr_(cairo_create(surface_)) {
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title_.c_str());
    StartPage();
  }
  ~Writer() {
    cairo_show_page(cr_);
    cairo_destroy(cr_);
    cairo_surface_finish(surface_);
    cairo_surface_destroy(surface_);
  }

  void Block(const ListBlock& b) {
    const double need = kHeading + kRow * static_cast<double>(b.rows.size() + 1);
    const double page = kHeight - kMargin - (kMargin + kTitle);
    if (y_ + need > kHeight - kMargin && need <= page) NewPage();
    // Column widths: shared out by the longest text of each column.
    std::vector<double> widths(b.columns.size(), 1.0);
    for (size_t c = 0; c < b.columns.size(); ++c) {
      widths[c] = std::max<double>(2, static_cast<double>(b.columns[c].size()));
      for (const auto& r : b.rows)
        if (c < r.size()) widths[c] = std::max(widths[c], static_cast<double>(std::min<size_t>(r[c].size(), 16)));
    }
    double sum = 0;
    for (double w : widths) sum += w;
    for (double& w : widths) w = w / sum * (kWidth - 2 * kMargin);

    if (y_ + kHeading + kRow > kHeight - kMargin) NewPage();
    Draw(automation::ToUtf8(b.heading), kMargin, y_ + 17, 12, true);
    y_ += kHeading;
    Header(b, widths);
    for (const auto& r : b.rows) {
      if (y_ + kRow > kHeight - kMargin) {
        NewPage();
        Header(b, widths);
      }
      double x = kMargin;
      for (size_t c = 0; c < widths.size(); ++c) {
        if (c < r.size()) Draw(automation::ToUtf8(r[c]), x + 3, y_ + 13, 10, false);
        x += widths[c];
      }
      cairo_set_source_rgb(cr_, 0.8, 0.8, 0.8);
      cairo_move_to(cr_, kMargin, y_ + kRow);
      cairo_line_to(cr_, kWidth - kMargin, y_ + kRow);
      cairo_set_line_width(cr_, 0.5);
      cairo_stroke(cr_);
      y_ += kRow;
    }
    y_ += 10;
  }

 private:
  void StartPage() {
    ++page_;
    Draw(title_, kMargin, kMargin + 16, 15, true);
    Draw("第 " + std::to_string(page_) + " 页", kWidth - kMargin - 50, kMargin + 16, 9, false);
    y_ = kMargin + kTitle;
  }
  void NewPage() {
    cairo_show_page(cr_);
    StartPage();
  }
  void Header(const ListBlock& b, const std::vector<double>& widths) {
    cairo_set_source_rgb(cr_, 0.91, 0.93, 0.96);
    cairo_rectangle(cr_, kMargin, y_, kWidth - 2 * kMargin, kRow);
    cairo_fill(cr_);
    double x = kMargin;
    for (size_t c = 0; c < widths.size(); ++c) {
      Draw(automation::ToUtf8(b.columns[c]), x + 3, y_ + 13, 10, true);
      x += widths[c];
    }
    y_ += kRow;
  }
  void Draw(const std::string& s, double x, double y, double size, bool bold) {
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_select_font_face(cr_, kFont, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, size);
    cairo_move_to(cr_, x, y);
    cairo_show_text(cr_, s.c_str());
  }

  std::string title_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
  double y_ = 0;
  int page_ = 0;
};

enum ListPdfMember { kSetTitle, kAddBlock, kAddRow, kMakeBytes };
const automation::MemberTable kListPdfMembers{
    {u"Title", kSetTitle, automation::kMethod, 1, 1},
    {u"Block", kAddBlock, automation::kMethod, 2, 2},
    {u"Row", kAddRow, automation::kMethod, 1, 1},
    {u"Bytes", kMakeBytes, automation::kMethod, 0, 0},
};

class ListPdfObject : public automation::Object {
 public:
  automation::Text ClassName() const override { return u"ListPdf"; }
  const automation::MemberTable* Members() const override { return &kListPdfMembers; }

  Variant Invoke(automation::TextView name, automation::InvokeKind kind, std::span<Variant* const> args) override {
    auto arg = [&](size_t i) { return automation::CStr(*args[i]); };
    switch (kListPdfMembers.Resolve(name, kind, args.size())) {
      case kSetTitle:
        title_ = arg(0);
        return Variant();
      case kAddBlock:
        blocks_.push_back(ListBlock{arg(0), automation::Split(arg(1), u"|"), {}});
        return Variant();
      case kAddRow:
        if (blocks_.empty()) blocks_.push_back(ListBlock{});
        blocks_.back().rows.push_back(automation::Split(arg(0), u"|"));
        return Variant();
      case kMakeBytes:
        return Variant(automation::Bytes(ListPdf(title_, blocks_)));
    }
    return Object::Invoke(name, kind, args);
  }

 private:
  automation::Text title_;
  std::vector<ListBlock> blocks_;
};

}  // namespace

std::vector<uint8_t> ListPdf(const automation::Text& title, const std::vector<ListBlock>& blocks) {
  std::vector<uint8_t> out;
  {
    Writer w(title, out);
    for (const ListBlock& b : blocks) w.Block(b);
  }
  return out;
}

void RegisterListPdfClass() {
  automation::RegisterClass(u"Arenix.ListPdf", [] { return std::make_shared<ListPdfObject>(); });
}

}  // namespace arenix::desk
