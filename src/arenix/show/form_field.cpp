#include "arenix/show/form_field.h"

#include <optional>

#include "arenix/page/encode.h"
#include "arenix/script/editor.h"
#include "arenix/show/form_options.h"
#include "arenix/text/dates.h"
#include "arenix/text/string_to_numeric.h"
#include "automation/coerce.h"
#include "automation/error.h"
#include "automation/object.h"
#include "automation/runtime.h"
#include "data/data.h"

namespace arenix::show {
namespace {

using automation::CStr;
using automation::Date;
using automation::LCase;
using automation::LongToText;
using automation::Split;
using automation::Trim;
using form::InlineOption;
using page::HtmlEscape;

constexpr char16_t kDefaultTitleColor[] = u"#dcdcf9";
constexpr char16_t kDefaultValueColor[] = u"#eeeeff";
constexpr char16_t kIdCardField[] = u"身份证号码";
constexpr char16_t kEditorUploadUrl[] = u"../comm_iceeditor/upload.asp";

Text Num(int64_t n) { return LongToText(n); }

Text WithoutSpaces(TextView s) { return automation::Replace(s, u" ", u""); }

// A VB-style "equal as 16-bit integers" without the overflow: two numbers
// beyond the 16-bit range still compare instead of failing the form.
bool SameWholeNumber(TextView a, TextView b) {
  return automation::RoundHalfEven(automation::CDbl(Variant(a))) ==
         automation::RoundHalfEven(automation::CDbl(Variant(b)));
}

bool IsNumericText(TextView s) { return automation::IsNumeric(Variant(s)); }

// The part of a "|"-separated pop field; a missing part fails the call as
// an index out of range, as the page would see it.
const Text& Part(const std::vector<Text>& parts, size_t i) {
  if (i >= parts.size()) throw automation::Error(automation::err::kSubscript);
  return parts[i];
}

class FieldRenderer {
 public:
  FieldRenderer(Variant& conn, Variant& rs, const FormField& f) : conn_(conn), rs_(rs), f_(f) {
    caption_ = Trim(f.title).empty() ? f.field : f.title;
    pop_ = f.pop_field;
    if (Trim(pop_).empty() && f.type != kFieldSelect && f.type != kFieldClickText) pop_ = caption_;
    name_ = Trim(f.name).empty() ? f.field : f.name;
    literal_ = f.field.find(u'$') != Text::npos;
    if (literal_) literal_value_ = automation::Replace(f.field, u"$", u"");
    const Text unit = f.width < 1 ? u"%;" : u"px;";
    width_ = Num(f.width) + unit;
    width_px_ = Num(f.width) + u"px;";
    required_ = f.allow_empty == 0 ? u" required " : u"";
    prefix_ = u"<input name='" + name_ + u"' id='" + name_;
  }

  Text Render() const {
    const Text lower = LCase(caption_);
    const bool no_cells = lower == u"allnull";
    Text out;
    if (lower != u"null" && !no_cells) {
      out += u"<td align='right' bgcolor='" + Color(f_.title_bgcolor, kDefaultTitleColor) +
             u"' colspan=2>" + caption_ + (caption_.find(u'：') == Text::npos ? u"：" : u"") +
             u"</td>";
    }
    const Text value_color = Color(f_.value_bgcolor, kDefaultValueColor);
    if (!no_cells) {
      out += u"<td align='left' bgcolor='" + value_color + u"'  colspan=" + Num(f_.col_span);
      if (!Trim(f_.td_title).empty()) out += u" title='" + Trim(f_.td_title) + u"'";
      out += u">";
    }
    if (f_.div_height > 0) {
      const Text d = Num(f_.div_height);
      out += u"<div style='padding-left:5px;font-size:9px;line-height:150%;overflow:auto; height:" +
             d + u"px;' valign=top><table width='100%' border='0' cellpadding='0' cellspacing='0' bgcolor='" +
             value_color + u"' height=" + Num(f_.div_height - 4) +
             u" style='table-layout: fixed; word-wrap:break-word; word-break:break-all' valign=top>"
             u"<tr valign=top><td bgcolor='" + value_color + u"' valgin=top>";
    } else if (f_.div_height == 0) {
      out += u"&nbsp;";
    }
    if (f_.type == kFieldMarkup) {
      out += Trim(pop_);
    } else if (f_.type == kFieldTextArea || (f_.state != kStateView && f_.allow_edit != 0)) {
      out += Editable();
      if (!Trim(f_.star).empty()) out += u"&nbsp;<font color=red>" + Trim(f_.star) + u"</font>";
    } else {
      out += ReadOnly();
    }
    if (f_.div_height > 0) out += u"</td></tr></table></div>";
    if (!no_cells) out += u"</td>";
    return out;
  }

