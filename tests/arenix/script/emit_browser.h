// Test pages for emitted script: a static page written by the test and
// opened with file:// in headless Chromium, driven by a few lines of
// playwright script.
#pragma once

#include <filesystem>
#include <string>

#include "automation/text.h"
#include "support/node.h"

namespace arenix::testing {

inline std::string Utf8(const automation::Text& t) { return automation::ToUtf8(t); }

/// Writes `html` (UTF-8) as a page, runs `steps` (the body of an async
/// function with `page` and `url` in scope; `shot(name)` keeps a
/// screenshot under ArtifactDir("scripts"); `dialogs` collects the messages
/// of alerts and questions, answered yes when `accept` is set) and returns
/// node's run.
inline NodeRun RunOnPage(const std::string& html, const std::string& steps) {
  const std::string page = WriteTempFile("<!doctype html><html><head><meta charset=utf-8></head>" + html +
                                             "</html>",
                                         ".html");
  const std::string shots = ArtifactDir("scripts");
  const std::string driver = WriteTempFile(
      "const { withPage } = require('arenix_browser');\n"
      "const assert = require('assert');\n"
      "withPage(async (page) => {\n"
      "  const url = 'file://" + page + "';\n"
      "  const shot = (name) => page.screenshot({ path: '" + shots + "/' + name + '.png' });\n"
      "  const dialogs = [];\n"
      "  let accept = false;\n"
      "  page.on('dialog', async (d) => { dialogs.push(d.message()); await (accept ? d.accept() : d.dismiss()); });\n"
      "  await page.goto(url);\n" + steps + "\n});\n",
      ".js");
  NodeRun run = RunNode({driver});
  std::filesystem::remove(page);
  std::filesystem::remove(driver);
  return run;
}

}  // namespace arenix::testing
