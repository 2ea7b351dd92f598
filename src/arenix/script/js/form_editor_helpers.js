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
