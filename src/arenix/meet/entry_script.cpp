#include "arenix/meet/entry_script.h"

namespace arenix::meet {

automation::Text EntryKeyScript() {
  return
      u"<script language=javascript>"
      u"var keypress_js=0;"
      u"function onKeyDownDefault(thisInput,dot,len,zngy){"
      u"var e=window.event;if(!e)return;"
      u"var k=e.keyCode;var t=(thisInput.type||'').toLowerCase();"
      u"function stop(){if(e.preventDefault)e.preventDefault();e.returnValue=false;}"
      u"function moveNext(){"
      u"var list=document.getElementsByTagName('input');var n=list.length;var at=-1;var i;"
      u"for(i=0;i<n;i++){if(list[i]==thisInput){at=i;break;}}"
      u"for(i=1;i<=n;i++){var c=list[(at+i)%n];"
      u"if(c.type!='hidden'&&!c.disabled){c.focus();if(c.select)c.select();break;}}"
      u"keypress_js=0;}"
      u"if(e.ctrlKey&&k==13){stop();document.myform.submit();return;}"
      u"if((k==13||k==40)&&!e.ctrlKey&&!e.altKey&&t!='textarea'&&t!='submit'&&t!='number'){"
      u"stop();moveNext();return;}"
      u"if(e.shiftKey&&k==9){keypress_js=0;return;}"
      u"if(k==38&&t=='text'){stop();thisInput.focus();thisInput.select();return;}"
      u"if(k>=65&&k<=90&&t=='text'&&!e.ctrlKey&&!e.metaKey){stop();return;}"
      u"if(zngy==1&&((k>=48&&k<=57)||(k>=96&&k<=105)||k==32)){"
      u"if(thisInput.value=='  ')thisInput.select();"
      u"keypress_js++;"
      u"if(keypress_js>=len&&t=='text'&&thisInput.value.replace(/\\s+$/,'').length>=len){moveNext();}"
      u"}}"
      u"function get_df(bh,pjldf){"
      u"var f=document.myform;if(!f)return;"
      u"var box=f.elements['playpjl_'+bh];var df=f.elements['playdf_'+bh];if(!box||!df)return;"
      u"var v=Number(df.value);if(isNaN(v))v=0;var p=Number(pjldf);if(isNaN(p))p=0;"
      u"df.value=box.checked?v+p:v-p;}"
      u"function open_print_windows(){"
      u"var w=window.open('','openwindow','scrollbars=yes,status=yes,width=765px,height=665px,top=30px');"
      u"if(w)w.focus();return true;}"
      u"</script>";
}

}  // namespace arenix::meet
