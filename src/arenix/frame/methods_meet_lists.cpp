// ArenixCls methods of the meet's lists: result list rows, the title
// selectors and the entry-form script.
#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/entry_script.h"
#include "arenix/meet/list_rows.h"
#include "arenix/meet/selectors.h"

namespace arenix {

Text ArenixCls::CommShowListSub(Variant& Rs, int16_t p_SportsPubbb, int16_t p_BsJg, int16_t p_Sn,
                                int16_t p_Sc, int16_t p_Zngy, int16_t p_PjlDf, int16_t p_PjlDfTt,
                                int16_t p_JssjStyle, int16_t p_QyBwdy) {
  return meet::EntryRow(Rs, {p_SportsPubbb, p_BsJg, p_Sn, p_Sc, p_Zngy, p_PjlDf, p_PjlDfTt,
                             p_JssjStyle, p_QyBwdy});
}

Text ArenixCls::CommShowWlcxItem(Variant& Rs, int16_t p_SportsPubbb, int16_t p_Count,
                                 int16_t p_JssjStyle, int16_t p_QyBwdy, int16_t p_Sc,
                                 int16_t p_BsJg) {
  return meet::QueryRow(Rs, {p_SportsPubbb, p_Count, p_JssjStyle, p_QyBwdy, p_Sc});
}

Text ArenixCls::CommShowTitleSub_AgeItem(Variant& Request, Variant& Session, Variant& Conn,
                                         Variant& Rs, Text p_SjkMc, Text p_ZdMc,
                                         int16_t p_EditType, Text p_OtherAddPara) {
  return meet::SelectFromTable(Request, Session, Conn, Rs,
                               {p_SjkMc, p_ZdMc, p_EditType, p_OtherAddPara});
}

Text ArenixCls::CommShowTitleSub_Sex(Text p_Sex) { return meet::SelectSex(p_Sex); }

Text ArenixCls::CommShowTitleSub_Sc(int16_t p_ScS, int16_t p_Sc, int16_t p_EditType, Text p_Zc) {
  return meet::SelectStage(p_ScS, p_Sc, p_EditType, p_Zc);
}

Text ArenixCls::CommShowTitleSub_Zc(Text p_Zc, int16_t p_ZcCount) {
  return meet::SelectHeat(p_Zc, p_ZcCount);
}

Text ArenixCls::CommShowTitleSub_AgeTeam(Variant& Conn, Variant& Rs, Text p_Age, Text p_Team) {
  return meet::SelectAgeTeam(Conn, Rs, p_Age, p_Team);
}

Text ArenixCls::CommScriptOnKeyDown() { return meet::EntryKeyScript(); }

}  // namespace arenix
