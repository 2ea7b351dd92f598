// ArenixCls methods of the frame: error page, window scripts, the data source.
#include "arenix/frame/arenix_cls.h"
#include "arenix/page/data_source.h"
#include "arenix/page/error_page.h"
#include "arenix/page/window_scripts.h"

namespace arenix {

void ArenixCls::CommCloseData(Variant& Rs, Variant& Conn) { page::CloseData(Rs, Conn); }
void ArenixCls::CommSetConn(Variant& Server, Variant& Conn, Variant& Response) {
  page::SetConn(Server, Conn, Response);
}
Text ArenixCls::CommGetDataFullName(Variant& Server) { return page::DataFullName(Server); }
Text ArenixCls::CommGetConnString(Variant& Server) { return page::SingleFileConnString(Server); }
void ArenixCls::CommDataInit(Variant& Server) {}

void ArenixCls::CommShowErrorPage(Variant& Response, Variant& Rs, Variant& Conn,
                                  Text p_ErrorMessage, bool p_CloseParent) {
  page::WriteErrorPage(Response, Rs, Conn, p_ErrorMessage, p_CloseParent, u"");
}

Text ArenixCls::CommScriptSwapImage() { return page::ScriptSwapImage(); }
Variant ArenixCls::CommCloseWindowNoMessagebox() { return page::CloseWindowNoMessagebox(); }
Variant ArenixCls::CommCloseTopWindowNoMessagebox() { return page::CloseTopWindowNoMessagebox(); }
Variant ArenixCls::CommCloseWindowCurrent() { return page::CloseWindowCurrent(); }
Variant ArenixCls::CommCloseWindowModal(bool p_IsRefresh) {
  return page::CloseWindowModal(p_IsRefresh);
}

}  // namespace arenix
