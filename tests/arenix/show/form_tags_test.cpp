// The form's opening tag and hidden inputs.
#include <gtest/gtest.h>

#include "arenix/show/form_tags.h"

namespace arenix::show {
namespace {

using automation::ToUtf8;

TEST(ShowFormLeft, DefaultsAndScripts) {
  struct Case {
    const char16_t *action, *name, *id, *keys, *other;
    const char* expected;
  } cases[] = {
      {u"save.asp", u"myform", u"myform", u"if (event.keyCode==13) {return false;}", u"",
       "<form name='myform'  id='myform'  method='post' onkeydown='if (event.keyCode==13) {return false;}' "
       "action='save.asp'>"},
      // Blank name and id fall back; the key script's quotes become double quotes.
      {u"a.asp?id=1", u" ", u"", u"if (k=='x') go();", u" enctype='multipart/form-data' ",
       "<form name='myform'  id='myform'  method='post' onkeydown='if (k==\"x\") go();'  enctype='multipart/form-data' "
       "  action='a.asp?id=1'>"},
      {u"", u"f2", u" ", u"NULL", u"",
       "<form name='f2'  id='f2'  method='post'  action=''>"},
      {u"b.asp", u"f3", u"i3", u"", u"onsubmit='return check();'",
       "<form name='f3'  id='i3'  method='post' onkeydown='if (event.keyCode==13) {return false;}' "
       "onsubmit='return check();'  action='b.asp'>"},
  };
  for (const Case& c : cases) EXPECT_EQ(ToUtf8(ShowFormLeft(c.action, c.name, c.id, c.keys, c.other)), c.expected);
}

TEST(ShowHiddenInput, WritesNameAndValueAsGiven) {
  EXPECT_EQ(ToUtf8(ShowHiddenInput(u"id", u"12")), "<input type='hidden'  name='id' id='id' value='12'>");
  EXPECT_EQ(ToUtf8(ShowHiddenInput(u"", u"")), "<input type='hidden'  name='' id='' value=''>");
}

}  // namespace
}  // namespace arenix::show
