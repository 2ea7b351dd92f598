// ArenixCls methods of the page frames and messages, the titles, headers,
// boxes, calendar and tabs, and the login desktop, buttons and dialog
// frames.
#include "arenix/frame/arenix_cls.h"
#include "arenix/show/box.h"
#include "arenix/show/button.h"
#include "arenix/show/calendar.h"
#include "arenix/show/desktop.h"
#include "arenix/show/dialog.h"
#include "arenix/show/message.h"
#include "arenix/show/page_frame.h"
#include "arenix/show/tabs.h"
#include "arenix/show/title.h"

namespace arenix {

using automation::Ref;

// ---- page frames and messages ----

Text ArenixCls::CommShowSuccess(Text p_SuccessMessage, Text p_Url) {
  return show::ShowSuccess(p_SuccessMessage, p_Url);
}

Text ArenixCls::CommShowLogin(Variant& Response, Variant& Request, Variant& Server, Text p_Content,
                              Text p_ShowTitle) {
  return show::ShowLogin(p_Content, p_ShowTitle);
}

Text ArenixCls::CommShowAbout(Variant& Response, Variant& Request, Variant& Server, Text p_Content,
                              Text p_ShowTitle) {
  return show::ShowAbout(p_ShowTitle);
}

Text ArenixCls::CommShowForm(Variant& Response, Variant& Request, Variant& Server, int16_t p_Width,
                             int16_t p_Height, Text p_Content, bool p_IsClose) {
  return show::ShowForm(p_Width, p_Height, p_Content, p_IsClose);
}


Text ArenixCls::CommShowFormFileSelect(Variant& Response, Variant& Request, Variant& Server,
                                       Text p_SearchPath, int16_t p_SearchType) {
  return show::ShowFormFileSelect(Server, p_SearchPath, p_SearchType);
}

Variant ArenixCls::CommShowMessage(Text p_Title, Text p_Content, Text p_Url) {
  return Variant(show::ShowMessage(p_Title, p_Content, p_Url));
}

Text ArenixCls::CommShowBar(Variant& p_SizeMax, Variant& p_SizeCurrent) {
  return show::ShowBar(p_SizeMax, p_SizeCurrent);
}

void ArenixCls::CommClearCache(Variant& Response) { show::ClearCache(Response); }

Text ArenixCls::CommOpenerRefresh() { return show::OpenerRefresh(); }

Text ArenixCls::CommOpenerEditRefresh(Text p_ShowTitle, uint8_t p_IsClose) {
  return show::OpenerEditRefresh(p_ShowTitle, p_IsClose);
}

Text ArenixCls::CommDialogOpenerEditRefresh(Text p_ShowTitle, uint8_t p_IsClose, Text p_DialogID,
                                            Text p_DialogFrameID) {
  return show::DialogOpenerEditRefresh(p_ShowTitle, p_IsClose, p_DialogID);
}

// ---- titles, headers, boxes, calendar and tabs ----

Text ArenixCls::CommShowTitleTop(Text p_Dwmc, Text p_Title, Text p_ExcelUrl, int16_t p_ExcelAllow,
                                 int16_t p_PrintAllow, Text p_Width, Text p_OtherUrl,
                                 Text p_LoginOutUrl) {
  return show::ShowTitleTop(p_Dwmc, p_Title, p_ExcelUrl, p_ExcelAllow, p_PrintAllow, p_Width,
                            p_OtherUrl, p_LoginOutUrl);
}

Text ArenixCls::CommShowTitleHeader(Text p_Title, Text p_TitleAdd, Text p_titleOther) {
  return show::ShowTitleHeader(p_Title, p_TitleAdd, p_titleOther);
}

Text ArenixCls::CommShowTitleSingle(Text p_Width, Text p_Title, Text p_Content) {
  return show::ShowTitleSingle(p_Width, p_Title, p_Content);
}

Text ArenixCls::CommShowMenuMoveContent(int16_t p_Width, int16_t p_TitleHeight, Text p_Title,
                                        uint8_t p_Scroll1, uint8_t p_Scroll2, Text p_Content,
                                        Text p_Visible, bool p_CanMove, bool p_CanExpand) {
  return show::ShowMenuMoveContent(p_Width, p_TitleHeight, p_Title, p_Scroll1, p_Scroll2, p_Content,
                                   p_Visible, p_CanMove, p_CanExpand);
}

Text ArenixCls::CommShowTableDouble(Text p_TableWidth, Text p_BgColor, Text p_BorderColor,
                                    bool p_IsDouble, bool p_IsTableFix) {
  return show::ShowTableDouble(p_TableWidth, p_BgColor, p_BorderColor, p_IsDouble, p_IsTableFix);
}

Text ArenixCls::CommShowHeader(Text p_TitleName, Text p_ExcelUrl, int16_t p_ExcelAllow,
                               int16_t p_PrintAllow, int16_t p_TableWidth, Text p_OtherUrl) {
  return show::ShowHeader(p_TitleName, p_ExcelUrl, p_ExcelAllow, p_PrintAllow, p_TableWidth,
                          p_OtherUrl);
}

Text ArenixCls::CommShowHeader1(Text p_Width, Text p_Title, Text p_Content) {
  return show::ShowTitleSingle(p_Width, p_Title, p_Content);
}

Text ArenixCls::CommShowHeader2(Text p_Title, Text p_TitleAdd, Text p_titleOther) {
  return show::ShowHeader2(p_Title, p_TitleAdd, p_titleOther);
}

Text ArenixCls::CommShowBox(Text p_Title, Text p_Content, Text p_TitleBackColor,
                            Text p_TitleForeColor, Text p_ContentBackColor,
                            Text p_ContentForeColor, Text p_TitleAlign, Text p_BottomImage) {
  return show::ShowBox(p_Title, p_Content,
                       {p_TitleBackColor, p_TitleForeColor, p_ContentBackColor, p_ContentForeColor,
                        p_TitleAlign, p_BottomImage});
}

Text ArenixCls::CommShowCalendar(Variant& Request, Variant& Conn, Variant& Rs, Text p_TableName,
                                 Text p_SqlAdd, Text p_HrefAdd, Text p_CalendarBackColor,
                                 Text p_CalendarHeaderBackColor, Text p_CalendarWeekColor,
                                 Text p_CalendarDayColor, Text p_CalendarCurrentDayColor,
                                 Text p_CalendarTodayColor, Text p_CalendarHeaderForeColor) {
  return show::ShowCalendar(Request, Conn, Rs, p_TableName, p_SqlAdd, p_HrefAdd,
                            {p_CalendarBackColor, p_CalendarHeaderBackColor, p_CalendarWeekColor,
                             p_CalendarDayColor, p_CalendarCurrentDayColor, p_CalendarTodayColor,
                             p_CalendarHeaderForeColor});
}

Text ArenixCls::CommShowTab(Text p_BgColor) { return show::ShowTab(p_BgColor); }

Text ArenixCls::CommShowTabAndContent(Text p_BgColor, Ref<Variant> p_ArrayTabTitle,
                                      Ref<Variant> p_ArrayTabContent, Text p_TabWeight,
                                      Text p_TabHeight) {
  return show::ShowTabAndContent(p_BgColor, *p_ArrayTabTitle, *p_ArrayTabContent, p_TabWeight,
                                 p_TabHeight);
}

// ---- login desktop, buttons and dialog frames ----


void ArenixCls::CommShowWindowLostFile(Variant& Server, Variant& Conn, Variant& Rs,
                                       Variant& Response, Text p_FileList, Text p_Dwmc) {
  show::ShowWindowLostFile(Server, Conn, Rs, Response, p_FileList, p_Dwmc);
}

Text ArenixCls::CommShowCopyRight(Variant& Conn, Variant& Rs, int16_t p_ShowType,
                                  Ref<int16_t> p_ShowLine) {
  return show::ShowCopyRight(Conn, Rs, p_ShowType, *p_ShowLine);
}

Text ArenixCls::CommShowButton(Text p_ButtonType, Text p_ButtonName, Text p_ButtonID,
                               Text p_ButtonCaption, Text p_ButtonClass, Text p_ButtonScript) {
  return show::ShowButton(
      {p_ButtonType, p_ButtonName, p_ButtonID, p_ButtonCaption, p_ButtonClass, p_ButtonScript});
}

Text ArenixCls::CommShowLoginButtons(bool p_ButtonEnable, Text p_InfoCaption) {
  return show::ShowLoginButtons(p_ButtonEnable, p_InfoCaption);
}

Text ArenixCls::CommShowLoginInput(Text p_InputCaption, Text p_InputName, Text p_InputType,
                                   bool p_InputEnable, Text p_InputValue, Text p_InputPlaceHolder,
                                   Text p_InputOther) {
  return show::ShowLoginInput({p_InputCaption, p_InputName, p_InputType, p_InputEnable, p_InputValue,
                               p_InputPlaceHolder, p_InputOther});
}

Text ArenixCls::CommShowLoginDesktop(Variant& Conn, Variant& Rs, Text p_HeightChangeList,
                                     Text p_Title, Text p_ActionUrl, Text p_Content,
                                     Text p_ManagerUrl) {
  return show::ShowLoginDesktop(Conn, Rs, p_HeightChangeList, p_Title, p_ActionUrl, p_Content,
                                p_ManagerUrl);
}

Text ArenixCls::CommShowDialogFrame(int16_t p_PopWidth, int16_t p_PopHeight, bool p_Refresh,
                                    Text p_DialogID) {
  return show::ShowDialogFrame(p_PopWidth, p_PopHeight, p_Refresh, p_DialogID);
}

Text ArenixCls::CommShowDialogFrameScript() { return show::ShowDialogFrameScript(); }

Text ArenixCls::CommShowDialogDivFrame(int16_t p_PopWidth, int16_t p_PopHeight, bool p_Refresh,
                                       Text p_DialogID) {
  return show::ShowDialogDivFrame(p_PopWidth, p_PopHeight, p_Refresh, p_DialogID);
}

}  // namespace arenix
