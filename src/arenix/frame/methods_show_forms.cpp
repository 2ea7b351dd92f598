// ArenixCls methods of the form field renderer.
#include "arenix/frame/arenix_cls.h"
#include "arenix/show/form_field.h"
#include "arenix/show/form_tags.h"

namespace arenix {

namespace {
show::FormField Field(int16_t p_Type, int32_t p_Width, int32_t p_Height, int16_t p_ColSpan, Text p_Title,
                      Text p_Name, Text p_Field, int16_t p_Pop_Allow, Text p_Pop_Field, int16_t p_State,
                      int16_t p_Allow_Edit, Text p_Star, Text p_Title_Bgcolor, Text p_Value_Bgcolor,
                      Text p_TdTitle, int16_t p_DivHeight, int16_t p_AllowEmpty) {
  show::FormField f;
  f.type = p_Type;
  f.width = p_Width;
  f.height = p_Height;
  f.col_span = p_ColSpan;
  f.title = std::move(p_Title);
  f.name = std::move(p_Name);
  f.field = std::move(p_Field);
  f.pop_allow = p_Pop_Allow;
  f.pop_field = std::move(p_Pop_Field);
  f.state = p_State;
  f.allow_edit = p_Allow_Edit;
  f.star = std::move(p_Star);
  f.title_bgcolor = std::move(p_Title_Bgcolor);
  f.value_bgcolor = std::move(p_Value_Bgcolor);
  f.td_title = std::move(p_TdTitle);
  f.div_height = p_DivHeight;
  f.allow_empty = p_AllowEmpty;
  return f;
}
}  // namespace

// p_EditorTemplate is part of the interface and not used.
Text ArenixCls::CommShowTd(Variant& Conn, Variant& Rs, int16_t p_Type, int32_t p_Width, int32_t p_Height,
                           int16_t p_ColSpan, Text p_Title, Text p_Name, Text p_Field, int16_t p_Pop_Allow,
                           Text p_Pop_Field, int16_t p_State, int16_t p_Allow_Edit, Text p_Star,
                           Text p_Title_Bgcolor, Text p_Value_Bgcolor, Text p_TdTitle, int16_t p_DivHeight,
                           Text /*p_EditorTemplate*/, int16_t p_AllowEmpty) {
  return show::ShowTd(Conn, Rs,
                      Field(p_Type, p_Width, p_Height, p_ColSpan, p_Title, p_Name, p_Field, p_Pop_Allow,
                            p_Pop_Field, p_State, p_Allow_Edit, p_Star, p_Title_Bgcolor, p_Value_Bgcolor,
                            p_TdTitle, p_DivHeight, p_AllowEmpty));
}

Text ArenixCls::CommShowTr(Variant& Conn, Variant& Rs, Text p_TrClass, int16_t p_Type, int32_t p_Width,
                           int32_t p_Height, int16_t p_ColSpan, Text p_Title, Text p_Name, Text p_Field,
                           int16_t p_Pop_Allow, Text p_Pop_Field, int16_t p_State, int16_t p_Allow_Edit,
                           Text p_Star, Text p_Title_Bgcolor, Text p_Value_Bgcolor, Text p_TdTitle,
                           int16_t p_DivHeight, Text /*p_EditorTemplate*/, int16_t p_AllowEmpty) {
  return show::ShowTr(Conn, Rs, p_TrClass,
                      Field(p_Type, p_Width, p_Height, p_ColSpan, p_Title, p_Name, p_Field, p_Pop_Allow,
                            p_Pop_Field, p_State, p_Allow_Edit, p_Star, p_Title_Bgcolor, p_Value_Bgcolor,
                            p_TdTitle, p_DivHeight, p_AllowEmpty));
}

Text ArenixCls::CommShowFormLeft(Text p_Action, Text p_FormName, Text p_FormID, Text p_OnKeyDownScript,
                                 Text p_OtherScript) {
  return show::ShowFormLeft(p_Action, p_FormName, p_FormID, p_OnKeyDownScript, p_OtherScript);
}

Text ArenixCls::CommShowHiddenInput(Text p_InputName, Text p_InputValue) {
  return show::ShowHiddenInput(p_InputName, p_InputValue);
}

}  // namespace arenix
