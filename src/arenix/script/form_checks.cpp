#include "arenix/script/form_checks.h"

#include "arenix/page/encode.h"
#include "arenix/script/js_sources.h"
#include "arenix/script/one_line.h"
#include "automation/runtime.h"

namespace arenix::script {

using page::ScriptString;

namespace {

// "editor" and "editor2" are the two rich-text editors of the site; any name
// beginning with "editor" is checked through the field `Content`, into
// which the editor page copies its text.
struct CheckEntry {
  Text field;
  Text empty_message;
  Text rule;  // a maximum length, another field's name, or empty
  Text rule_message;
};

CheckEntry ParseEntry(TextView entry) {
  std::vector<Text> parts = automation::Split(entry, u"|");
  parts.resize(4);
  return {parts[0], parts[1], parts[2], parts[3]};
}

bool IsLength(TextView rule) {
  if (rule.empty()) return false;
  for (char16_t c : rule)
    if (c < u'0' || c > u'9') return false;
  return true;
}

Text Quoted(TextView s) { return u"\"" + ScriptString(s) + u"\""; }

// The statements that move the focus to where the user must type again.
Text FocusEmpty(TextView lower_name) {
  if (lower_name == u"editor") return u"  OrvelEditorDocument().body.focus();\n";
  if (lower_name == u"editor2") return u"  OrvelFocusComposition();\n";
  return u"  field.focus();\n";
}

Text FocusTooLong(TextView lower_name) {
  if (lower_name == u"editor") return u"  window.frames[\"Editor\"].frames[\"HtmlEdit\"].focus();\n";
  if (lower_name == u"editor2") return u"  OrvelFocusComposition();\n";
  return u"  field.focus();\n";
}

Text EntryChecks(const CheckEntry& e) {
  const Text lower = automation::LCase(e.field);
  const bool is_editor = lower.rfind(u"editor", 0) == 0;
  Text js;
  if (lower == u"editor") js += u"OrvelCopyEditorContent(form);\n";
  js += u"field = form.elements[" + Quoted(is_editor ? Text(u"Content") : e.field) + u"];\n";
  js += u"if (field && (field.value == \"\" || field.value == 0)) {\n"
        u"  alert(" + Quoted(e.empty_message) + u");\n" + FocusEmpty(lower) +
        u"  return false;\n"
        u"}\n";
  if (IsLength(e.rule)) {
    js += u"if (field && field.value.length > " + e.rule + u") {\n"
          u"  alert(" + Quoted(e.rule_message) + u");\n" + FocusTooLong(lower) +
          u"  return false;\n"
          u"}\n";
  } else if (!e.rule.empty()) {
    js += u"other = form.elements[" + Quoted(e.rule) + u"];\n"
          u"if (field && other && field.value != other.value) {\n"
          u"  alert(" + Quoted(e.rule_message) + u");\n"
          u"  field.focus();\n"
          u"  return false;\n"
          u"}\n";
  }
  return js;
}

}  // namespace

Text ScriptCheckForm(TextView check_list) {
  Text body;
  bool uses_editor = false;
  for (const Text& item : automation::Split(check_list, u"$")) {
    const CheckEntry entry = ParseEntry(item);
    if (entry.field.empty()) continue;
    uses_editor = uses_editor || automation::LCase(entry.field).rfind(u"editor", 0) == 0;
    body += EntryChecks(entry);
  }
  Text js = uses_editor ? Text(js::kFormEditorHelpers) : Text();
  js += u"function checkform() {\n"
        u"var form = document.myform;\n"
        u"var field, other;\n";
  js += body;
  js += u"return true;\n"
        u"}\n";
  return ScriptElement(js);
}

Text ScriptCheck() {
  return ScriptElement(js::kFormValidators);
}

Text ScriptOnKeyDownDefault() {
  return ScriptElement(js::kFormKeyNavigation);
}

}  // namespace arenix::script
