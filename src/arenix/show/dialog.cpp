#include "arenix/show/dialog.h"

#include <string>

#include "arenix/show/style_dialog.h"
#include "automation/runtime.h"

namespace arenix::show {

namespace {

Text Number(int32_t n) { return automation::FromAscii(std::to_string(n)); }

constexpr char16_t kModalDialogScript[] =
    u"<script type=\"text/javascript\">\n"
    // The dialog being shown and the state of a drag.
    u"var OrvelDialog = null, OrvelDialogTitle = null, OrvelDialogFrame = null, OrvelDialogCover = null;\n"
    u"var isDragging = false, dragStartX = 0, dragStartY = 0, translateX = 0, translateY = 0;\n"
    u"var animationFrame = null;\n"
    u"function ShowPopDialog(p_DialogID, p_PopWidth, p_PopHeight, p_DialogTitle, p_Url, p_DialogCloseByOverly) {\n"
    u"  var id = (p_DialogID == null || String(p_DialogID) == \"\") ? \"Dialog\" : String(p_DialogID);\n"
    u"  var doc = document;\n"
    // A page inside a frame opens its parent's main dialog.
    u"  if (id.indexOf(\"MainDialog\") >= 0) {\n"
    u"    try {\n"
    u"      if (window.parent && window.parent !== window && window.parent.document.getElementById(id))\n"
    u"        doc = window.parent.document;\n"
    u"    } catch (e) {}\n"
    u"  }\n"
    u"  var dialog = doc.getElementById(id);\n"
    u"  if (!dialog) return;\n"
    u"  var title = doc.getElementById(\"Title_\" + id), body = doc.getElementById(\"Body_\" + id);\n"
    u"  var frame = doc.getElementById(\"Frame_\" + id), cover = doc.getElementById(\"Frame_\" + id + \"_OverLay\");\n"
    u"  OrvelDialog = dialog; OrvelDialogTitle = title; OrvelDialogFrame = frame; OrvelDialogCover = cover;\n"
    u"  var w = Number(p_PopWidth), h = Number(p_PopHeight);\n"
    u"  if (p_Url) frame.src = p_Url;\n"
    u"  if (p_DialogTitle) title.innerHTML = p_DialogTitle;\n"
    u"  dialog.style.width = w + \"px\";\n"
    u"  dialog.style.height = (h + 30) + \"px\";\n"
    u"  title.style.width = w + \"px\";\n"
    u"  body.style.width = w + \"px\";\n"
    u"  frame.style.width = w + \"px\";\n"
    u"  frame.style.height = h + \"px\";\n"
    u"  if (!dialog.open) {\n"
    u"    dialog.showModal();\n"
    u"    translateX = 0; translateY = 0;\n"
    u"    updateTransform();\n"
    u"  }\n"
    u"  title.onmousedown = startDrag;\n"
    u"  title.ontouchstart = startDrag;\n"
    u"  if (!doc.OrvelDialogBound) {\n"
    u"    doc.OrvelDialogBound = true;\n"
    u"    doc.addEventListener(\"mousemove\", function (e) {\n"
    u"      if (isDragging) handleMove(e.clientX, e.clientY, OrvelDialog);\n"
    u"    });\n"
    u"    doc.addEventListener(\"touchmove\", function (e) {\n"
    u"      if (isDragging && e.touches.length > 0) handleMove(e.touches[0].clientX, e.touches[0].clientY, OrvelDialog);\n"
    u"    });\n"
    u"    doc.addEventListener(\"mouseup\", endDrag);\n"
    u"    doc.addEventListener(\"touchend\", endDrag);\n"
    u"  }\n"
    // A click outside the dialog's rectangle (on the backdrop) closes it.
    u"  dialog.onclick = (Number(p_DialogCloseByOverly) == 1) ? function (e) {\n"
    u"    var r = dialog.getBoundingClientRect();\n"
    u"    if (e.clientX < r.left || e.clientX > r.right || e.clientY < r.top || e.clientY > r.bottom) dialog.close();\n"
    u"  } : null;\n"
    u"}\n"
    u"function startDrag(e) {\n"
    u"  if (!OrvelDialog) return;\n"
    u"  var point = (e.touches && e.touches.length > 0) ? e.touches[0] : e;\n"
    u"  isDragging = true;\n"
    u"  dragStartX = point.clientX - translateX;\n"
    u"  dragStartY = point.clientY - translateY;\n"
    u"  OrvelDialogTitle.style.cursor = \"grabbing\";\n"
    u"  OrvelDialogFrame.style.pointerEvents = \"none\";\n"
    u"  if (OrvelDialogCover) OrvelDialogCover.style.display = \"block\";\n"
    u"  if (e.preventDefault && !e.touches) e.preventDefault();\n"
    u"}\n"
    u"function endDrag() {\n"
    u"  if (!isDragging) return;\n"
    u"  isDragging = false;\n"
    u"  OrvelDialogTitle.style.cursor = \"grab\";\n"
    u"  OrvelDialogFrame.style.pointerEvents = \"\";\n"
    u"  if (OrvelDialogCover) OrvelDialogCover.style.display = \"none\";\n"
    u"}\n"
    u"function updateTransform() {\n"
    u"  animationFrame = null;\n"
    u"  if (OrvelDialog) OrvelDialog.style.transform = \"translate(\" + translateX + \"px, \" + translateY + \"px)\";\n"
    u"}\n"
    u"function handleMove(clientX, clientY, dialog) {\n"
    u"  if (!isDragging || !dialog) return;\n"
    u"  translateX = clientX - dragStartX;\n"
    u"  translateY = clientY - dragStartY;\n"
    // One change of the transform per animation frame.
    u"  if (animationFrame == null) animationFrame = window.requestAnimationFrame(updateTransform);\n"
    u"}\n"
    u"</script>\n";

constexpr char16_t kDivDialogScript[] =
    u"<script type=\"text/javascript\">\n"
    u"var divDialog = { overlay: null, dialog: null, dragging: false, offsetX: 0, offsetY: 0, bodyOverflow: null };\n"
    u"function divDialogKeepInside(left, top) {\n"
    u"  var d = divDialog.dialog;\n"
    u"  var maxLeft = Math.max(0, window.innerWidth - d.offsetWidth), maxTop = Math.max(0, window.innerHeight - d.offsetHeight);\n"
    u"  d.style.transform = \"none\";\n"
    u"  d.style.left = Math.min(Math.max(0, left), maxLeft) + \"px\";\n"
    u"  d.style.top = Math.min(Math.max(0, top), maxTop) + \"px\";\n"
    u"}\n"
    u"function divOpenDialog(p_DivDialogID, p_PopWidth, p_PopHeight, p_DialogTitle, p_Url, p_DialogCloseByOverly) {\n"
    u"  var id = (p_DivDialogID == null) ? \"\" : String(p_DivDialogID);\n"
    u"  var overlay = document.getElementById(id + \"_Overly\"), dialog = document.getElementById(id);\n"
    u"  var title = document.getElementById(id + \"_Title\"), closeBtn = document.getElementById(id + \"_CloseBtn\");\n"
    u"  var body = document.getElementById(id + \"_Body\"), frame = document.getElementById(id + \"_Frame\");\n"
    u"  if (!overlay || !dialog || !title || !body || !frame) return;\n"
    u"  var w = Number(p_PopWidth), h = Number(p_PopHeight);\n"
    u"  if (p_Url) frame.src = p_Url;\n"
    u"  if (p_DialogTitle) title.innerHTML = p_DialogTitle;\n"
    u"  dialog.style.width = w + \"px\";\n"
    u"  dialog.style.height = (h + 30) + \"px\";\n"
    u"  title.style.width = (w - 24) + \"px\";\n"
    u"  body.style.width = (w - 8) + \"px\";\n"
    u"  divDialog.overlay = overlay; divDialog.dialog = dialog;\n"
    u"  overlay.style.display = \"block\";\n"
    u"  dialog.style.display = \"flex\";\n"
    u"  if (divDialog.bodyOverflow == null) divDialog.bodyOverflow = document.body.style.overflow;\n"
    u"  document.body.style.overflow = \"hidden\";\n"
    u"  dialog.style.left = \"50%\";\n"
    u"  dialog.style.top = \"50%\";\n"
    u"  dialog.style.transform = \"translate(-50%, -50%)\";\n"
    u"  title.onmousedown = function (e) {\n"
    u"    var r = dialog.getBoundingClientRect();\n"
    u"    divDialog.dragging = true;\n"
    u"    divDialog.offsetX = e.clientX - r.left;\n"
    u"    divDialog.offsetY = e.clientY - r.top;\n"
    u"    divDialogKeepInside(r.left, r.top);\n"
    u"    e.preventDefault();\n"
    u"  };\n"
    u"  if (!divDialog.bound) {\n"
    u"    divDialog.bound = true;\n"
    u"    document.addEventListener(\"mousemove\", function (e) {\n"
    u"      if (divDialog.dragging) divDialogKeepInside(e.clientX - divDialog.offsetX, e.clientY - divDialog.offsetY);\n"
    u"    });\n"
    u"    document.addEventListener(\"mouseup\", function () { divDialog.dragging = false; });\n"
    u"    window.addEventListener(\"resize\", function () {\n"
    u"      var d = divDialog.dialog;\n"
    u"      if (!d || d.style.display == \"none\" || d.style.transform != \"none\") return;\n"
    u"      divDialogKeepInside(d.offsetLeft, d.offsetTop);\n"
    u"    });\n"
    u"  }\n"
    // Only a click on the cover itself closes; clicks inside the dialog stay there.
    u"  overlay.onclick = (Number(p_DialogCloseByOverly) == 1) ? function () { divCloseDialog(); } : null;\n"
    u"  dialog.onclick = function (e) { e.stopPropagation(); };\n"
    u"}\n"
    u"function divCloseDialog() {\n"
    u"  var d = divDialog.dialog;\n"
    u"  if (!d) return;\n"
    u"  divDialog.dragging = false;\n"
    u"  divDialog.overlay.style.display = \"none\";\n"
    u"  d.style.display = \"none\";\n"
    u"  d.style.left = \"50%\";\n"
    u"  d.style.top = \"50%\";\n"
    u"  d.style.transform = \"translate(-50%, -50%)\";\n"
    // The page scrolls again as it did before the dialog opened.
    u"  if (divDialog.bodyOverflow != null) document.body.style.overflow = divDialog.bodyOverflow;\n"
    u"  divDialog.bodyOverflow = null;\n"
    u"}\n"
    u"</script>\n";

}  // namespace

Text ShowDialogFrameScript() { return kModalDialogScript; }

Text ShowDialogFrame(int16_t width, int16_t height, bool refresh, TextView dialog_id) {
  Text d = automation::Trim(dialog_id);
  if (d.empty()) d = u"Dialog";
  const Text w = Number(width), body_h = Number(int32_t{height} - 25);
  Text out = StyleDialogCloseButton() + StyleDialog() + ShowDialogFrameScript();
  out += u"<dialog class=\"dialog\" id=\"" + d + u"\">";
  out += u"<div id=\"Title_" + d + u"\" style=\"float:left;width:" + w +
         u"px;height:30px;text-align:center;line-height:30px;font-size:16px;font-weight:normal;"
         u"z-index:1;\" class=\"dialog-header\">对话框标题</div>";
  out += u"<div id=\"Close_" + d + u"\" style=\"float:right;z-index:2;\" class=\"popup-close\" "
         u"onClick=\"document.getElementById('" + d + u"').close();";
  if (refresh) out += u"window.location.reload(true);";
  out += u"\"></div>";
  out += u"<div id=\"Body_" + d + u"\" class=\"dialog-body\" style=\"padding: 4px 0px 0px 0px;  "
         u"float:left;width:" + w + u"px;height:" + body_h + u"px;\">";
  out += u"<div id=\"Frame_" + d + u"_OverLay\" class=\"dialog-iframe-overlay\"></div>";
  out += u"<iframe id=\"Frame_" + d + u"\" src=\"\", style=\"width:" + w + u"px;height:" + body_h +
         u"px;padding:0px;margin:0px;scrolling=no;overflow:hidden; frameborder=no;border:none;\" "
         u"class=css0></iframe>";
  out += u"</div></dialog>";
  return out;
}

Text ShowDialogDivFrame(int16_t width, int16_t height, bool refresh, TextView dialog_id) {
  const Text d(dialog_id);
  Text out = u"<style type=\"text/css\">\n"
             u".div-dialog-overlay{position:fixed;top:0;left:0;width:100%;height:100%;"
             u"background:rgba(0, 0, 0, 0.5);display:none;z-index:1000;}\n"
             u".div-dialog{position:fixed;top:50%;left:50%;transform:translate(-50%, -50%);"
             u"background:#ffffff;border-radius:8px;box-shadow:0 4px 20px rgba(0,0,0,0.3);width:" +
             Number(width) + u"px;height:" + Number(height) +
             u"px;display:none;flex-direction:column;z-index:1001;overflow:hidden;}\n"
             u".div-dialog-title{padding:12px 16px;background:#4285f4;color:#ffffff;font-size:16px;"
             u"cursor:move;user-select:none;}\n"
             u".div-dialog-body{padding:4px;overflow-y:auto;flex:1;}\n"
             u".div-dialog-footer{padding:0;}\n"
             u".div-dialog-btn{padding:6px 16px;border:none;border-radius:4px;cursor:pointer;}\n"
             u".div-dialog-btn-close{position:absolute;top:8px;right:12px;color:#ffffff;"
             u"background:transparent;border:none;font-size:20px;cursor:pointer;"
             u"transition:transform 0.2s;}\n"
             u".div-dialog-btn-close:hover{transform:scale(1.2);}\n"
             u"</style>\n";
  out += u"<div class=\"div-dialog-overlay\" id='" + d + u"_Overly'></div>";
  out += u"<div class=\"div-dialog\" id='" + d + u"'>";
  out += u"<div class=\"div-dialog-title\" id='" + d + u"_Title'>标题栏</div>";
  out += u"<button class=\"div-dialog-btn-close\" id='" + d +
         u"_CloseBtn' aria-label=\"关闭\"onClick=\"divCloseDialog();";
  if (refresh) out += u"window.location.reload(true);";
  out += u"\">×</button>";
  out += u"<div class=\"div-dialog-body\" id='" + d + u"_Body'><iframe id=\"" + d +
         u"_Frame\" style=\"width:100%; height: 100%;border: none;\" src=\"\"></iframe></div>";
  out += u"<div class=\"div-dialog-footer\"></div>";
  out += u"</div>";
  out += kDivDialogScript;
  return out;
}

}  // namespace arenix::show
