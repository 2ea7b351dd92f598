#include "arenix/script/windows.h"

#include "arenix/page/window_scripts.h"
#include "arenix/script/js_sources.h"
#include "arenix/script/one_line.h"
#include "arenix/script/script_template.h"

namespace arenix::script {

Text ScriptOpenWindow() {
  return ScriptElement(FillIn(js::kOpenWindow, {{u"close_window", page::CloseWindowNoMessagebox()}}));
}

Text ScriptPopSelect() {
  return ScriptElement(js::kPopSelect);
}

Text ScriptPopWindow() {
  return u"<script language=\"JavaScript\" src=\"../comm/orvel_PopupClass.asp\"></script>" +
         ScriptElement(js::kPopWindow);
}

}  // namespace arenix::script
