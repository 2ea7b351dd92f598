// arenix db: inspect and make free tables from the command line.
//   arenix db tables DIR                  the tables of a data folder
//   arenix db schema DIR TABLE            a table's fields
//   arenix db query DIR "STATEMENT" [--json]
//                                         rows as an aligned table, or a JSON
//                                         array of objects (columns in order)
//   arenix db exec DIR "STATEMENT"        the records affected
// Statements are the FoxPro dialect of the meet database engine (Create Table
// ... Free makes a table). A failure prints "error NUMBER: DESCRIPTION" on
// standard error and exits 1.
#include <cstdio>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "automation/coerce.h"
#include "automation/cp936.h"
#include "automation/datetime.h"
#include "data/foxsql/database.h"
#include "tools/arenix/command.h"

namespace tools {
namespace {

using automation::Text;
using automation::Variant;
using data::foxsql::Database;

struct DbOptions {
  std::string dir;
  std::string table;
  std::string statement;
  bool json = false;
};

// Runs a command body; an automation error ends the program with code 1.
template <class Fn>
void Guarded(Fn fn) {
  try {
    fn();
  } catch (const automation::Error& e) {
    throw Exit{kExitFailed,
               "error " + std::to_string(e.number()) + ": " + automation::ToUtf8(e.description())};
  }
}

// Columns on a terminal: two for a character that code page 936 writes in
// two bytes.
size_t DisplayWidth(const std::string& utf8) {
  size_t width = 0;
  for (char16_t c : automation::FromUtf8(utf8)) width += automation::IsGbkDoubleByte(c) ? 2 : 1;
  return width;
}

std::string DateText(automation::Date d) {
  if (d.serial == 0) return "";  // the empty date
  automation::DateParts p = automation::SplitDate(d);
  char buf[40];
  if (p.hour || p.minute || p.second)
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day, p.hour,
                  p.minute, p.second);
  else
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", p.year, p.month, p.day);
  return buf;
}

// A value for people: texts without the blanks that pad them, .T./.F.,
// .NULL., dates as yyyy-mm-dd.
std::string ShownValue(const Variant& v) {
  if (v.IsNull()) return ".NULL.";
  if (v.Is<bool>()) return v.As<bool>() ? ".T." : ".F.";
  if (v.Is<automation::Date>()) return DateText(v.As<automation::Date>());
  if (v.IsBytes()) return "<" + std::to_string(v.bytes().size()) + " bytes>";
  std::string s = automation::ToUtf8(automation::CStr(v));
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

nlohmann::ordered_json JsonValue(const Variant& v) {
  if (v.IsNull() || v.IsEmpty()) return nullptr;
  if (v.Is<bool>()) return v.As<bool>();
  if (v.Is<int32_t>()) return v.As<int32_t>();
  if (v.Is<double>()) return v.As<double>();
  if (v.Is<automation::Currency>()) return automation::CurrencyToDouble(v.As<automation::Currency>());
  if (v.Is<automation::Date>()) return DateText(v.As<automation::Date>());
  if (v.IsBytes()) {
    static const char* hex = "0123456789abcdef";
    std::string s;
    for (uint8_t b : v.bytes()) s += {hex[b >> 4], hex[b & 15]};
    return s;
  }
  if (v.IsNumber()) return automation::CDbl(v);
  return automation::ToUtf8(automation::CStr(v));
}

void PrintTable(const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows,
                const std::vector<bool>& right) {
  std::vector<size_t> widths(header.size());
  for (size_t c = 0; c < header.size(); ++c) widths[c] = DisplayWidth(header[c]);
  for (const auto& row : rows)
    for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(row[c]));
  auto line = [&](const std::vector<std::string>& cells) {
    std::string out;
    for (size_t c = 0; c < cells.size(); ++c) {
      std::string pad(widths[c] - DisplayWidth(cells[c]), ' ');
      if (c > 0) out += "  ";
      out += right[c] ? pad + cells[c] : cells[c] + pad;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    std::cout << out << "\n";
  };
  line(header);
  std::vector<std::string> rule;
  for (size_t w : widths) rule.push_back(std::string(w, '-'));
  line(rule);
  for (const auto& row : rows) line(row);
}

void Tables(const DbOptions& o) {
  Database db(o.dir);
  for (const Text& name : db.TableNames()) std::cout << automation::ToUtf8(name) << "\n";
}

void Schema(const DbOptions& o) {
  Database db(o.dir);
  const data::dbf::Table& table = db.Table(automation::FromUtf8(o.table));
  std::vector<std::vector<std::string>> rows;
  for (const data::dbf::Field& f : table.fields()) {
    std::string type(1, static_cast<char>(f.type));
    if (f.type == data::dbf::FieldType::kCharacter || f.type == data::dbf::FieldType::kVarchar ||
        f.type == data::dbf::FieldType::kVarbinary)
      type += "(" + std::to_string(f.width) + ")";
    else if (f.type == data::dbf::FieldType::kNumeric || f.type == data::dbf::FieldType::kFloat)
      type += "(" + std::to_string(f.width) + (f.decimals ? "," + std::to_string(f.decimals) : "") + ")";
    std::string notes = f.nullable ? "null" : "";
    if (f.binary) notes += notes.empty() ? "binary" : " binary";
    if (f.autoincrement) notes += notes.empty() ? "autoinc" : " autoinc";
    rows.push_back({automation::ToUtf8(f.name), type, notes});
  }
  PrintTable({"field", "type", ""}, rows, {false, false, false});
  std::cout << "(" << table.fields().size() << " fields, " << table.RecordCount() << " records"
            << (table.HasStructuralIndex() ? ", structural index" : "") << ")\n";
}

void Query(const DbOptions& o) {
  Database db(o.dir);
  data::foxsql::Outcome out = db.Run(automation::FromUtf8(o.statement));
  if (!out.query) {
    std::cout << out.affected << "\n";
    return;
  }
  const auto& names = out.rows->names;
  if (o.json) {
    // Keys in select order; a repeated name gets _2, _3...
    std::vector<std::string> keys;
    for (const Text& n : names) {
      std::string key = automation::ToUtf8(n), unique = key;
      for (int k = 2; std::find(keys.begin(), keys.end(), unique) != keys.end(); ++k)
        unique = key + "_" + std::to_string(k);
      keys.push_back(unique);
    }
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const auto& row : out.rows->rows) {
      nlohmann::ordered_json object = nlohmann::ordered_json::object();
      for (size_t c = 0; c < row.size(); ++c) object[keys[c]] = JsonValue(row[c]);
      array.push_back(std::move(object));
    }
    std::cout << array.dump(2) << "\n";
    return;
  }
  std::vector<std::string> header;
  for (const Text& n : names) header.push_back(automation::ToUtf8(n));
  std::vector<bool> right(names.size(), false);
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : out.rows->rows) {
    std::vector<std::string> cells;
    for (size_t c = 0; c < row.size(); ++c) {
      cells.push_back(ShownValue(row[c]));
      if (row[c].IsNumber() && !row[c].Is<bool>()) right[c] = true;
    }
    rows.push_back(std::move(cells));
  }
  PrintTable(header, rows, right);
  std::cout << "(" << rows.size() << (rows.size() == 1 ? " row)" : " rows)") << "\n";
}