 private:
  static Text Color(const Text& given, const char16_t* fallback) {
    return Trim(given).empty() ? Text(fallback) : given;
  }

  bool Editing() const { return f_.state == kStateEdit; }

  // The field's value at the record set's current row. A name the record
  // set does not know fails with the engine's number and the name, so the
  // page's author sees which field of the form is wrong.
  Variant Raw() const {
    try {
      return automation::ObjectCast<data::Recordset>(rs_).Field(f_.field);
    } catch (const automation::Error& e) {
      if (e.number() == automation::err::kNoCurrentRecord) throw;
      throw automation::Error(e.number(), e.description() + u" [" + f_.field + u"]");
    }
  }

  // The untrimmed value as text (Null as empty); the literal when given.
  Text RawText() const {
    if (literal_) return literal_value_;
    const Variant v = Raw();
    return v.IsNull() ? Text() : CStr(v);
  }

  // v of the rules: the trimmed field value, Null as empty. Read once: the
  // option lists compare every option with it.
  const Text& Value() const {
    if (!value_) value_ = literal_ ? Trim(literal_value_) : Trim(RawText());
    return *value_;
  }

  // The value as the markup shows it: a field's value encoded, a literal as
  // the page wrote it (untrimmed where `trim_literal` is false).
  Text Shown(bool trim_literal) const {
    if (literal_) return trim_literal ? Trim(literal_value_) : literal_value_;
    return HtmlEscape(Value());
  }

  Text EditValue(bool trim_literal = false) const {
    return Editing() ? u" value='" + Shown(trim_literal) + u"'" : Text();
  }

  bool IsTrue() const {
    if (literal_) return automation::CBool(Variant(Trim(literal_value_)));
    const Variant v = Raw();
    return !v.IsNull() && automation::CBool(v);
  }

  Text Editable() const {
    switch (f_.type) {
      case kFieldText:
      case kFieldPickWindow:
      case kFieldClickText:
      case kFieldTextHidden:
      case kFieldDialog:
        return TextInput();
      case kFieldDate:
      case kFieldDateToo:
        return DateInput();
      case kFieldSelect:
        return Select();
      case kFieldCheckbox:
        return prefix_ + u"' type='checkbox' class='inputtext'  onkeydown='onKeyDownDefault(this);' value='on'" +
               (Editing() && IsTrue() ? u" Checked " : u"") + u">";
      case kFieldTextArea:
        return TextArea();
      case kFieldPassword:
        return prefix_ + u"' type='password' class='inputtext' style='width:" + width_px_ + u"' value='' " +
               required_ + u" onkeydown='onKeyDownDefault(this);' >";
      case kFieldRadio:
      case kFieldChoices:
        return Choices();
      case kFieldEditorFrame:
        return u"<textarea name='" + name_ + u"' id='" + name_ + u"' style='display:none'></textarea>" +
               u"<iframe id='Editor' src='" + f_.field + u"' frameborder=1 scrolling=no width='" +
               Num(f_.width) + u"' height='" + Num(f_.height) + u"'></iframe>";
      case kFieldFilePreview:
        return prefix_ + u"' type='text' class='inputtext' Readonly style='width:" + Num(int64_t{f_.width} - 68) +
               u"px;'><input type='file' name='" + name_ + u"22' id='" + name_ +
               u"22' style='width:68px;' class='inputtext' " + Accept() +
               u" onchange = \"document.getElementById('" + name_ +
               u"').value=this.value; document.myform.encoding='multipart/form-data';"
               u" document.PhotoPre.src=document.myform.url.value;\">";
      case kFieldFileSubmit:
        return u"<input type='file' Title='点击选择上传文件' name='" + name_ + u"22' id='" + name_ +
               u"22' style='width:88px;'" + Accept() + u" class='inputtext' onchange = \"myform.submit();;\">";
      case kFieldSuggest:
        return prefix_ + u"' type='text' class='inputtext' style='width:" + width_px_ +
               u"'  onkeydown='onKeyDownDefault(this);' " + u" list='" + name_ + u"_list_h5'" + EditValue() +
               required_ + u"><datalist id='" + name_ + u"_list_h5' style='display:none'>" +
               ListOptions(false) + u"</datalist>";
      case kFieldRichText:
      case kFieldRichTextMenu:
        return RichText();
      default:
        if (auto type = HtmlInputType(f_.type)) return HtmlInput(*type);
        return Text();
    }
  }

