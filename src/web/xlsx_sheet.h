// One worksheet written as a real spreadsheet file (Office Open XML, .xlsx)
// through libxlsxwriter: numbers stay numbers a spreadsheet can sort and
// sum, texts stay texts, the first row is the header.
#pragma once

#include <variant>
#include <vector>

#include "automation/text.h"
#include "automation/variant.h"

namespace web {

using automation::Text;

/// An empty cell, a number or a text.
using SheetCell = std::variant<std::monostate, double, Text>;

struct SheetTable {
  Text name;                               // the worksheet's tab (at most 31 characters are kept)
  Text title;                              // a first line above the header; none when empty
  std::vector<Text> header;                // bold
  std::vector<std::vector<SheetCell>> rows;
  std::vector<double> widths;              // column widths in characters; missing ones default
};

/// The .xlsx file's bytes. Raises 75 (path/file access) when the library
/// cannot write the file.
automation::Bytes XlsxBytes(const SheetTable& table);

}  // namespace web