void Exec(const DbOptions& o) {
  Database db(o.dir);
  data::foxsql::Outcome out = db.Run(automation::FromUtf8(o.statement));
  std::cout << (out.query ? static_cast<int64_t>(out.rows->rows.size()) : out.affected) << "\n";
}

void Setup(CLI::App& app) {
  auto o = std::make_shared<DbOptions>();
  CLI::App* db = app.add_subcommand("db", "Inspect and make the free tables of a data folder");
  db->require_subcommand(1);

  CLI::App* tables = db->add_subcommand("tables", "List the tables of a data folder");
  tables->add_option("DIR", o->dir, "the data folder")->required();
  tables->callback([o] { Guarded([&] { Tables(*o); }); });

  CLI::App* schema = db->add_subcommand("schema", "List the fields of a table");
  schema->add_option("DIR", o->dir, "the data folder")->required();
  schema->add_option("TABLE", o->table, "the table's name")->required();
  schema->callback([o] { Guarded([&] { Schema(*o); }); });

  CLI::App* query = db->add_subcommand("query", "Run a query and print its rows");
  query->add_option("DIR", o->dir, "the data folder")->required();
  query->add_option("STATEMENT", o->statement, "a Select statement of the FoxPro dialect")->required();
  query->add_flag("--json", o->json, "print a JSON array of objects instead of a table");
  query->callback([o] { Guarded([&] { Query(*o); }); });

  CLI::App* exec = db->add_subcommand("exec", "Run a statement and print the records it affected");
  exec->add_option("DIR", o->dir, "the data folder")->required();
  exec->add_option("STATEMENT", o->statement, "a statement of the FoxPro dialect")->required();
  exec->callback([o] { Guarded([&] { Exec(*o); }); });
}

const Command kDb("db", Setup);

}  // namespace
}  // namespace tools
