// ArenixCls methods of the text module: measures and cuts, list edits,
// encodings, escaping, pinyin and dates.
#include "arenix/frame/arenix_cls.h"
#include "arenix/text/byte_data.h"
#include "arenix/text/dates.h"
#include "arenix/text/display_width.h"
#include "arenix/text/html_encode.h"
#include "arenix/text/list_text.h"
#include "arenix/text/radix_text.h"
#include "arenix/text/pinyin.h"
#include "arenix/text/regexp_replace.h"
#include "arenix/text/stored_text.h"
#include "arenix/text/strextract.h"
#include "arenix/text/string_to_numeric.h"
#include "arenix/text/trim_char.h"
#include "arenix/text/url_utf8.h"
#include "arenix/text/utf8_carry.h"
#include "automation/coerce.h"

namespace arenix {

// ---- string utilities ----

int16_t ArenixCls::CommGetStringLength(Text p_String) { return text::GetStringLength(p_String); }
int16_t ArenixCls::CommGetStringLength2(Text p_String) { return text::GetStringLength2(p_String); }
Text ArenixCls::CommGetStringLeft(Text p_String, int16_t p_StringLength) {
  return text::GetStringLeft(p_String, p_StringLength);
}
Text ArenixCls::CommGetStringRight(Text p_String, int16_t p_StringLength) {
  return text::GetStringRight(p_String, p_StringLength);
}
Text ArenixCls::CommGetTopicStr(Text p_String, int16_t p_StringLength) {
  return text::GetTopicStr(p_String, p_StringLength);
}
Text ArenixCls::CommGetString(Variant& p_String, Variant& p_StringStart, Variant& p_StringLength) {
  return text::GetString(p_String, p_StringStart, p_StringLength);
}
Text ArenixCls::CommJoinChar(Text p_StrUrl) { return text::JoinChar(p_StrUrl); }
Text ArenixCls::CommTrimChar(Text p_Text, Text p_Characters) {
  return text::TrimChar(p_Text, p_Characters);
}
Text ArenixCls::CommLTrimChar(Text p_Text, Text p_Characters) {
  return text::LTrimChar(p_Text, p_Characters);
}
Text ArenixCls::CommRTrimChar(Text p_Text, Text p_Characters) {
  return text::RTrimChar(p_Text, p_Characters);
}
Text ArenixCls::CommReplaceAt(Text p_Expression, int16_t p_At, Text p_ReplaceWith,
                              Text p_Delimiter) {
  return text::ReplaceAt(p_Expression, p_At, p_ReplaceWith, p_Delimiter);
}
Text ArenixCls::CommStrExtract(Text cSearchExpression, Text cBeginDelim, Text cEndDelim,
                               int16_t nOccurrence, int16_t nFlag) {
  return text::StrExtract(cSearchExpression, cBeginDelim, cEndDelim, nOccurrence, nFlag);
}
Text ArenixCls::CommReplaceExp(Text p_String, Text p_Pattern, Text p_ReplaceString) {
  return text::ReplaceExp(p_String, p_Pattern, p_ReplaceString);
}
Text ArenixCls::CommDecToHex(automation::Currency p_Dec) { return text::DecToHex(p_Dec); }
Text ArenixCls::CommDecToBin(automation::Currency p_Dec) { return text::DecToBin(p_Dec); }
Text ArenixCls::CommJoin(Variant& p_Array, Text p_Delimiter) {
  return text::JoinBytes(p_Array, p_Delimiter);
}
double ArenixCls::CommMin(double p_Val1, double p_Val2) { return text::Min(p_Val1, p_Val2); }
double ArenixCls::CommMax(double p_Val1, double p_Val2) { return text::Max(p_Val1, p_Val2); }
automation::Currency ArenixCls::CommStringToNumeric(Text p_String) {
  return text::StringToNumeric(p_String);
}

// ---- markup, URL and Unicode encodings ----

Text ArenixCls::CommHtmlEncode(Text p_String) { return text::HtmlEncode(p_String); }
Text ArenixCls::CommHtmlEncode2(Text p_String) { return text::HtmlEncode2(p_String); }
Text ArenixCls::CommHtmlUnEncode2(Text p_String) { return text::HtmlUnEncode2(p_String); }
Text ArenixCls::CommNoHtml(Text p_String) { return text::NoHtml(p_String); }
Text ArenixCls::CommCodeUtf8ToUnicode(Text p_String, Variant p_IsNt) {
  return text::CodeUtf8ToUnicode(p_String, automation::CBool(p_IsNt));
}
Text ArenixCls::CommCodeUnicodeToUtf8(Text strUnicode, Variant p_IsNt, bool p_IsHtml) {
  return text::CodeUnicodeToUtf8(strUnicode, automation::CBool(p_IsNt), p_IsHtml);
}
Text ArenixCls::CommUrlEncode_GBToUtf8(Text p_String) { return text::UrlEncodeUtf8(p_String); }
Text ArenixCls::CommUrlDecode_GBToUtf8(Text p_String) { return text::UrlDecodeUtf8(p_String); }
Text ArenixCls::CommBinaryToString(Variant p_Binary) { return text::BinaryToString(p_Binary); }
Text ArenixCls::CommRsBinaryToString(Variant p_Binary) {
  return text::RsBinaryToString(p_Binary);
}
Variant ArenixCls::CommMultiByteToBinary(Variant p_MultiByte) {
  return text::MultiByteToBinary(p_MultiByte);
}

// ---- stored text ----

Text ArenixCls::CommEncodeString(Text p_String) { return text::EncodeString(p_String); }
Text ArenixCls::CommUnEncodeString(Text p_String) { return text::UnEncodeString(p_String); }
Text ArenixCls::CommEncodeString2(Text p_String) { return text::EncodeString2(p_String); }

// ---- pinyin ----

Text ArenixCls::CommGetPyChar(Text p_String) { return text::GetPyChar(p_String); }
Text ArenixCls::CommGetPyString(Text p_String) { return text::GetPyString(p_String); }
Text ArenixCls::CommGetQPyString(Text p_String) { return text::GetQPyString(p_String); }

// ---- dates ----

Text ArenixCls::CommGetDate() { return text::GetDate(text::kTodayMarker); }
Text ArenixCls::CommPutDate(Text p_String) { return text::PutDate(p_String); }
Text ArenixCls::CommGetDateTime() { return text::GetDateTime(); }
Text ArenixCls::CommPutDateTime(Text p_String) { return text::PutDateTime(p_String); }
Text ArenixCls::CommDateVB2VFP(Text p_VbDateString) { return text::DateVB2VFP(p_VbDateString); }
Text ArenixCls::CommGetIp(Variant& Request) { return text::GetIp(Request); }
Text ArenixCls::CommDateVFP2VB(Text p_VfpDateString) {
  return text::DateVFP2VB(p_VfpDateString);
}
Text ArenixCls::CommGetFileSize(Text p_FileSize) { return text::GetFileSize(p_FileSize); }
Text ArenixCls::CommFileGetTimeName() { return text::FileGetTimeName(); }
Text ArenixCls::CommFileGetRndName(int16_t p_Length) { return text::FileGetRndName(p_Length); }

}  // namespace arenix
