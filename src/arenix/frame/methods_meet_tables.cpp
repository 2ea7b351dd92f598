// ArenixCls methods of the meet tables: result formatting, stage field
// decomposition and online registration.
#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/result_format.h"

namespace arenix {

// ---- result formatting ----

Text ArenixCls::CommShowFormatCj(Variant& Rs, int16_t p_SportsPubbb, int16_t p_JssjStyle, Text p_CjMc) {
  return meet::FormatResultOfRow(Rs, p_SportsPubbb, p_JssjStyle, p_CjMc);
}

Text ArenixCls::CommShowFormatCj_Sub(Variant& Rs, int16_t p_SportsPubbb, int16_t p_JssjStyle, Text p_Tsjs,
                                     Text p_CurrentZdygs, Text p_CurrentBscj) {
  return meet::FormatResult(p_Tsjs, p_CurrentZdygs, p_CurrentBscj, p_SportsPubbb, p_JssjStyle);
}

}  // namespace arenix