  Text Accept() const {
    return Trim(pop_).empty() ? Text() : u"accept='" + pop_ + u"'";
  }

  Text TextInput() const {
    Text out = prefix_ + u"' type='text' class='inputtext' style='width:" + width_ +
               u";'  onkeydown='onKeyDownDefault(this);' " + EditValue();
    switch (f_.type) {
      case kFieldText:
        if (f_.field != kIdCardField && f_.pop_allow >= 1) {
          out += u" title='点击左键会弹出选择菜单' onclick='PopSelectData(document.myform." + name_ + u",\"" + pop_ +
                 u"\")' ";
        } else if (f_.field == kIdCardField && f_.pop_allow >= 0) {
          out += u" onblur='return isIdCardNo(document.myform.postcard,document.myform.postcard.value," +
                 Num(f_.pop_allow) + u",1); ' ";
        }
        break;
      case kFieldPickWindow: {
        const auto parts = Split(pop_, u"|");
        out += u" readonly title='点击左键会弹出选择对话框'  onclick=\"return OpenWindowModalScroll('" +
               Part(parts, 0) + u"'," + Part(parts, 1) + u"," + Part(parts, 2) + u");\"";
        break;
      }
      case kFieldClickText:
        out += u" readonly ";
        if (!Trim(pop_).empty()) out += u" onclick=\"" + Trim(pop_) + u"\"";
        break;
      case kFieldDialog: {
        const auto parts = Split(pop_ + u"||||", u"|");
        Text dialog = Part(parts, 1);
        if (Trim(dialog).empty()) dialog = u"Dialog";
        const Text close = automation::CurrencyToText(text::StringToNumeric(Part(parts, 5)));
        out += u" readonly title='点击左键会弹出选择对话框'  onclick=\"ShowPopDialog('" + dialog + u"'," +
               Part(parts, 3) + u"," + Part(parts, 4) + u",'" + Part(parts, 2) + u"','" + Part(parts, 0) +
               u"', " + close + u");\"";
        break;
      }
      default:
        break;
    }
    return out + required_ + u">";
  }

  Text DateInput() const {
    Text value;
    if (!Editing()) {
      value = text::PutDate(text::GetDate(text::kTodayMarker));
    } else if (literal_) {
      value = literal_value_;
    } else {
      const Variant v = Raw();
      if (v.Is<Date>()) {
        // A blank date column reads as day 0; shown, it would become
        // 1899-12-30 and be saved back as a real date.
        if (v.As<Date>().serial != 0) value = text::PutDate(text::GetDate(v.As<Date>()));
      } else if (!v.IsNull()) {
        value = HtmlEscape(CStr(v));
      }
    }
    return prefix_ + u"' type='date' class='inputtext' style='width:" + width_px_ +
           u"'  onkeydown='onKeyDownDefault(this);'  value='" + value + u"'" + required_ + u" >";
  }

  // One <option> of a drop-down or suggestion list.
  Text Option(const Text& value, const Text& caption, bool selected, char16_t quote) const {
    return u"<option value=" + Text(1, quote) + value + Text(1, quote) + (selected ? u" Selected " : u"") + u">" +
           caption + u"</option>";
  }

  // The options of a drop-down (type 3) or suggestion list (type 15).
  Text ListOptions(bool drop_ends) const {
    Text out;
    if (form::IsInlineList(pop_)) {
      for (const InlineOption& o : form::InlineOptions(pop_, drop_ends)) {
        bool selected = false;
        if (Editing()) {
          // The drop-down compares the value up to its first "#".
          const Text key = drop_ends ? Trim(o.value.substr(0, o.value.find(u'#'))) : o.value;
          selected = key == Value();
        }
        out += Option(o.value, o.caption, selected, u'\'');
      }
      return out;
    }
    for (const Text& n : form::LookupNames(conn_, form::ListLookupSql(pop_, f_.field))) {
      const Text shown = HtmlEscape(n);
      out += Option(shown, shown, Editing() && n == Value(), u'"');
    }
    return out;
  }

