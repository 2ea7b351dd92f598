// Helpers of checkform() for the rich-text editors, sent only when the check
// list names one. The editor's document is the frame "HtmlEdit" inside the
// frame "Editor"; in source mode (EditMode) its body holds the markup as text.

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
