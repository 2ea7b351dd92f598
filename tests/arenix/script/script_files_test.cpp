// The browser scripts as files: they pass the linter (lint_scripts.js), and
// the markers of the templates among them are filled in exactly.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "arenix/script/script_template.h"
#include "support/node.h"

namespace arenix::script {
namespace {

using arenix::testing::RunNode;

TEST(ScriptFiles, PassTheLinter) {
  const std::string dir = ARENIX_SOURCE_DIR "/src/arenix/script/js";
  const auto run = RunNode({"--expose-internals", ARENIX_SOURCE_DIR "/tests/arenix/script/lint_scripts.js", dir});
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find(" scripts, 0 findings"), std::string::npos) << run.output;
}

TEST(ScriptTemplate, FillsEveryMarkerOnceAndLeavesValuesAlone) {
  EXPECT_EQ(FillIn(u"a(); ${more} b();", {{u"more", u"c();"}}), u"a(); c(); b();");
  EXPECT_EQ(FillIn(u"${x}${y}${x}", {{u"x", u"1"}, {u"y", u""}}), u"11");
  // A value is page text: a marker inside it stays as written.
  EXPECT_EQ(FillIn(u"f(${v});", {{u"v", u"'${v}'"}}), u"f('${v}');");
  EXPECT_EQ(FillIn(u"no markers", {}), u"no markers");
  // Script and caller disagreeing is a fault of the program, never output
  // with a marker left in it.
  EXPECT_THROW(FillIn(u"a(${missing});", {}), std::logic_error);
  EXPECT_THROW(FillIn(u"a();", {{u"unused", u"x"}}), std::logic_error);
  EXPECT_THROW(FillIn(u"a(${open);", {{u"open", u"x"}}), std::logic_error);
}

}  // namespace
}  // namespace arenix::script
