#include "arenix/show/style_dialog.h"

namespace arenix::show {

Text StyleDialogCloseButton() {
  return u"<style type=\"text/css\">\n"
         u".popup-close{float:right;position:relative;width:25px;height:25px;"
         u"background:transparent;cursor:pointer;}\n"
         u".popup-close:before,.popup-close:after{content:'';position:absolute;top:0;left:-14px;"
         u"width:35px;height:20px;border-right:1px solid #aeaeae;}\n"
         u".popup-close:before{transform:rotate(-45deg);}\n"
         u".popup-close:after{transform:rotate(45deg);}\n"
         u".popup-close a{color:#bfbfbf;font-size:20px;text-decoration:none;}\n"
         u"</style>\n";
}

Text StyleDialog() {
  return u"<style type=\"text/css\">\n"
         u"dialog{border:none;border-radius:20px;box-shadow:0 10px 30px rgba(0,0,0,0.3);"
         u"padding:10px;position:fixed;background:#ffffff;overflow:hidden;user-select:none;}\n"
         u"dialog::backdrop{background:linear-gradient(45deg,rgba(0,0,0,0.6),rgba(0,0,0,0));"
         u"backdrop-filter:blur(5px);}\n"
         u".dialog-header,.dialog-title{background:linear-gradient(135deg,#667eea 0%,#764ba2 100%);"
         u"color:#ffffff;font-weight:600;cursor:grab;}\n"
         u".dialog-body{height:calc(100% - 60px);position:relative;}\n"
         u".dialog-iframe-overlay{position:absolute;top:0;left:0;width:100%;height:100%;"
         u"z-index:10;display:none;}\n"
         u".close-btn{background:transparent;border:none;color:#ffffff;font-size:20px;"
         u"cursor:pointer;}\n"
         u".close-btn:hover{color:#ffdddd;}\n"
         u"</style>\n";
}

}  // namespace arenix::show
