// ArenixCls methods of the request guards, value validators and identity
// numbers.
#include "arenix/check/guards.h"
#include "arenix/check/postcard.h"
#include "arenix/check/validators.h"
#include "arenix/frame/arenix_cls.h"

namespace arenix {

using automation::ObjectCast;

void ArenixCls::CommCheckInject(Variant& Request, Variant& Response, bool p_CloseParent,
                                Text p_DialogID, int16_t p_CheckInject) {
  check::CheckInject(Request, Response, p_CloseParent, p_DialogID, p_CheckInject);
}

void ArenixCls::CommCheckPost(Variant& Request, Variant& Response, int16_t p_CheckPost,
                              bool p_CloseParent, Text p_DialogID) {
  check::CheckPost(Request, Response, p_CheckPost, p_CloseParent, p_DialogID);
}

void ArenixCls::CommCheckSession(Variant& Response, Text& p_SessionName, bool p_CloseParent,
                                 Text p_DialogID) {
  check::CheckSession(Response, p_SessionName, p_CloseParent, p_DialogID);
}

void ArenixCls::CommCheckAllow(Variant& Response, Variant& Rs, Variant& Conn, int16_t p_AllowState,
                               bool p_CloseParent, Text p_DialogID) {
  check::CheckAllow(Response, Rs, Conn, p_AllowState, p_CloseParent, p_DialogID);
}

void ArenixCls::CommCheckInput(Variant& Request, Variant& Response, Text p_StringList,
                               bool p_CloseParent, Text p_DialogID) {
  check::CheckInput(Request, Response, p_StringList, p_CloseParent, p_DialogID);
}

void ArenixCls::CommCheckIsNoRecord(Variant& Response, Variant& Rs, Variant& Conn,
                                    Text p_ErrorMessage, bool p_CloseParent, Text p_DialogID) {
  check::CheckIsNoRecord(Response, Rs, Conn, p_ErrorMessage, p_CloseParent, p_DialogID);
}

bool ArenixCls::CommCheckIsEof(Variant& Conn, Text p_Sql) { return check::CheckIsEof(Conn, p_Sql); }

bool ArenixCls::CommCheckIsChinese(Text p_String) { return check::IsChinese(p_String); }
bool ArenixCls::CommCheckIsInteger(Text p_String) { return check::IsInteger(p_String); }
bool ArenixCls::CommCheckIsNumeric(Text p_String) { return check::IsNumeric(p_String); }
bool ArenixCls::CommCheckIsTelephone(Text p_String) { return check::IsTelephone(p_String); }
Text ArenixCls::CommCheckIsValidString(Text p_String) {
  return check::FirstUnsafeCharacter(p_String);
}
bool ArenixCls::CommCheckIsEmail(Text p_String) { return check::IsEmail(p_String); }

int16_t ArenixCls::CommCheckIsID(Variant& Response, Text p_String, bool p_CloseParent) {
  return check::CheckIsID(Response, p_String, p_CloseParent, u"");
}

int16_t ArenixCls::CommCheckIsRange(Variant& Response, Text p_String, int16_t p_Min,
                                    int16_t p_Max) {
  return check::CheckIsRange(Response, p_String, p_Min, p_Max, false, u"");
}

bool ArenixCls::CommCheckIsObjInstalled(Variant& Server, Text strClassString) {
  return check::IsObjInstalled(strClassString);
}

Text ArenixCls::CommCheckNetUserSystem(Variant& Request) {
  return check::NetUserSystem(ObjectCast<host::Request>(Request));
}

Text ArenixCls::CommCheckNetUserBrower(Variant& Request) {
  return check::NetUserBrowser(ObjectCast<host::Request>(Request));
}

Variant ArenixCls::CommCheckReg(Variant& p_Pattern, Text p_String) {
  return check::CheckReg(p_Pattern, p_String);
}

Variant ArenixCls::CommCheckIsEmpty(Text p_String) { return check::CheckIsEmpty(p_String); }

bool ArenixCls::CommCheckEdit(Variant& Request) {
  return check::CheckEdit(ObjectCast<host::Request>(Request), true);
}

bool ArenixCls::CommCheckRead(Variant& Request) {
  return check::CheckRead(ObjectCast<host::Request>(Request));
}

int16_t ArenixCls::CommCheckState(Text p_Moden, Variant p_ID) {
  return check::CheckState(p_Moden, p_ID);
}

Text ArenixCls::CommCheckPostCard(Text p_Postcard, int16_t p_Level, int16_t p_AgeRange,
                                  Ref<Text> p_BirthDayMin, Ref<Text> p_BirthDayMax) {
  return check::CheckPostCard(p_Postcard, p_Level, p_AgeRange, *p_BirthDayMin, *p_BirthDayMax);
}

Text ArenixCls::CommGetBirthdayFromPostcard(Text p_Postcard) {
  return check::BirthdayFromPostcard(p_Postcard);
}

Text ArenixCls::CommGetSexFromPostcard(Text p_Postcard) {
  return check::SexFromPostcard(p_Postcard);
}

}  // namespace arenix
