// The rich-text editor on a sample edit page in headless Chromium: the page
// holds what CommShowTd renders for a rich-text field in edit state, and
// editor_browser.js works it as a person would (bold, a table, a picture
// and attachments uploaded, the form sent). Screenshots go to
// build/artifacts/forms.
#include <gtest/gtest.h>

#include <filesystem>

#include "arenix/show/form_field.h"
#include "arenix/show/form_tags.h"
#include "support/node.h"

namespace arenix::script {
namespace {

using automation::Text;
using automation::Variant;

std::string EditPage() {
  show::FormField field;
  field.type = show::kFieldRichText;
  field.width = 900;
  field.height = 420;
  field.title = u"内容";
  field.name = u"content";
  // A literal value: the page has no record set to read.
  field.field = u"$<p>第一届田径运动会 &lt;开幕&gt;</p>";
  field.state = show::kStateEdit;
  Variant none;
  Text page = u"<!DOCTYPE html><html><head><meta charset='utf-8'><title>编辑新闻</title></head><body>" +
              show::ShowFormLeft(u"save.asp", u"myform", u"myform", u"null", u"") +
              show::ShowHiddenInput(u"title", u"运动会") + u"<table width='960'><tr>" +
              show::ShowTd(none, none, field) +
              u"</tr></table><input type='submit' id='send' value='保存'></form></body></html>";
  return automation::ToUtf8(page);
}

TEST(EditorInBrowser, EditsUploadsAndSubmits) {
  ARENIX_BROWSER_TEST();
  const std::string page = arenix::testing::WriteTempFile(EditPage(), ".html");
  const std::string driver = std::string(ARENIX_SOURCE_DIR) + "/tests/arenix/script/editor_browser.js";
  const std::string shots = arenix::testing::ArtifactDir("forms");
  const arenix::testing::NodeRun run = arenix::testing::RunNode({driver, page, shots});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("editor ok"), std::string::npos) << run.output;
  EXPECT_TRUE(std::filesystem::exists(shots + "/editor-edited.png"));
  std::filesystem::remove(page);
}

}  // namespace
}  // namespace arenix::script
