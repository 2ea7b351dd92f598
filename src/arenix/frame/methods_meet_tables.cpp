// ArenixCls methods of the meet tables: result formatting, stage field
// decomposition and online registration.
#include "arenix/frame/arenix_cls.h"
#include "arenix/meet/registration_save.h"
#include "arenix/meet/registration_team.h"
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

// ---- online registration ----

Text ArenixCls::CommWlbmTeamCheck(Variant& Request, Variant& Response, Variant& Conn, Variant& Rs,
                                  int16_t p_SportsYdybmTeamCheckType, int16_t p_SportsYdybmNumberPerTeam,
                                  int16_t p_SportsYdybmTeamNameLen) {
  return meet::CheckTeamNames(Request, Response, Conn, Rs, p_SportsYdybmTeamCheckType, p_SportsYdybmNumberPerTeam,
                              p_SportsYdybmTeamNameLen);
}

void ArenixCls::CommWlbmSave(Variant& Request, Variant& Response, Variant& Conn, Variant& Rs,
                             int16_t p_SportsYdybmPlayerNumberPerTeam, int16_t p_SportsYdybmPlayerNumberPerItem,
                             int16_t p_SportsYdybmItemNumberPerPlayer, int16_t p_SportsYdybmItemNumberPerPlayerFxb,
                             Text p_SportsAddShowAllowList, int16_t p_SportsCheckPostCardLevel,
                             int16_t p_SportsCheckPostCardAge, int16_t p_SportsYdybmBirthDayCheck,
                             Text p_SportsYdybmBirthDayMin, Text p_SportsYdybmBirthDayMax,
                             int16_t p_SportsYdybmPlayerFgjl, int16_t p_SportsYdybmPowerFullAllow,
                             int16_t p_SportsYdybmPowerFullAllowJB, int16_t p_SportsYdybmCheckItemNumberSytle,
                             Text p_SportsHuheInclude) {
  meet::RegistrationSettings s;
  s.most_athletes = p_SportsYdybmPlayerNumberPerTeam;
  s.most_per_event = p_SportsYdybmPlayerNumberPerItem;
  s.counted_slots = p_SportsYdybmItemNumberPerPlayer;
  s.further_slots = p_SportsYdybmItemNumberPerPlayerFxb;
  s.shown_fields = p_SportsAddShowAllowList;
  s.postcard_level = p_SportsCheckPostCardLevel;
  s.postcard_age = p_SportsCheckPostCardAge;
  s.birthday_check = p_SportsYdybmBirthDayCheck;
  s.birthday_min = p_SportsYdybmBirthDayMin;
  s.birthday_max = p_SportsYdybmBirthDayMax;
  s.store_coach = p_SportsYdybmPlayerFgjl;
  s.combined_alone = p_SportsYdybmPowerFullAllow;
  s.combined_with_others = p_SportsYdybmPowerFullAllowJB;
  s.limit_from_item = p_SportsYdybmCheckItemNumberSytle;
  s.mixed_marker = p_SportsHuheInclude;
  meet::SaveRegistration(Request, Response, Conn, Rs, s);
}

}  // namespace arenix