  Text Select() const {
    if (LCase(pop_).find(u"<select") != Text::npos) return Trim(pop_);
    return u"<select name='" + name_ + u"' id='" + name_ + u"'  class='inputtext'  style='width:" + width_px_ +
           u"' required >" + ListOptions(true) + u"</select>";
  }

  Text TextArea() const {
    Text out = u"<textarea rows='" + Trim(Num(f_.height)) + u"' name='" + name_ + u"'  id='" + name_ +
               u"'  class='inputedit' onkeydown='onKeyDownDefault(this);' style='width:" + width_;
    if (f_.state == kStateView) {
      out += u" word-wrap: break-word;border:0px;background:3;border-style:none;background-color:transparent;"
             u"outline:none;resize:none;' readonly ";
    } else if (f_.allow_edit != 0) {
      out += u" '";
    } else {
      out += u" background:#eeeeff;' readonly ";
    }
    if (f_.pop_allow == 1) {
      out += u" onclick='popup_select_data(document.myform." + name_ + u",\"" + pop_ + u"\")' ";
    }
    out += required_ + u">";
    if (f_.state == kStateEdit || f_.state == kStateView) out += Shown(false);
    return out + u"</textarea>";
  }

  // Radio buttons (type 7) or check boxes (type 14).
  Text Choices() const {
    Text out;
    if (!form::IsInlineList(pop_)) {
      // From a lookup table both types offer one choice: radio buttons.
      const auto names = form::LookupNames(conn_, form::ChoiceLookupSql(f_.field));
      for (size_t i = 0; i < names.size(); ++i) {
        const Text& n = names[i];
        const Text mark = Editing() ? (n == Value() ? u" Checked " : u"") : (i == 0 ? u" Checked" : u"");
        out += prefix_ + u"' type='radio' value=\"" + HtmlEscape(n) + u"\"" + mark + required_ + u">" +
               HtmlEscape(n);
      }
      return out;
    }
    const Text t = f_.type == kFieldRadio ? u" type='radio' " : u" type='checkbox' ";
    const auto options = form::InlineOptions(pop_, true);
    for (size_t i = 0; i < options.size(); ++i) {
      const InlineOption& o = options[i];
      if (!o.pair) {
        out += prefix_ + u"' " + t + u" value='" + o.value + u"'" +
               (Editing() && MatchesSet(o.value) ? u" Checked " : u"") +
               (f_.allow_empty == 0 && f_.type == kFieldRadio ? u" required " : u"") + u">" + o.value;
      } else {
        const Text mark = Editing() ? (MatchesValue(o.value) ? u" Checked " : u"") : (i == 0 ? u" Checked" : u"");
        out += prefix_ + u"'" + t + u" value='" + o.value + u"'" + mark + required_ + u">" + o.caption;
      }
    }
    return out;
  }

  // A plain option against the field: numbers compare as whole numbers,
  // texts as members of the comma-separated set of choices the field holds.
  bool MatchesSet(const Text& option) const {
    const Text& v = Value();
    if (IsNumericText(option) && IsNumericText(v)) return SameWholeNumber(option, v);
    return (u"," + WithoutSpaces(v) + u",").find(u"," + WithoutSpaces(option) + u",") != Text::npos;
  }

  // A value|caption option against the field: a Boolean field compares as
  // Boolean, numbers as whole numbers, anything else as trimmed text.
  bool MatchesValue(const Text& option) const {
    if (!literal_) {
      const Variant raw = Raw();
      if (raw.Is<bool>()) return automation::CBool(Variant(option)) == raw.As<bool>();
    }
    const Text& v = Value();
    if (IsNumericText(option) && IsNumericText(v)) return SameWholeNumber(option, v);
    return option == v;
  }

