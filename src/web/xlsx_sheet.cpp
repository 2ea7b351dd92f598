#include "web/xlsx_sheet.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <xlsxwriter.h>

#include "automation/error.h"

namespace web {

namespace {

// The library writes to a named file only (1.1 has no memory output): a
// private temporary file, removed whatever happens.
class TempFile {
 public:
  TempFile() {
    const char* dir = std::getenv("TMPDIR");
    path_ = std::string(dir && *dir ? dir : "/tmp") + "/arenix-sheet-XXXXXX.xlsx";
    const int fd = mkstemps(path_.data(), 5);
    if (fd < 0) throw automation::Error(automation::err::kPathFileAccess, u"不能建立导出文件");
    close(fd);
  }
  ~TempFile() { unlink(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// A worksheet name may hold at most 31 characters and none of []:*?/\.
std::string SheetName(const Text& name) {
  Text clean;
  for (char16_t c : name) clean += Text(u"[]:*?/\\").find(c) == Text::npos ? c : u'_';
  if (clean.size() > 31) clean.resize(31);
  return automation::ToUtf8(clean.empty() ? Text(u"Sheet1") : clean);
}

void Check(lxw_error e) {
  if (e != LXW_NO_ERROR)
    throw automation::Error(automation::err::kPathFileAccess,
                            u"导出表格失败：" + automation::FromUtf8(lxw_strerror(e)));
}

}  // namespace

automation::Bytes XlsxBytes(const SheetTable& table) {
  TempFile file;
  lxw_workbook* book = workbook_new(file.path().c_str());
  if (!book) throw automation::Error(automation::err::kPathFileAccess, u"不能建立导出文件");
  lxw_worksheet* sheet = workbook_add_worksheet(book, SheetName(table.name).c_str());
  lxw_format* bold = workbook_add_format(book);
  format_set_bold(bold);
  lxw_row_t row = 0;
  if (!table.title.empty()) {
    lxw_format* heading = workbook_add_format(book);
    format_set_bold(heading);
    format_set_font_size(heading, 14);
    worksheet_write_string(sheet, row++, 0, automation::ToUtf8(table.title).c_str(), heading);
  }
  for (size_t c = 0; c < table.header.size(); ++c)
    worksheet_write_string(sheet, row, static_cast<lxw_col_t>(c), automation::ToUtf8(table.header[c]).c_str(), bold);
  ++row;
  for (const auto& cells : table.rows) {
    for (size_t c = 0; c < cells.size(); ++c) {
      const auto col = static_cast<lxw_col_t>(c);
      if (const double* n = std::get_if<double>(&cells[c]))
        worksheet_write_number(sheet, row, col, *n, nullptr);
      else if (const Text* t = std::get_if<Text>(&cells[c]); t && !t->empty())
        worksheet_write_string(sheet, row, col, automation::ToUtf8(*t).c_str(), nullptr);
    }
    ++row;
  }
  for (size_t c = 0; c < table.widths.size(); ++c)
    worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), table.widths[c], nullptr);
  Check(workbook_close(book));

  std::ifstream in(file.path(), std::ios::binary);
  return automation::Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace web
