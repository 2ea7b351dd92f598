// The form field renderer, type by type in new, edit and view state, as the
// whole markup a page receives; then the cells around it, the lookup lists
// and the failures. The record's values carry quotes and markup: a form must
// show them as text and never let them end an attribute or open a tag.
#include <gtest/gtest.h>

#include "arenix/script/editor.h"
#include "automation/clock.h"
#include "automation/error.h"
#include "form_fixture.h"

namespace arenix::show::testing {
namespace {

using automation::Error;

constexpr int16_t N = kStateNew, E = kStateEdit, V = kStateView;

struct Case {
  const char* what;
  int16_t type;
  int16_t state;
  const char16_t* field;
  const char16_t* pop;
  int16_t pop_allow;
  const char* expected;
};

// Name "x", width 100, height 3, no cells, no box (see Bare).
const Case kCases[] = {
    // Text input; the record's "O'Neil <i>" is encoded, a literal is not.
    {"text new", 1, N, u"姓名", u"", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' >"},
    {"text edit", 1, E, u"姓名", u"", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " value='O&#39;Neil &lt;i&gt;'>"},
    {"text view", 1, V, u"姓名", u"", 0, "<font style='word-wrap: break-word'>O&#39;Neil &lt;i&gt;</font>"},
    {"text literal edit keeps spaces", 1, E, u"$张三 $", u"", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " value='张三 '>"},
    {"text literal view", 1, V, u"$张三 ", u"", 0, "<font style='word-wrap: break-word'>张三</font>"},
    {"text pick-list", 1, N, u"姓名", u"姓名", 1,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " title='点击左键会弹出选择菜单' onclick='PopSelectData(document.myform.x,\"姓名\")' >"},
    {"identity number", 1, E, u"身份证号码", u"", 3,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " value='110101200001011234' onblur='return isIdCardNo(document.myform.postcard,document.myform.postcard.value,"
     "3,1); ' >"},
    // Dates: today outside edit state (the clock is fixed at 2026-12-10).
    {"date new", 2, N, u"生日", u"", 0,
     "<input name='x' id='x' type='date' class='inputtext' style='width:100px;'  onkeydown='onKeyDownDefault(this);' "
     " value='2026-12-10' >"},
    {"date edit", 200, E, u"生日", u"", 0,
     "<input name='x' id='x' type='date' class='inputtext' style='width:100px;'  onkeydown='onKeyDownDefault(this);' "
     " value='2024-03-05' >"},
    {"date edit Null", 2, E, u"签到", u"", 0,
     "<input name='x' id='x' type='date' class='inputtext' style='width:100px;'  onkeydown='onKeyDownDefault(this);' "
     " value='' >"},
    {"date edit blank", 2, E, u"报到", u"", 0,
     "<input name='x' id='x' type='date' class='inputtext' style='width:100px;'  onkeydown='onKeyDownDefault(this);' "
     " value='' >"},
    {"date view", 2, V, u"生日", u"", 0, "<font style='word-wrap: break-word'>2024/3/5</font>"},
    {"date view blank", 2, V, u"报到", u"", 0, ""},
    // Drop-downs from inline lists.
    {"select new", 3, N, u"性别", u"$男$女$", 0,
     "<select name='x' id='x'  class='inputtext'  style='width:100px;' required ><option value='男'>男</option>"
     "<option value='女'>女</option></select>"},
    {"select edit", 3, E, u"性别", u"$男$女$", 0,
     "<select name='x' id='x'  class='inputtext'  style='width:100px;' required ><option value='男' Selected >男"
     "</option><option value='女'>女</option></select>"},
    {"select pairs edit", 3, E, u"组别", u"1|一组$2#b|二组", 0,
     "<select name='x' id='x'  class='inputtext'  style='width:100px;' required ><option value='1'>一组</option>"
     "<option value='2#b' Selected >二组</option></select>"},
    {"select view", 3, V, u"性别", u"$男$女$", 0, "<font style='word-wrap: break-word'>男</font>"},
    {"select markup", 3, E, u"性别", u" <select id=s><option>1</option> ", 0, "<select id=s><option>1</option>"},
    // Check box.
    {"checkbox new", 4, N, u"通过", u"", 0,
     "<input name='x' id='x' type='checkbox' class='inputtext'  onkeydown='onKeyDownDefault(this);' value='on'>"},
    {"checkbox edit", 4, E, u"通过", u"", 0,
     "<input name='x' id='x' type='checkbox' class='inputtext'  onkeydown='onKeyDownDefault(this);' value='on'"
     " Checked >"},
    {"checkbox edit Null", 4, E, u"到场", u"", 0,
     "<input name='x' id='x' type='checkbox' class='inputtext'  onkeydown='onKeyDownDefault(this);' value='on'>"},
    {"checkbox literal", 4, E, u"$True$", u"", 0,
     "<input name='x' id='x' type='checkbox' class='inputtext'  onkeydown='onKeyDownDefault(this);' value='on'"
     " Checked >"},
    {"checkbox view", 4, V, u"通过", u"", 0, "√"},
    {"checkbox view Null", 4, V, u"到场", u"", 0, ""},
    // Text area: a stored "</textarea>" stays inside it.
    {"textarea new", 5, N, u"说明", u"", 0,
     "<textarea rows='3' name='x'  id='x'  class='inputedit' onkeydown='onKeyDownDefault(this);' style='width:100px;"
     " '></textarea>"},
    {"textarea edit", 5, E, u"说明", u"", 0,
     "<textarea rows='3' name='x'  id='x'  class='inputedit' onkeydown='onKeyDownDefault(this);' style='width:100px;"
     " '>&lt;/textarea&gt;&lt;script&gt;x()&lt;/script&gt;</textarea>"},
    {"textarea view", 5, V, u"说明", u"", 0,
     "<textarea rows='3' name='x'  id='x'  class='inputedit' onkeydown='onKeyDownDefault(this);' style='width:100px;"
     " word-wrap: break-word;border:0px;background:3;border-style:none;background-color:transparent;outline:none;"
     "resize:none;' readonly >&lt;/textarea&gt;&lt;script&gt;x()&lt;/script&gt;</textarea>"},
    {"textarea pick", 5, N, u"说明", u"说明", 1,
     "<textarea rows='3' name='x'  id='x'  class='inputedit' onkeydown='onKeyDownDefault(this);' style='width:100px;"
     " ' onclick='popup_select_data(document.myform.x,\"说明\")' ></textarea>"},
    // Password: never filled in, and never shown.
    {"password new", 6, N, u"姓名", u"", 0,
     "<input name='x' id='x' type='password' class='inputtext' style='width:100px;' value=''  "
     "onkeydown='onKeyDownDefault(this);' >"},
    {"password edit", 6, E, u"姓名", u"", 0,
     "<input name='x' id='x' type='password' class='inputtext' style='width:100px;' value=''  "
     "onkeydown='onKeyDownDefault(this);' >"},
    {"password view", 6, V, u"姓名", u"", 0, ""},
    // Radio buttons and check boxes from inline lists.
    {"radio new", 7, N, u"性别", u"$男$女$", 0,
     "<input name='x' id='x'  type='radio'  value='男'>男<input name='x' id='x'  type='radio'  value='女'>女"},
    {"radio edit", 7, E, u"性别", u"$男$女$", 0,
     "<input name='x' id='x'  type='radio'  value='男' Checked >男<input name='x' id='x'  type='radio'  value='女'>女"},
    {"radio pairs new", 7, N, u"组别", u"1|一组$2|二组", 0,
     "<input name='x' id='x' type='radio'  value='1' Checked>一组<input name='x' id='x' type='radio'  value='2'>二组"},
    {"radio pairs edit", 7, E, u"组别", u"1|一组$2|二组", 0,
     "<input name='x' id='x' type='radio'  value='1'>一组<input name='x' id='x' type='radio'  value='2' Checked >二组"},
    {"radio pairs Boolean", 7, E, u"通过", u"True|是$False|否", 0,
     "<input name='x' id='x' type='radio'  value='True' Checked >是<input name='x' id='x' type='radio'  "
     "value='False'>否"},
    {"radio view", 7, V, u"性别", u"$男$女$", 0, "<font style='word-wrap: break-word'>男</font>"},
    {"check boxes of a set", 14, E, u"爱好", u"a$b$c", 0,
     "<input name='x' id='x'  type='checkbox'  value='a' Checked >a<input name='x' id='x'  type='checkbox'  "
     "value='b' Checked >b<input name='x' id='x'  type='checkbox'  value='c'>c"},
    {"check boxes new", 14, N, u"爱好", u"$a$b$", 0,
     "<input name='x' id='x'  type='checkbox'  value='a'>a<input name='x' id='x'  type='checkbox'  value='b'>b"},
    {"check boxes view", 14, V, u"爱好", u"a$b$c", 0, "<font style='word-wrap: break-word'>a, b</font>"},
    // Read-only inputs that open windows, dialogs or run a script.
    {"pick window", 8, N, u"姓名", u"pick.asp|400|300", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " readonly title='点击左键会弹出选择对话框'  onclick=\"return OpenWindowModalScroll('pick.asp',400,300);\">"},
    {"pick window view", 8, V, u"姓名", u"pick.asp|400|300", 0,
     "<font style='word-wrap: break-word'>O&#39;Neil &lt;i&gt;</font>"},
    {"click text", 9, E, u"姓名", u" go() ", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " value='O&#39;Neil &lt;i&gt;' readonly  onclick=\"go()\">"},
    {"click text without script", 9, N, u"姓名", u"", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " readonly >"},
    {"dialog", 800, N, u"姓名", u"x.asp||标题|400|300|1", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " readonly title='点击左键会弹出选择对话框'  onclick=\"ShowPopDialog('Dialog',400,300,'标题','x.asp', 1);\">"},
    {"dialog view", 800, V, u"姓名", u"x.asp||标题|400|300|1", 0,
     "<font style='word-wrap: break-word'>O&#39;Neil &lt;i&gt;</font>"},
    // Editor frame, file pickers.
    {"editor frame", 10, E, u"editor.asp", u"", 0,
     "<textarea name='x' id='x' style='display:none'></textarea><iframe id='Editor' src='editor.asp' frameborder=1 "
     "scrolling=no width='100' height='3'></iframe>"},
    {"file with preview", 11, N, u"照片", u"image/*", 0,
     "<input name='x' id='x' type='text' class='inputtext' Readonly style='width:32px;'><input type='file' name='x22' "
     "id='x22' style='width:68px;' class='inputtext' accept='image/*' onchange = \"document.getElementById('x')"
     ".value=this.value; document.myform.encoding='multipart/form-data'; "
     "document.PhotoPre.src=document.myform.url.value;\">"},
    {"file that submits", 12, E, u"附件", u".xls", 0,
     "<input type='file' Title='点击选择上传文件' name='x22' id='x22' style='width:88px;'accept='.xls' "
     "class='inputtext' onchange = \"myform.submit();;\">"},
    {"file view", 12, V, u"姓名", u".xls", 0, "<font style='word-wrap: break-word'>O&#39;Neil &lt;i&gt;</font>"},
    // Suggestion list: "$" ends are options too, values compared whole.
    {"suggest edit", 15, E, u"性别", u"男$女", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;'  onkeydown='onKeyDownDefault(this);' "
     " list='x_list_h5' value='男'><datalist id='x_list_h5' style='display:none'><option value='男' Selected >男"
     "</option><option value='女'>女</option></datalist>"},
    {"suggest new", 15, N, u"性别", u"$男$", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;'  onkeydown='onKeyDownDefault(this);' "
     " list='x_list_h5'><datalist id='x_list_h5' style='display:none'><option value=''></option><option value='男'>男"
     "</option><option value=''></option></datalist>"},
    {"suggest view", 15, V, u"性别", u"男$女", 0, "<font style='word-wrap: break-word'>男</font>"},
    // Markup of the page, in every state.
    {"markup new", 20, N, u"姓名", u" <b>x</b> ", 0, "<b>x</b>"},
    {"markup view", 20, V, u"姓名", u" <b>x</b> ", 0, "<b>x</b>"},
    // Read-only form of 21 leads with an empty hidden input.
    {"text 21 edit", 21, E, u"姓名", u"", 0,
     "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  onkeydown='onKeyDownDefault(this);' "
     " value='O&#39;Neil &lt;i&gt;'>"},
    {"text 21 view", 21, V, u"姓名", u"", 0,
     "<input type='hidden'><font style='word-wrap: break-word'>O&#39;Neil &lt;i&gt;</font>"},
    // Inputs of the HTML types.
    {"number new", 160, N, u"组别", u"1|10|", 0,
     "<input name='x' id='x'  type='number'  class='inputtext' style='width:100px;'  min='1' max='10'  "
     "onkeydown='onKeyDownDefault(this);'>"},
    {"range edit", 171, E, u"组别", u"|5| 1 ", 0,
     "<input name='x' id='x'  type='range'  class='inputtext' style='width:100px;'  value='2' max='5' step='1'  "
     "onkeydown='onKeyDownDefault(this);'>"},
    {"email literal edit", 180, E, u"$ a@b.cn $", u"", 0,
     "<input name='x' id='x'  type='email'  class='inputtext' style='width:100px;'  value='a@b.cn'  "
     "onkeydown='onKeyDownDefault(this);'>"},
    {"files multiple", 301, N, u"附件", u"", 0,
     "<input name='x' id='x'  type='file' multiple   class='inputtext' style='width:100px;'   "
     "onkeydown='onKeyDownDefault(this);'>"},
    {"color new", 400, N, u"颜色", u"", 0,
     "<input name='x' id='x'  type='color'  class='inputtext' style='width:100px; background-color:#ffffff;border: 1px "
     "solid #000000;color:#000000;'   onkeydown='onKeyDownDefault(this);'>"},
    {"color edit", 400, E, u"颜色", u"", 0,
     "<input name='x' id='x'  type='color'  class='inputtext' style='width:100px; background-color:#ff0000   ;border: "
     "1px solid #000000;color:#000000;'  value='#ff0000' title=' 单击本框可选择颜色，外框颜色为当前已设置的颜色，"
     "内框颜色为当前选择的颜色。'   onkeydown='onKeyDownDefault(this);'>"},
    {"time view", 201, V, u"组别", u"", 0, "<font style='word-wrap: break-word'>2</font>"},
    // Unknown codes render nothing.
    {"unknown edit", 99, E, u"姓名", u"", 0, ""},
};

class FormFieldTest : public FormTest {
 protected:
  automation::ScopedClock clock{automation::Date{46366.5}, std::nullopt};  // 2026-12-10 12:00
};

TEST_F(FormFieldTest, EveryTypeInEveryState) {
  for (const Case& c : kCases) {
    FormField f = Bare(c.type, c.state, c.field, c.pop, c.pop_allow);
    EXPECT_EQ(Render(f), c.expected) << c.what;
  }
}

TEST_F(FormFieldTest, RequiredAttributeAndMark) {
  FormField f = Bare(1, E, u"$1", u"", 0);
  f.allow_empty = 0;
  f.star = u" * ";
  EXPECT_EQ(Render(f),
            "<input name='x' id='x' type='text' class='inputtext' style='width:100px;;'  "
            "onkeydown='onKeyDownDefault(this);'  value='1' required >&nbsp;<font color=red>*</font>");
  f.type = 7;
  f.pop_field = u"$a$b|B$";
  EXPECT_EQ(Render(f),
            "<input name='x' id='x'  type='radio'  value='a' required >a<input name='x' id='x' type='radio'  "
            "value='b' required >B&nbsp;<font color=red>*</font>");
  // A field that may not be edited is shown read-only, without the mark.
  f.type = 1;
  f.allow_edit = 0;
  EXPECT_EQ(Render(f), "<font style='word-wrap: break-word'>1</font>");
  // The text area stays an element, greyed and read-only.
  f.type = 5;
  f.field = u"说明";
  EXPECT_EQ(Render(f),
            "<textarea rows='3' name='x'  id='x'  class='inputedit' onkeydown='onKeyDownDefault(this);' "
            "style='width:100px; background:#eeeeff;' readonly  required >&lt;/textarea&gt;&lt;script&gt;x()&lt;"
            "/script&gt;</textarea>&nbsp;<font color=red>*</font>");
}

TEST_F(FormFieldTest, CellsAroundTheField) {
  FormField f;
  f.type = 1;
  f.col_span = 3;
  f.field = u"姓名";
  f.star = u"*";
  f.td_title = u" 提示 ";
  EXPECT_EQ(Render(f),
            "<td align='right' bgcolor='#dcdcf9' colspan=2>姓名：</td><td align='left' bgcolor='#eeeeff'  colspan=3 "
            "title='提示'>&nbsp;<input name='姓名' id='姓名' type='text' class='inputtext' style='width:0%;;'  "
            "onkeydown='onKeyDownDefault(this);' >&nbsp;<font color=red>*</font></td>");

  f.title = u"运动员姓名：";
  f.title_bgcolor = u"red";
  f.value_bgcolor = u"blue";
  f.td_title = u"";
  f.state = V;
  f.div_height = 30;
  EXPECT_EQ(Render(f),
            "<td align='right' bgcolor='red' colspan=2>运动员姓名：</td><td align='left' bgcolor='blue'  colspan=3>"
            "<div style='padding-left:5px;font-size:9px;line-height:150%;overflow:auto; height:30px;' valign=top>"
            "<table width='100%' border='0' cellpadding='0' cellspacing='0' bgcolor='blue' height=26 "
            "style='table-layout: fixed; word-wrap:break-word; word-break:break-all' valign=top><tr valign=top>"
            "<td bgcolor='blue' valgin=top><font style='word-wrap: break-word'>O&#39;Neil &lt;i&gt;</font>"
            "</td></tr></table></div></td>");

  f.title = u"NULL";
  f.div_height = -1;
  EXPECT_EQ(Render(f),
            "<td align='left' bgcolor='blue'  colspan=3><font style='word-wrap: break-word'>O&#39;Neil &lt;i&gt;</font>"
            "</td>");

  f.title = u"AllNull";
  f.div_height = 0;
  EXPECT_EQ(Render(f), "&nbsp;<font style='word-wrap: break-word'>O&#39;Neil &lt;i&gt;</font>");

  f.title = u"null";
  EXPECT_EQ(automation::ToUtf8(ShowTr(conn, rs, u"", f)),
            "<tr class=tdbg align=center><td align='left' bgcolor='blue'  colspan=3>&nbsp;<font style='word-wrap: "
            "break-word'>O&#39;Neil &lt;i&gt;</font></td></tr>");
  EXPECT_EQ(automation::ToUtf8(ShowTr(conn, rs, u"class=odd", f)),
            "<tr class=odd><td align='left' bgcolor='blue'  colspan=3>&nbsp;<font style='word-wrap: "
            "break-word'>O&#39;Neil &lt;i&gt;</font></td></tr>");
}

TEST_F(FormFieldTest, LookupListsFromTheMeetTables) {
  struct Lookup {
    int16_t type;
    int16_t state;
    const char16_t* field;
    const char16_t* pop;
    const char* options;
  } cases[] = {
      // Dictionary category in its sequence.
      {3, E, u"性别", u"性别", "<option value=\"男\" Selected >男</option><option value=\"女\">女</option>"},
      // Departments and parts in their display order.
      {3, E, u"部门名称", u"", "<option value=\"一中\">一中</option><option value=\"二中\" Selected >二中</option>"},
      {3, N, u"Part", u"", "<option value=\"田赛\">田赛</option><option value=\"径赛\">径赛</option>"},
      // A blank category: the category named like the field; names encoded.
      {3, N, u"姓名", u"",
       "<option value=\"O&#39;Neil &lt;b&gt;\">O&#39;Neil &lt;b&gt;</option>"},
      // A category with quotes finds its own rows and no others.
      {3, N, u"组别", u"O'Brien's", "<option value=\"一号\">一号</option>"},
      {3, N, u"组别", u"O'Brien", "<option value=\"二号\">二号</option>"},
      {3, N, u"组别", u"' Or '1'='1", ""},
  };
  for (const Lookup& c : cases) {
    FormField f = Bare(c.type, c.state, c.field, c.pop);
    EXPECT_EQ(Render(f), "<select name='x' id='x'  class='inputtext'  style='width:100px;' required >" +
                             std::string(c.options) + "</select>")
        << automation::ToUtf8(c.pop) << " / " << automation::ToUtf8(c.field);
  }

  FormField suggest = Bare(15, N, u"组别", u"组");
  EXPECT_EQ(Render(suggest),
            "<input name='x' id='x' type='text' class='inputtext' style='width:100px;'  "
            "onkeydown='onKeyDownDefault(this);'  list='x_list_h5'><datalist id='x_list_h5' style='display:none'>"
            "<option value=\"甲\">甲</option><option value=\"乙\">乙</option></datalist>");

  // Radio buttons (and type 14) take the field's category; the first is
  // checked on a new record, the stored one in edit state.
  FormField radio = Bare(7, N, u"性别");
  EXPECT_EQ(Render(radio),
            "<input name='x' id='x' type='radio' value=\"女\" Checked>女<input name='x' id='x' type='radio' "
            "value=\"男\">男");
  radio.type = 14;
  radio.state = E;
  EXPECT_EQ(Render(radio),
            "<input name='x' id='x' type='radio' value=\"女\">女<input name='x' id='x' type='radio' "
            "value=\"男\" Checked >男");
  radio.field = u"部门名称";
  EXPECT_EQ(Render(radio),
            "<input name='x' id='x' type='radio' value=\"一中\">一中<input name='x' id='x' type='radio' "
            "value=\"二中\" Checked >二中");
}

TEST_F(FormFieldTest, NumbersBeyondSixteenBitsStillCompare) {
  FormField f = Bare(14, E, u"$70000$", u"$70000$5$");
  EXPECT_EQ(Render(f),
            "<input name='x' id='x'  type='checkbox'  value='70000' Checked >70000<input name='x' id='x'  "
            "type='checkbox'  value='5'>5");
}

TEST_F(FormFieldTest, FailuresNameTheirCause) {
  auto number_of = [&](const FormField& f) {
    try {
      Render(f);
    } catch (const Error& e) {
      return e.number();
    }
    return 0;
  };
  // A field the record set lacks: the engine's number, with the field named.
  try {
    Render(Bare(1, E, u"无此字段"));
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 3265);
    EXPECT_NE(automation::ToUtf8(e.description()).find("[无此字段]"), std::string::npos);
  }
  // A new record does not read the record set at all, even at its end.
  EXPECT_EQ(number_of(Bare(1, N, u"无此字段")), 0);
  rs = Open(u"select * from athlete where 组别 = 99");
  EXPECT_EQ(number_of(Bare(1, N, u"姓名")), 0);
  EXPECT_EQ(number_of(Bare(1, E, u"姓名")), 3021);
  EXPECT_EQ(number_of(Bare(3, E, u"性别", u"$男$女$")), 3021);
  // Window and dialog fields need the parts of their pop field.
  EXPECT_EQ(number_of(Bare(8, N, u"姓名", u"pick.asp|400")), 9);
  EXPECT_EQ(number_of(Bare(800, N, u"姓名", u"x.asp")), 9);
  EXPECT_EQ(number_of(Bare(800, N, u"姓名", u"x.asp|")), 0);
  // A check-box literal that is not a Boolean.
  EXPECT_EQ(number_of(Bare(4, E, u"$abc")), 13);
  // A lookup the database cannot run.
  std::filesystem::remove(folder_ / "Sjzd.dbf");
  EXPECT_NE(number_of(Bare(3, N, u"性别", u"性别")), 0);
}

TEST_F(FormFieldTest, RichTextFieldsCarryTheEditor) {
  const std::string block = automation::ToUtf8(script::EditorBlock());
  FormField f = Bare(16, E, u"说明");
  f.name = u"content";
  f.width = 0;
  f.height = 0;
  EXPECT_EQ(Render(f), block +
                           "<textarea name='content' id='content' style='display: none;'>&lt;/textarea&gt;&lt;script"
                           "&gt;x()&lt;/script&gt;</textarea><div class='iceEditor'></div><script>ice.editor('content',"
                           "function(){this.width = '100%';this.height = '100%';this.uploadUrl = "
                           "'../comm_iceeditor/upload.asp';this.create();});</script>");
  f.type = 17;
  f.state = N;
  f.width = 600;
  f.height = 300;
  EXPECT_EQ(Render(f), block +
                           "<textarea name='content' id='content' style='display: none;'></textarea><div "
                           "class='iceEditor'></div><script>ice.editor('content',function(){this.width = '600';"
                           "this.height = '300';this.uploadUrl = '../comm_iceeditor/upload.asp';this.menu = "
                           "['backColor', 'fontSize', 'foreColor', 'bold', 'italic', 'underline', 'strikeThrough', "
                           "'line', 'justifyLeft','justifyCenter', 'justifyRight', 'indent', 'outdent', 'line', "
                           "'insertOrderedList', 'insertUnorderedList', 'line', 'superscript','subscript', "
                           "'createLink', 'unlink', 'line','removeFormat','code'];this.create();});</script>");
}

TEST_F(FormFieldTest, ReachedByNameThroughTheComponent) {
  ArenixCls cls;
  Variant type(int16_t{1}), width(int32_t{80}), height(int32_t{1}), span(int16_t{1}), title(Text(u"null")),
      name(Text(u"")), field(Text(u"性别")), pop_allow(int16_t{0}), pop(Text(u"")), state(int16_t{2}),
      allow(int16_t{1}), star(Text(u"")), c1(Text(u"")), c2(Text(u""));
  Variant* args[] = {&conn, &rs, &type, &width, &height, &span, &title, &name, &field, &pop_allow, &pop,
                     &state, &allow, &star, &c1, &c2};
  EXPECT_EQ(automation::ToUtf8(CallMethod(cls, u"CommShowTd", args).text()),
            "<td align='left' bgcolor='#eeeeff'  colspan=1>&nbsp;<input name='性别' id='性别' type='text' "
            "class='inputtext' style='width:80px;;'  onkeydown='onKeyDownDefault(this);'  value='男'></td>");
}

}  // namespace
}  // namespace arenix::show::testing
