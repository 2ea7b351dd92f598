#include "arenix/page/window_scripts.h"

namespace arenix::page {

Text ScriptSwapImage() {
  return u"<script language=\"JavaScript\">\n"
         u"<!--\n"
         // Puts back the former source of every image that OrvelSwapImage changed.
         u"function OrvelSwapImgRestore() {\n"
         u"  var i, x, a = document.OrvelSwapped;\n"
         u"  for (i = 0; a && i < a.length && (x = a[i]) && x.oSrc; i++) x.src = x.oSrc;\n"
         u"}\n"
         // Preloads every image address it is given, skipping those that begin with "#".
         u"function OrvelPreloadImages() {\n"
         u"  var d = document, i, j, a = OrvelPreloadImages.arguments;\n"
         u"  if (!d.images) return;\n"
         u"  if (!d.OrvelPreloaded) d.OrvelPreloaded = new Array();\n"
         u"  j = d.OrvelPreloaded.length;\n"
         u"  for (i = 0; i < a.length; i++)\n"
         u"    if (String(a[i]).indexOf(\"#\") != 0) {\n"
         u"      d.OrvelPreloaded[j] = new Image();\n"
         u"      d.OrvelPreloaded[j++].src = a[i];\n"
         u"    }\n"
         u"}\n"
         // Finds an element by name: "name?frame" searches a frame of the
         // parent window; then forms and layers; last, by id.
         u"function OrvelFindObject(n, d) {\n"
         u"  var p, i, x;\n"
         u"  if (!d) d = document;\n"
         u"  if ((p = n.indexOf(\"?\")) > 0 && parent.frames.length) {\n"
         u"    d = parent.frames[n.substring(p + 1)].document;\n"
         u"    n = n.substring(0, p);\n"
         u"  }\n"
         u"  if (!(x = d[n]) && d.all) x = d.all[n];\n"
         u"  for (i = 0; !x && d.forms && i < d.forms.length; i++) x = d.forms[i][n];\n"
         u"  for (i = 0; !x && d.layers && i < d.layers.length; i++)\n"
         u"    x = OrvelFindObject(n, d.layers[i].document);\n"
         u"  if (!x && d.getElementById) x = d.getElementById(n);\n"
         u"  return x;\n"
         u"}\n"
         // Arguments in threes: element name, an ignored value, new source.
         u"function OrvelSwapImage() {\n"
         u"  var i, j = 0, x, a = OrvelSwapImage.arguments;\n"
         u"  document.OrvelSwapped = new Array();\n"
         u"  for (i = 0; i < (a.length - 2); i += 3)\n"
         u"    if ((x = OrvelFindObject(a[i])) != null) {\n"
         u"      document.OrvelSwapped[j++] = x;\n"
         u"      if (!x.oSrc) x.oSrc = x.src;\n"
         u"      x.src = a[i + 2];\n"
         u"    }\n"
         u"}\n"
         u"//-->\n"
         u"</script>\n";
}

Text CloseWindowNoMessagebox() {
  return u"window.opener=null;"
         u"window.open(\"\",\"_self\");"
         u"window.close();"
         u"window.top.open(\"\",\"_top\").close();"
         u"parent.close();";
}

Text CloseTopWindowNoMessagebox() {
  return u"top.window.opener=null;"
         u"top.window.open(\"\",\"_self\");"
         u"top.window.close();"
         u"window.top.open(\"\",\"_top\").close();";
}

Text CloseWindowCurrent() {
  return u"<center><iframe name=\"orvel_close_ModalDialog\" id=\"orvel_close_ModalDialog\" "
         u"class=\"css0\" width=\"100%\" height=\"30\" frameborder=\"0\" scrolling=\"no\" "
         u"allowtransparency=\"true\" style=\"background-color:transparent;border:0\" "
         u"src=\"../comm/comm_OrvelCloseWindowCurrent.asp\"></iframe></center>";
}

Text CloseWindowModal(bool refresh) {
  Text out = u"<head><base target=\"_self\"></head>";
  if (refresh)
    out += u"<body onunload=\"try{if(window.dialogArguments&&window.dialogArguments.location)"
           u"{window.dialogArguments.location.reload();}"
           u"else if(window.opener){window.opener.location.reload();}}catch(e){}\">";
  return out;
}

}  // namespace arenix::page
