// ArenixCls methods of the frame: error page, window scripts, the data source.
#include "arenix/frame/arenix_cls.h"
#include "arenix/frame/data_source.h"
#include "arenix/frame/error_page.h"
#include "arenix/frame/window_scripts.h"

namespace arenix {

void ArenixCls::CommCloseData(Variant& Rs, Variant& Conn) { frame::CloseData(Rs, Conn); }
void ArenixCls::CommSetConn(Variant& Server, Variant& Conn, Variant& Response) {
  frame::SetConn(Server, Conn, Response);
}
Text ArenixCls::CommGetDataFullName(Variant& Server) { return frame::DataFullName(Server); }
Text ArenixCls::CommGetConnString(Variant& Server) { return frame::SingleFileConnString(Server); }
void ArenixCls::CommDataInit(Variant& Server) {}

void ArenixCls::CommShowErrorPage(Variant& Response, Variant& Rs, Variant& Conn,
                                  Text p_ErrorMessage, bool p_CloseParent) {
  frame::WriteErrorPage(Response, Rs, Conn, p_ErrorMessage, p_CloseParent, u"");
}

Text ArenixCls::CommScriptSwapImage() { return frame::ScriptSwapImage(); }
Variant ArenixCls::CommCloseWindowNoMessagebox() { return frame::CloseWindowNoMessagebox(); }
Variant ArenixCls::CommCloseTopWindowNoMessagebox() { return frame::CloseTopWindowNoMessagebox(); }
Variant ArenixCls::CommCloseWindowCurrent() { return frame::CloseWindowCurrent(); }
Variant ArenixCls::CommCloseWindowModal(bool p_IsRefresh) {
  return frame::CloseWindowModal(p_IsRefresh);
}

}  // namespace arenix
