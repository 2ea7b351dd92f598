// Parses HTML the way browsers do (parse5, the WHATWG parsing rules) and
// reports the parse errors, so that tests can tell a page fragment that a
// browser reads as intended from one it has to repair. Header-only, like
// node.h.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "support/node.h"

namespace arenix::testing {

/// One parse error: parse5's code and the text around it.
struct HtmlError {
  std::string code;
  std::string near;
};

/// The parse errors of each text, in order: a text that begins with
/// "<!doctype" (any case) is parsed as a whole document, any other as a
/// fragment of a body. Fails the calling test when node cannot run.
inline std::vector<std::vector<HtmlError>> HtmlParseErrors(const std::vector<std::string>& texts) {
  std::string input = WriteTempFile(nlohmann::json(texts).dump(), ".json");
  std::string driver = WriteTempFile(
      "const fs = require('fs');\n"
      "const parse5 = require('parse5');\n"
      "const texts = JSON.parse(fs.readFileSync(process.argv[2], 'utf8'));\n"
      "const out = texts.map((t) => {\n"
      "  const errors = [];\n"
      "  const onParseError = (e) => errors.push({ code: e.code,\n"
      "    near: t.substring(Math.max(0, e.startOffset - 30), e.endOffset + 30) });\n"
      "  if (/^<!doctype/i.test(t)) parse5.parse(t, { onParseError });\n"
      "  else parse5.parseFragment(t, { onParseError });\n"
      "  return errors;\n"
      "});\n"
      "process.stdout.write(JSON.stringify(out));\n",
      ".js");
  NodeRun run = RunNode({driver, input});
  std::filesystem::remove(input);
  std::filesystem::remove(driver);
  std::vector<std::vector<HtmlError>> result;
  nlohmann::json parsed = nlohmann::json::parse(run.output, nullptr, false);
  if (run.status != 0 || !parsed.is_array()) {
    ADD_FAILURE() << "the HTML parser did not run: " << run.output;
    return result;
  }
  for (const auto& errors : parsed) {
    result.emplace_back();
    for (const auto& e : errors) result.back().push_back({e["code"], e["near"]});
  }
  return result;
}

}  // namespace arenix::testing
