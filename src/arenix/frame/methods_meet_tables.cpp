// ArenixCls methods of the meet tables: result formatting, stage field
// decomposition and online registration.
#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/result_format.h"
#include "arenix/meet/stage_info.h"

namespace arenix {

// ---- result formatting ----

Text ArenixCls::CommShowFormatCj(Variant& Rs, int16_t p_SportsPubbb, int16_t p_JssjStyle, Text p_CjMc) {
  return meet::FormatResultOfRow(Rs, p_SportsPubbb, p_JssjStyle, p_CjMc);
}

Text ArenixCls::CommShowFormatCj_Sub(Variant& Rs, int16_t p_SportsPubbb, int16_t p_JssjStyle, Text p_Tsjs,
                                     Text p_CurrentZdygs, Text p_CurrentBscj) {
  return meet::FormatResult(p_Tsjs, p_CurrentZdygs, p_CurrentBscj, p_SportsPubbb, p_JssjStyle);
}

// ---- stage field decomposition ----

void ArenixCls::CommBsxxFenjie(Variant& Conn, Text p_Sql_Where, int16_t p_Sc, int16_t p_SportsPubbb) {
  meet::UnpackStage(Conn, p_Sql_Where, p_Sc, p_SportsPubbb);
}

Text ArenixCls::CommsGetBsFenjieXxString(int16_t p_Sc) { return meet::StageSelectList(p_Sc); }

}  // namespace arenix
