// A printed list as a PDF (A4 upright, drawn with cairo and a CJK font):
// a title, then blocks of a heading, a header row and rows, laid out so
// that a block is never split over two pages (a heat of a start list stays
// together). Reached from pages as Server.CreateObject("Arenix.ListPdf"):
//
//   pdf.Title(text)              the document's title, on every page
//   pdf.Block(heading, "编号|姓名|代表队")   starts a block with its columns
//   pdf.Row("101|张三|第一中学")        a row of the current block
//   pdf.Bytes()                  the PDF, for Response.BinaryWrite
//
// A block longer than a whole page runs on over pages (with its header
// repeated), since it cannot be kept together.
//
// Not thread-safe; one object per request.
#pragma once

#include <string>
#include <vector>

#include "automation/object.h"

namespace arenix::desk {

struct ListBlock {
  automation::Text heading;
  std::vector<automation::Text> columns;
  std::vector<std::vector<automation::Text>> rows;
};

/// The PDF of the title and the blocks.
std::vector<uint8_t> ListPdf(const automation::Text& title, const std::vector<ListBlock>& blocks);

/// Registers "Arenix.ListPdf" (idempotent).
void RegisterListPdfClass();

}  // namespace arenix::desk