  Text RichText() const {
    Text out = script::EditorBlock();
    out += u"<textarea name='" + name_ + u"' id='" + name_ + u"' style='display: none;'>";
    if (f_.state == kStateEdit || f_.state == kStateView) out += literal_ ? Trim(literal_value_) : HtmlEscape(Value());
    out += u"</textarea><div class='iceEditor'></div><script>ice.editor('content',function(){this.width = '" +
           (f_.width == 0 ? Text(u"100%") : Num(f_.width)) + u"';this.height = '" +
           (f_.height == 0 ? Text(u"100%") : Num(f_.height)) + u"';this.uploadUrl = '" + kEditorUploadUrl + u"';";
    if (f_.type == kFieldRichTextMenu) {
      out += u"this.menu = ['backColor', 'fontSize', 'foreColor', 'bold', 'italic', 'underline', 'strikeThrough', "
             u"'line', 'justifyLeft','justifyCenter', 'justifyRight', 'indent', 'outdent', 'line', "
             u"'insertOrderedList', 'insertUnorderedList', 'line', 'superscript','subscript', 'createLink', "
             u"'unlink', 'line','removeFormat','code'];";
    }
    return out + u"this.create();});</script>";
  }

  static std::optional<Text> HtmlInputType(int16_t type) {
    switch (type) {
      case 160: return u" type='number' ";
      case 171: return u" type='range' ";
      case 172: return u" type='progress' ";
      case 180: return u" type='email' ";
      case 181: return u" type='url' ";
      case 182: return u" type='tel' ";
      case 190: return u" type='search' ";
      case 201: return u" type='time' ";
      case 202: return u" type='datetime-local' ";
      case 203: return u" type='month' ";
      case 204: return u" type='week' ";
      case 300: return u" type='file' ";
      case 301: return u" type='file' multiple  ";
      case 400: return u" type='color' ";
      default: return std::nullopt;
    }
  }

  Text HtmlInput(const Text& type_attr) const {
    Text out = prefix_ + u"' " + type_attr + u" class='inputtext' style='width:" + width_px_;
    if (f_.type == kFieldColor) {
      const Text color = Editing() ? (literal_ ? literal_value_ : HtmlEscape(RawText())) : Text(u"#ffffff");
      out += u" background-color:" + color + u";border: 1px solid #000000;color:#000000;";
    }
    out += u"' " + EditValue(true);
    if ((f_.type == 160 || f_.type == 171 || f_.type == 172) && !Trim(pop_).empty()) {
      const auto parts = Split(pop_ + u"|||", u"|");
      static constexpr const char16_t* kBounds[] = {u" min='", u" max='", u" step='"};
      for (size_t i = 0; i < 3; ++i) {
        const Text part = Trim(parts[i]);
        if (!part.empty()) out += kBounds[i] + part + u"'";
      }
    }
    if (f_.type == kFieldColor && Editing()) {
      out += u" title=' 单击本框可选择颜色，外框颜色为当前已设置的颜色，内框颜色为当前选择的颜色。' ";
    }
    return out + required_ + u"  onkeydown='onKeyDownDefault(this);'>";
  }

  Text ReadOnly() const {
    if (f_.type == kFieldCheckbox) return IsTrue() ? u"√" : u"";
    // The password input is never filled in; its view must not show it either.
    if (f_.type == kFieldPassword) return Text();
    Text out = f_.type == kFieldTextHidden ? u"<input type='hidden'>" : u"";
    if (!literal_ && f_.type == kFieldDate && Value() == u"0:00:00") return out;
    return out + u"<font style='word-wrap: break-word'>" + Shown(true) + u"</font>";
  }

  Variant& conn_;
  Variant& rs_;
  const FormField& f_;
  Text caption_, pop_, name_, literal_value_, width_, width_px_, required_, prefix_;
  bool literal_ = false;
  mutable std::optional<Text> value_;
};

}  // namespace

Text ShowTd(Variant& conn, Variant& rs, const FormField& field) {
  return FieldRenderer(conn, rs, field).Render();
}

Text ShowTr(Variant& conn, Variant& rs, TextView tr_class, const FormField& field) {
  const Text open = tr_class.empty() ? Text(u"<tr class=tdbg align=center>") : u"<tr " + Text(tr_class) + u">";
  return open + ShowTd(conn, rs, field) + u"</tr>";
}

}  // namespace arenix::show
