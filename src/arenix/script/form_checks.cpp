#include "arenix/script/form_checks.h"

#include "arenix/page/encode.h"
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

// The editor's document is the frame "HtmlEdit" inside the frame "Editor";
// in source mode (EditMode) its body holds the markup as text.
constexpr char16_t kEditorHelpers[] = uR"JS(
function OrvelEditorDocument() {
  return window.frames["Editor"].frames["HtmlEdit"].document;
}
function OrvelCopyEditorContent(form) {
  var body = OrvelEditorDocument().body;
  var content = form.elements["Content"];
  if (content) {
    content.value = document.getElementById("Editor").EditMode ? body.innerText : body.innerHTML;
  }
}
function OrvelFocusComposition() {
  var composition = window.frames["WBTB_Composition"] || document.getElementById("WBTB_Composition");
  if (composition) {
    composition.focus();
  }
}
)JS";

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
  Text js = uses_editor ? Text(kEditorHelpers) : Text();
  js += u"function checkform() {\n"
        u"var form = document.myform;\n"
        u"var field, other;\n";
  js += body;
  js += u"return true;\n"
        u"}\n";
  return ScriptElement(js);
}

Text ScriptCheck() {
  return ScriptElement(uR"JS(
function OrvelRegCheckIsTelephone(p_String) {
  return /^[0-9-]{7,18}$/.test(p_String);
}
function OrvelRegCheckIsEmail(p_String) {
  return /^([a-zA-Z0-9_-])+@([a-zA-Z0-9_-])+((\.[a-zA-Z0-9_-]{2,3}){1,2})$/.test(p_String);
}
function OrvelRegCheckIsInteger(p_String) {
  return /^[-]{0,1}[0-9]{1,}$/.test(p_String);
}
function OrvelRegCheckIsAge(p_String) {
  var year = new Date().getFullYear();
  var birthYear = Number(p_String);
  return String(p_String).replace(/ /g, "") != "" && birthYear >= year - 60 && birthYear <= year - 18;
}
function OrvelRegCheckIsValidTrueName(p_String) {
  var name = String(p_String).replace(/^\s+|\s+$/g, "");
  return !/^[A-Z \u4E00-\u9FA5]+$/.test(name);
}
function OrvelRegCheckIsChinese(p_String) {
  return /^[\u4E00-\u9FA5]+$/.test(p_String);
}
function OrvelRegCheckValidPasswd(p_String) {
  return /^[\u0000-\u007F]{6,16}$/.test(p_String);
}
function OrvelRegCheckIsNull(p_String) {
  return /^ *$/.test(p_String);
}
function OrvelRegCheckIsIP(p_String) {
  var parts = /^([0-9]+)\.([0-9]+)\.([0-9]+)\.([0-9]+)$/.exec(p_String);
  if (!parts) {
    return false;
  }
  for (var i = 1; i <= 4; i++) {
    if (parseInt(parts[i], 10) >= 256) {
      return false;
    }
  }
  return true;
}
)JS");
}

// Hidden and disabled inputs cannot take the focus, so the moves pass over
// them rather than stopping there. Ctrl+Enter submits through the form's
// own submit path, so the page's checkform() still runs.
Text ScriptOnKeyDownDefault() {
  return ScriptElement(uR"JS(
function OrvelCanFocus(input) {
  return input.type != "hidden" && !input.disabled && input.style.display != "none";
}
function onKeyDownDefault(thisInput) {
  var e = window.event;
  if (!e) {
    return true;
  }
  if (e.ctrlKey && e.keyCode == 13) {
    if (document.myform.requestSubmit) {
      document.myform.requestSubmit();
    } else if (!document.myform.onsubmit || document.myform.onsubmit() != false) {
      document.myform.submit();
    }
    return false;
  }
  if (e.ctrlKey || e.altKey) {
    return true;
  }
  var type = String(thisInput.type || "").toLowerCase();
  if (thisInput.tagName == "TEXTAREA" || type == "submit") {
    return true;
  }
  var forward = (e.keyCode == 13 && !e.shiftKey) || (e.keyCode == 40 && type != "number");
  var back = (e.keyCode == 13 && e.shiftKey) || (e.keyCode == 38 && type != "number");
  if (!forward && !back) {
    return true;
  }
  var inputs = [];
  var all = document.getElementsByTagName("input");
  for (var i = 0; i < all.length; i++) {
    if (all[i] == thisInput || OrvelCanFocus(all[i])) {
      inputs.push(all[i]);
    }
  }
  var at = inputs.indexOf(thisInput);
  var next = null;
  if (forward) {
    next = inputs[(at + 1) % inputs.length];
  } else if (at > 0) {
    next = inputs[at - 1];
  }
  if (e.preventDefault) {
    e.preventDefault();
  }
  e.returnValue = false;
  if (next && next != thisInput) {
    next.focus();
    if (next.select) {
      next.select();
    }
  }
  return false;
}
function IsDigit() {
  var code = window.event ? window.event.keyCode : 0;
  return code >= 48 && code <= 57;
}
function IsDigitAndSign() {
  var code = window.event ? window.event.keyCode : 0;
  return (code >= 48 && code <= 57) || code == 45 || code == 46;
}
)JS");
}

}  // namespace arenix::script
