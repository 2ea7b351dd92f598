// The editor's built-in style sheet: the class iceEditor and the classes
// beginning "iceEditor-", in Microsoft YaHei at 14 pixels with 22 by 16
// pixel icons. Emitted inside a single-quoted script constant, so it holds
// no single quote and no line break.
#include "arenix/script/editor_parts.h"

namespace arenix::script::editor {

Text StyleSheet() {
  static constexpr const char16_t* kRules[] = {
      u".iceEditor{position:relative;display:flex;flex-direction:column;box-sizing:border-box;border:1px solid #c9ccd6;background:#fff;font-family:\"Microsoft YaHei\",sans-serif;font-size:14px;color:#333;text-align:left;line-height:normal;}",
      u".iceEditor:empty{display:none;}",
      u".iceEditor *{box-sizing:border-box;}",
      u".iceEditor-maxWindow{position:fixed!important;left:0;top:0;right:0;bottom:0;width:100%!important;height:100%!important;z-index:9999;}",
      u".iceEditor-menuBox{display:flex;flex:0 0 auto;padding:2px 4px;border-bottom:1px solid #e3e5ec;background:#f7f8fa;user-select:none;}",
      u".iceEditor-menu{display:flex;flex-wrap:wrap;align-items:center;flex:1 1 0;min-width:0;margin:0;padding:0;list-style:none;}",
      u".iceEditor-menuRight{flex:0 0 auto;align-self:flex-start;}",
      u".iceEditor-btn{position:relative;display:flex;align-items:center;justify-content:center;width:30px;height:26px;margin:1px;border-radius:3px;cursor:pointer;color:#555;}",
      u".iceEditor-btn:hover,.iceEditor-open,.iceEditor-active{background:#e4e7ef;color:#1e88e5;}",
      u".iceEditor-line{width:1px;height:18px;margin:0 4px;background:#d5d8e0;}",
      u".iceEditor-icon{width:22px;height:16px;fill:currentColor;stroke:none;pointer-events:none;}",
      u".iceEditor-maxWindow .iceEditor-max,.iceEditor-min{display:none;}",
      u".iceEditor-maxWindow .iceEditor-min{display:flex;}",
      u".iceEditor-codeMode .iceEditor-btn{opacity:.35;cursor:default;}",
      u".iceEditor-codeMode .iceEditor-btn[data-name=code],.iceEditor-codeMode .iceEditor-menuRight .iceEditor-btn{opacity:1;cursor:pointer;}",
      u".iceEditor-dropdown,.iceEditor-popup{display:none;position:absolute;left:0;top:28px;z-index:100;min-width:120px;padding:6px;border:1px solid #d5d8e0;border-radius:3px;background:#fff;box-shadow:0 2px 8px rgba(0,0,0,.15);cursor:default;color:#333;}",
      u".iceEditor-open>.iceEditor-dropdown,.iceEditor-open>.iceEditor-popup{display:block;}",
      u".iceEditor-popup{width:260px;}",
      u".iceEditor-popup label{display:block;margin:4px 0;font-size:13px;}",
      u".iceEditor-popup input[type=text]{width:200px;height:24px;padding:0 4px;border:1px solid #c9ccd6;}",
      u".iceEditor-popupTitle{margin-bottom:6px;font-weight:bold;}",
      u".iceEditor-popupBtn{display:flex;justify-content:flex-end;gap:6px;margin-top:6px;}",
      u".iceEditor-popupBtn button,.iceEditor-uploadBtn{display:inline-block;padding:3px 12px;border:1px solid #1e88e5;border-radius:3px;background:#1e88e5;color:#fff;font-size:13px;cursor:pointer;}",
      u".iceEditor-uploadBtn{position:relative;overflow:hidden;}",
      u".iceEditor-uploadFile{position:absolute;left:0;top:0;width:100%;height:100%;opacity:0;cursor:pointer;}",
      u".iceEditor-fontSize{margin:0;padding:0;list-style:none;}",
      u".iceEditor-fontSize li{padding:2px 6px;cursor:pointer;white-space:nowrap;}",
      u".iceEditor-fontSize li:hover,.iceEditor-face li:hover{background:#e4e7ef;}",
      u".iceEditor-palette{display:grid;grid-template-columns:repeat(10,16px);gap:2px;width:max-content;}",
      u".iceEditor-palette span{width:16px;height:16px;border:1px solid #ddd;cursor:pointer;}",
      u".iceEditor-palette span:hover{border-color:#000;}",
      u".iceEditor-face{width:300px;}",
      u".iceEditor-faceTitle{margin:4px 0;color:#888;font-size:12px;}",
      u".iceEditor-face ul{display:flex;flex-wrap:wrap;margin:0;padding:0;list-style:none;}",
      u".iceEditor-face li{padding:3px 5px;cursor:pointer;}",
      u".iceEditor-tablePicker{border-collapse:separate;border-spacing:2px;}",
      u".iceEditor-tablePicker td{width:14px;height:14px;padding:0;border:1px solid #c9ccd6;cursor:pointer;}",
      u".iceEditor-tablePicker td.iceEditor-on{background:#bbdefb;border-color:#1e88e5;}",
      u".iceEditor-tableSize{text-align:center;font-size:12px;color:#666;}",
      u".iceEditor-content{position:relative;flex:1 1 auto;min-height:150px;}",
      u".iceEditor-frame{display:block;width:100%;height:100%;border:0;background:#fff;}",
      u".iceEditor-codeView{display:block;width:100%;height:100%;border:0;padding:8px;resize:none;outline:none;font-family:Consolas,monospace;font-size:13px;}",
      u".iceEditor-drag{display:flex;justify-content:center;flex:0 0 auto;height:10px;border-top:1px solid #e3e5ec;background:#f7f8fa;cursor:ns-resize;color:#aaa;}",
      u".iceEditor-drag .iceEditor-icon{height:10px;}",
      u".iceEditor-dragCover{position:fixed;left:0;top:0;right:0;bottom:0;z-index:10000;cursor:ns-resize;}",
      u".iceEditor-disabledMask{display:none;position:absolute;left:0;top:0;right:0;bottom:0;z-index:200;background:rgba(240,240,240,.6);cursor:not-allowed;}",
  };
  Text css;
  for (const char16_t* rule : kRules) css += rule;
  return css;
}

}  // namespace arenix::script::editor
