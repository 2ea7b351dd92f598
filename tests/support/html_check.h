// Parses HTML the way browsers do (parse5, the WHATWG parsing rules) and
// reports the parse errors, so that tests can tell a page fragment that a
// browser reads as intended from one it has to repair; and checks the
// syntax of every script in it: <script> blocks, event-handler attributes
// (on...) and "javascript:" addresses. Header-only, like node.h.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/node.h"

namespace arenix::testing {

/// One parse error: parse5's code and the text around it.
struct HtmlError {
  std::string code;
  std::string near;
};

/// What one text gave: its parse errors, and each script that does not
/// parse as JavaScript ("where: message").
struct HtmlReport {
  std::vector<HtmlError> errors;
  std::vector<std::string> script_errors;
  int scripts = 0;  // scripts found and checked
};

/// Checks each text: a text that begins with "<!doctype" (any case) is
/// parsed as a whole document, any other as a fragment of a body. Fails the
/// calling test when node cannot run.
inline std::vector<HtmlReport> CheckHtml(const std::vector<std::string>& texts) {
  std::string input = WriteTempFile(nlohmann::json(texts).dump(), ".json");
  std::string driver = WriteTempFile(
      "const fs = require('fs');\n"
      "const parse5 = require('parse5');\n"
      "const texts = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));\n"
      "function syntax(code, where, out) {\n"
      "  out.scripts++;\n"
      "  try { new Function(code); } catch (e) { out.script_errors.push(where + ': ' + e.message); }\n"
      "}\n"
      "function walk(node, out) {\n"
      "  for (const a of node.attrs || []) {\n"
      "    if (/^on/i.test(a.name)) syntax(a.value, node.nodeName + ' ' + a.name, out);\n"
      "    else if (/^href$/i.test(a.name) && /^\\s*javascript:/i.test(a.value))\n"
      "      syntax(a.value.replace(/^\\s*javascript:/i, ''), node.nodeName + ' href', out);\n"
      "  }\n"
      "  if (node.nodeName === 'script') {\n"
      "    const code = (node.childNodes || []).map((c) => c.value || '').join('');\n"
      "    syntax(code.replace(/^\\s*<!--/, '').replace(/\\/\\/\\s*-->\\s*$/, ''), 'script', out);\n"
      "  }\n"
      "  for (const c of node.childNodes || []) walk(c, out);\n"
      "  if (node.content) walk(node.content, out);\n"
      "}\n"
      "const result = texts.map((t) => {\n"
      "  const out = { errors: [], script_errors: [], scripts: 0 };\n"
      "  const onParseError = (e) => out.errors.push({ code: e.code,\n"
      "    near: t.substring(Math.max(0, e.startOffset - 40), e.endOffset + 40) });\n"
      "  const tree = /^<!doctype/i.test(t) ? parse5.parse(t, { onParseError })\n"
      "                                     : parse5.parseFragment(t, { onParseError });\n"
      "  walk(tree, out);\n"
      "  return out;\n"
      "});\n"
      "process.stdout.write(JSON.stringify(result));\n",
      ".js");
  NodeRun run = RunNode({driver, input});
  std::filesystem::remove(input);
  std::filesystem::remove(driver);
  std::vector<HtmlReport> reports;
  nlohmann::json parsed = nlohmann::json::parse(run.output, nullptr, false);
  if (run.status != 0 || !parsed.is_array()) {
    ADD_FAILURE() << "the HTML parser did not run: " << run.output;
    return reports;
  }
  for (const auto& r : parsed) {
    HtmlReport report;
    for (const auto& e : r["errors"]) report.errors.push_back({e["code"], e["near"]});
    for (const auto& s : r["script_errors"]) report.script_errors.push_back(s);
    report.scripts = r["scripts"];
    reports.push_back(std::move(report));
  }
  return reports;
}

}  // namespace arenix::testing
