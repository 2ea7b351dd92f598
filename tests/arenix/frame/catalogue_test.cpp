// The public interface, compared whole with the published method list.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "arenix/frame/arenix_cls.h"

namespace {

// Every method in interface order: name, parameters in order (by-reference
// ones marked, optional ones in brackets with their defaults) and result.
constexpr char kInterface[] = R"(CommMd5(p_String) -> text
CommServU(p_String) -> text
CommGetDataFullName(ByRef Server) -> text
CommGetConnString(ByRef Server) -> text
CommCloseData(ByRef Rs, ByRef Conn) -> none
CommDataInit(ByRef Server) -> none
CommSetConn(ByRef Server, ByRef Conn, ByRef Response) -> none
CommCheckInject(ByRef Request, ByRef Response, [p_CloseParent = False], [p_DialogID = ""], [p_CheckInject = 1]) -> none
CommCheckPost(ByRef Request, ByRef Response, [p_CheckPost = 1], [p_CloseParent = False], [p_DialogID = ""]) -> none
CommCheckSession(ByRef Response, ByRef p_SessionName, [p_CloseParent = False], [p_DialogID = ""]) -> none
CommCheckAllow(ByRef Response, ByRef Rs, ByRef Conn, p_AllowState, [p_CloseParent = False], [p_DialogID = ""]) -> none
CommCheckInput(ByRef Request, ByRef Response, p_StringList, [p_CloseParent = False], [p_DialogID = ""]) -> none
CommCheckIsNoRecord(ByRef Response, ByRef Rs, ByRef Conn, [p_ErrorMessage = "没有该记录,可能原因是ID出错或从非法路径进入。"], [p_CloseParent = False], [p_DialogID = ""]) -> none
CommCheckIsEof(ByRef Conn, p_Sql) -> Boolean
CommCheckIsChinese(p_String) -> Boolean
CommCheckIsInteger(p_String) -> Boolean
CommCheckIsNumeric(p_String) -> Boolean
CommCheckIsTelephone(p_String) -> Boolean
CommCheckIsValidString(p_String) -> text
CommCheckIsEmail(p_String) -> Boolean
CommCheckIsID(ByRef Response, p_String, [p_CloseParent = False]) -> 16-bit integer
CommCheckIsRange(ByRef Response, p_String, p_Min, p_Max) -> 16-bit integer
CommCheckIsObjInstalled(ByRef Server, strClassString) -> Boolean
CommCheckNetUserSystem(ByRef Request) -> text
CommCheckNetUserBrower(ByRef Request) -> text
CommCheckReg(ByRef p_Pattern, p_String) -> variant
CommCheckIsEmpty(p_String) -> variant
CommCheckEdit(ByRef Request) -> Boolean
CommCheckRead(ByRef Request) -> Boolean
CommCheckState(p_Moden, p_ID) -> 16-bit integer
CommCheckPostCard(p_Postcard, p_Level, [p_AgeRange = 0], [ByRef p_BirthDayMin = ""], [ByRef p_BirthDayMax = ""]) -> text
CommFileGetPath(p_String) -> text
CommFileGetName(p_String) -> text
CommFileGetExt(p_String, p_HasPoint) -> text
CommFileGetFullName(p_String) -> text
CommFileGetRndName([p_Length = 20]) -> text
CommFileGetIcon(p_FileExt, [p_IconExt = "asp"], [p_IconType = "small"]) -> text
CommFileGetSize(p_FileName) -> 32-bit integer
CommFolderExist(p_FolderName) -> Boolean
CommFolderCreate(p_FolderName) -> Boolean
CommFolderDelete(p_FolderName) -> Boolean
CommFolderRename(p_FolderNameOld, p_FolderNameNew) -> 16-bit integer
CommFolderCopyMove(p_FolderNameSource, p_FolderNameDestination, p_CopyMoveModen, p_OverWriteModen) -> 16-bit integer
CommFileExist(p_FileName) -> Boolean
CommFileRename(p_FileNameOld, p_FileNameNew) -> 16-bit integer
CommFileDelete(p_FileName) -> Boolean
CommFileDeleteImage(ByRef Server, p_String) -> Boolean
CommFileCopyMove(p_FileNameSource, p_FileNameDestination, p_CopyMoveModen, p_OverWriteModen) -> 16-bit integer
CommFileCreateEmptyTxt(p_FileFullName, p_OverWriteModen) -> Boolean
CommSearchPathFile(p_SearchPath, p_SearchType) -> text
CommSaveToTextFile(p_FileFullName, p_String, [p_SaveModen = 2]) -> Boolean
CommReadFromTextFile(p_FileFullName) -> text
CommFileBackup(ByRef Response, ByRef Request, ByRef Server, p_TableList, [p_IsAutoBackup = 1], [p_BackupName = ""], [p_BackUpPath = "AutoBackup"]) -> text
CommUnZipWithRar(ByRef Server, p_Path, p_File, p_Act) -> text
CommUnZipWithXceedZip(ByRef Server, p_Path, p_File, p_Act) -> text
CommOpenUrl(p_Url) -> Boolean
CommReplaceExp(p_String, p_Pattern, p_ReplaceString) -> text
CommReplaceAt(p_Expression, p_At, p_ReplaceWith, [p_Delimiter = "|"]) -> text
CommStrExtract(cSearchExpression, cBeginDelim, cEndDelim, nOccurrence, nFlag) -> text
CommDecToHex(p_Dec) -> text
CommDecToBin(p_Dec) -> text
CommJoin(ByRef p_Array, p_Delimiter) -> text
CommFileGetTimeName() -> text
CommCodeUtf8ToUnicode(p_String, [p_IsNt = True]) -> text
CommCodeUnicodeToUtf8(strUnicode, [p_IsNt = True], [p_IsHtml = True]) -> text
CommGetTopicStr(p_String, p_StringLength) -> text
CommGetString(ByRef p_String, ByRef p_StringStart, ByRef p_StringLength) -> text
CommJoinChar(p_StrUrl) -> text
CommGetStringLength(p_String) -> 16-bit integer
CommGetStringLength2(p_String) -> 16-bit integer
CommGetStringLeft(p_String, p_StringLength) -> text
CommGetStringRight(p_String, p_StringLength) -> text
CommHtmlEncode(p_String) -> text
CommHtmlEncode2(p_String) -> text
CommHtmlUnEncode2(p_String) -> text
CommNoHtml(p_String) -> text
CommEncodeString2(p_String) -> text
CommEncodeString(p_String) -> text
CommUnEncodeString(p_String) -> text
CommBinaryToString(p_Binary) -> text
CommRsBinaryToString(p_Binary) -> text
CommMultiByteToBinary(p_MultiByte) -> variant
CommUrlEncode_GBToUtf8(p_String) -> text
CommUrlDecode_GBToUtf8(p_String) -> text
CommGetPyChar(p_String) -> text
CommGetPyString(p_String) -> text
CommGetQPyString(p_String) -> text
CommGetDate() -> text
CommPutDate(p_String) -> text
CommGetDateTime() -> text
CommPutDateTime(p_String) -> text
CommDateVB2VFP(p_VbDateString) -> text
CommDateVFP2VB(p_VfpDateString) -> text
CommGetIp(ByRef Request) -> text
CommGetFileSize(p_FileSize) -> text
CommStringToNumeric(p_String) -> currency
CommGetBirthdayFromPostcard(p_Postcard) -> text
CommGetSexFromPostcard(p_Postcard) -> text
CommMin(p_Val1, p_Val2) -> 64-bit float
CommMax(p_Val1, p_Val2) -> 64-bit float
CommTrimChar(p_Text, p_Characters) -> text
CommLTrimChar(p_Text, p_Characters) -> text
CommRTrimChar(p_Text, p_Characters) -> text
CommScriptNoInFrame() -> text
CommScriptNoInTop() -> text
CommScriptImage() -> text
CommScriptMouse(ByRef Request) -> text
CommScriptListMenu() -> text
CommScriptListMenuMove() -> text
CommScriptCheckForm(p_CheckList) -> text
CommScriptCheck() -> text
CommScriptCheckPostCard() -> text
CommScriptOpenWindow() -> text
CommScriptPopSelect() -> text
CommScriptPopWindow() -> text
CommScriptOnKeyDownDefault() -> text
CommScriptSwapImage() -> text
CommScriptShowDateAndTime([p_OtherShow = ""]) -> text
CommScriptShowProcessBar() -> text
CommAjaxGet() -> text
CommAjaxPost() -> text
CommScriptShowToolTipText() -> variant
CommShowDialogFrame(p_PopWidth, p_PopHeight, [p_Refresh = True], [p_DialogID = ""]) -> text
CommShowDialogFrameScript() -> text
CommShowDialogDivFrame(p_PopWidth, p_PopHeight, [p_Refresh = True], [p_DialogID = ""]) -> text
CommScriptScrollWindow() -> text
CommScriptScrollWindowFollow(ByRef p_Left) -> text
CommShowScrollWindowTitle([p_FontColor = "red"]) -> text
CommCloseWindowNoMessagebox() -> variant
CommCloseTopWindowNoMessagebox() -> variant
CommCloseWindowCurrent() -> variant
CommCloseWindowModal(p_IsRefresh) -> variant
CommShowErrorPage(ByRef Response, ByRef Rs, ByRef Conn, p_ErrorMessage, [p_CloseParent = False]) -> none
CommShowSuccess(p_SuccessMessage, p_Url) -> text
CommShowLogin(ByRef Response, ByRef Request, ByRef Server, p_Content, [p_ShowTitle = ""]) -> text
CommShowAbout(ByRef Response, ByRef Request, ByRef Server, p_Content, [p_ShowTitle = ""]) -> text
CommShowForm(ByRef Response, ByRef Request, ByRef Server, p_Width, p_Height, p_Content, [p_IsClose = False]) -> text
CommShowFormFileSelect(ByRef Response, ByRef Request, ByRef Server, p_SearchPath, p_SearchType) -> text
CommShowNoPage(ByRef Request, ByRef Rs) -> none
CommShowPage(ByRef Request, ByRef Rs, [SearchRequestList = ""]) -> text
CommShowSearchLeft(p_FormType, [p_Width = ""]) -> text
CommShowSearchRight(p_FormType) -> text
CommShowSelect(ByRef Request, p_ShowTitleType, p_TitleList) -> text
CommGetOrderString(ByRef Request, p_SortDefault, p_SortFieldList, p_SortDescFieldList, p_SearchKeyword, [p_TableName = ""]) -> text
CommShowColorLine(p_Width, p_Height, p_Color) -> text
CommShowEmptyLine(p_Height, [p_BgColor = ""]) -> text
CommShowNoRecord(ByRef p_ColspanNumber, [p_IsExcel = False], [p_NoRecordMessage = "没有符合条件的数据。"]) -> text
CommShowSpace(p_SpaceNumber) -> text
CommShowMessage(p_Title, p_Content, p_Url) -> variant
CommShowBar(ByRef p_SizeMax, ByRef p_SizeCurrent) -> text
CommClearCache(ByRef Response) -> none
CommOpenerRefresh() -> text
CommOpenerEditRefresh(p_ShowTitle, p_IsClose) -> text
CommDialogOpenerEditRefresh(p_ShowTitle, p_IsClose, [p_DialogID = ""], [p_DialogFrameID = ""]) -> text
CommShowExcelHeader() -> text
CommShowExcelTop(p_ColspanNumber, p_Title) -> text
CommShowExcelTableHeader(p_TableHeaderList, [p_Delimiter = "$"]) -> text
CommShowExcelBottom(p_ColspanNumber) -> text
CommShowExcel(ByRef Conn, ByRef Rs, ByRef Response, p_Title, p_ColCount, p_Content, [p_ContentHeader1 = ""], [p_ContentHeader2 = ""]) -> text
CommShowTitleTop(p_Dwmc, p_Title, p_ExcelUrl, p_ExcelAllow, p_PrintAllow, p_Width, p_OtherUrl, [p_LoginOutUrl = ""]) -> text
CommShowTitleHeader(p_Title, p_TitleAdd, p_titleOther) -> text
CommShowTitleSingle(p_Width, p_Title, p_Content) -> text
CommShowTableHeader(p_TableHeaderList, [p_Height = 30], [p_Class = "class =titlebg"]) -> text
CommShowTableHeaderEmpty(p_TableHeaderList) -> text
CommShowMenuMoveContent(p_Width, p_TitleHeight, p_Title, p_Scroll1, p_Scroll2, p_Content, p_Visible, [p_CanMove = True], [p_CanExpand = True]) -> text
CommShowTableDouble(p_TableWidth, p_BgColor, [p_BorderColor = "#C0C0C0"], [p_IsDouble = True], [p_IsTableFix = True]) -> text
CommShowFormLeft(p_Action, [p_FormName = "myform"], [p_FormID = "myform"], [p_OnKeyDownScript = "if (event.keyCode==13) {return false;}"], [p_OtherScript = ""]) -> text
CommShowHiddenInput(p_InputName, p_InputValue) -> text
CommShowTd(ByRef Conn, ByRef Rs, p_Type, p_Width, p_Height, p_ColSpan, p_Title, p_Name, p_Field, p_Pop_Allow, p_Pop_Field, p_State, p_Allow_Edit, p_Star, p_Title_Bgcolor, p_Value_Bgcolor, [p_TdTitle = ""], [p_DivHeight = 0], [p_EditorTemplate = ""], [p_AllowEmpty = 1]) -> text
CommShowTr(ByRef Conn, ByRef Rs, p_TrClass, p_Type, p_Width, p_Height, p_ColSpan, p_Title, p_Name, p_Field, p_Pop_Allow, p_Pop_Field, p_State, p_Allow_Edit, p_Star, p_Title_Bgcolor, p_Value_Bgcolor, [p_TdTitle = ""], [p_DivHeight = 0], [p_EditorTemplate = ""], [p_AllowEmpty = 1]) -> text
CommShowGridTr(p_CurrentRow, [p_Style = ""], [p_BgColor1 = "#eeeeff"], [p_BgColor2 = "#e5e5f9"], [p_BgColor3 = "#cceecc"], [p_Align = "center"]) -> text
CommShowHeader(p_TitleName, p_ExcelUrl, p_ExcelAllow, p_PrintAllow, p_TableWidth, p_OtherUrl) -> text
CommShowHeader1(p_Width, p_Title, p_Content) -> text
CommShowHeader2(p_Title, p_TitleAdd, p_titleOther) -> text
CommShowBox(p_Title, p_Content, [p_TitleBackColor = "#b5b6b5"], [p_TitleForeColor = "#ffffff"], [p_ContentBackColor = "#f7f7f7"], [p_ContentForeColor = "#000000"], [p_TitleAlign = "right"], [p_BottomImage = "../comm/image/orvel_line.asp"]) -> text
CommShowCalendar(ByRef Request, ByRef Conn, ByRef Rs, p_TableName, p_SqlAdd, p_HrefAdd, [p_CalendarBackColor = "#EEEEEE"], [p_CalendarHeaderBackColor = "#AAAAAA"], [p_CalendarWeekColor = "Pink"], [p_CalendarDayColor = "#DDDDDD"], [p_CalendarCurrentDayColor = "Yellow"], [p_CalendarTodayColor = "#DD9999"], [p_CalendarHeaderForeColor = "blue"]) -> text
CommShowTab([p_BgColor = ""]) -> text
CommShowTabAndContent([p_BgColor = ""], [ByRef p_ArrayTabTitle = ""], [ByRef p_ArrayTabContent = ""], [p_TabWeight = "97%"], [p_TabHeight = "360"]) -> text
CommShowWindowLostFile(ByRef Server, ByRef Conn, ByRef Rs, ByRef Response, p_FileList, [p_Dwmc = ""]) -> none
CommShowCopyRight(ByRef Conn, ByRef Rs, [p_ShowType = 2], [ByRef p_ShowLine = 1]) -> text
CommShowButton([p_ButtonType = "submit"], [p_ButtonName = "save"], [p_ButtonID = "save"], [p_ButtonCaption = "-=保存=-"], [p_ButtonClass = "button_image"], [p_ButtonScript = ""]) -> text
CommShowLoginButtons([p_ButtonEnable = True], [p_InfoCaption = "网络功能尚未开启"]) -> text
CommShowLoginInput([p_InputCaption = "用户名"], [p_InputName = "username"], [p_InputType = "text"], [p_InputEnable = True], [p_InputValue = ""], [p_InputPlaceHolder = ""], [p_InputOther = ""]) -> text
CommShowLoginDesktop(ByRef Conn, ByRef Rs, p_HeightChangeList, p_Title, p_ActionUrl, p_Content, [p_ManagerUrl = ""]) -> text
CommFileDownload(ByRef Response, ByRef Server, p_FileFullName, [p_CloseParent = False]) -> none
CommFileView(ByRef Server, ByRef Response, ByRef Request, p_CurrentFile, p_Act, [p_FileTitle = ""]) -> none
CommGetRemotefileUrl(ByRef Server, p_String, p_SavefilePath) -> text
CommSaveRemoteFile(ByRef Server, p_LocalFileName, p_RemoteFileUrl) -> none
CommFileUpload(ByRef Server, ByRef Request, p_UploadFileExt, p_UploadFileMaxSize, p_UploadFileSingleSize, p_UploadFilePath, [p_UploadFileRenameOption = 0], [p_UploadFileOverWrite = True], [p_UploadFileInfoList = ""]) -> text
CommTableChart1(ByRef p_TableArray, p_TableLeft, p_TableTop, p_Thickness, p_TableWidth, p_AllWidth, p_AllHeight, p_TableType) -> text
CommTableChart2(ByRef p_TableArray, p_TableLeft, p_TableTop, p_AllWidth, p_AllHeight, p_LineNumber) -> text
CommTableChart3(ByRef p_TableArray, p_TableLeft, p_TableTop, p_AllWidth, p_AllHeight, p_TableType) -> text
CommTableChart4(ByRef p_TableArray, p_TableLeft, p_TableTop, p_AllWidth, p_AllHeight, p_TableTitle, p_UnitXTitle, p_UnitYTitle) -> text
CommTableChartHeader() -> text
CommGraphiWithOwc(p_Categories, p_Values, p_SeriesCaption, p_GraphiType, p_ChartTitle, p_ScalingOrientation, p_GraphiOutType, p_GraphiWidth, p_GraphiHeight, p_GraphiFileFullName) -> 16-bit integer
CommShowFormatCj(ByRef Rs, p_SportsPubbb, p_JssjStyle, p_CjMc) -> text
CommShowFormatCj_Sub(ByRef Rs, p_SportsPubbb, p_JssjStyle, p_Tsjs, p_CurrentZdygs, p_CurrentBscj) -> text
CommShowListSub(ByRef Rs, p_SportsPubbb, p_BsJg, p_Sn, p_Sc, p_Zngy, p_PjlDf, p_PjlDfTt, p_JssjStyle, p_QyBwdy) -> text
CommShowWlcxItem(ByRef Rs, p_SportsPubbb, p_Count, p_JssjStyle, p_QyBwdy, p_Sc, p_BsJg) -> text
CommShowTitleSub_AgeItem(ByRef Request, ByRef Session, ByRef Conn, ByRef Rs, p_SjkMc, p_ZdMc, p_EditType, [p_OtherAddPara = ""]) -> text
CommShowTitleSub_Sex(p_Sex) -> text
CommShowTitleSub_Sc(p_ScS, p_Sc, p_EditType, [p_Zc = "0"]) -> text
CommShowTitleSub_Zc(p_Zc, p_ZcCount) -> text
CommShowTitleSub_AgeTeam(ByRef Conn, ByRef Rs, p_Age, p_Team) -> text
CommScriptOnKeyDown() -> text
CommWlbmTeamCheck(ByRef Request, ByRef Response, ByRef Conn, ByRef Rs, p_SportsYdybmTeamCheckType, p_SportsYdybmNumberPerTeam, p_SportsYdybmTeamNameLen) -> text
CommWlbmSave(ByRef Request, ByRef Response, ByRef Conn, ByRef Rs, p_SportsYdybmPlayerNumberPerTeam, p_SportsYdybmPlayerNumberPerItem, p_SportsYdybmItemNumberPerPlayer, p_SportsYdybmItemNumberPerPlayerFxb, p_SportsAddShowAllowList, [p_SportsCheckPostCardLevel = 0], [p_SportsCheckPostCardAge = 0], [p_SportsYdybmBirthDayCheck = 0], [p_SportsYdybmBirthDayMin = ""], [p_SportsYdybmBirthDayMax = ""], [p_SportsYdybmPlayerFgjl = 0], [p_SportsYdybmPowerFullAllow = 0], [p_SportsYdybmPowerFullAllowJB = 0], [p_SportsYdybmCheckItemNumberSytle = 0], [p_SportsHuheInclude = "混"]) -> none
CommWldfSave(ByRef Request, ByRef Conn, ByRef Rs, p_SportsPubbb, p_SportsBsbpJssjStyle, p_SportsBsbpJsPds, p_SportsBsbpJsPdList, p_SportsBsbpJsDcms, p_SportsBsbpJsPdZdyQy, p_SportsBsbpCpdsClfs, p_SportsBsbpTsPds, p_SportsBsbpTsDcms, p_SportsBsbpZcpPds, p_SportsBsbpZcpDcms, p_SportsBscjDfrs, ByRef p_SportsBscj, p_SportsBscjDfPjlAuto, p_SportsBscjDfPjl, p_SportsBscjDfPjlTt, p_SportsBscjDfPjlYs, p_SportsBscjDjfAuto, p_SportsBscjDjfYs, ByRef p_SportsBscjDjfFz, p_SportsBscjWcjjs, p_SportsBccsDfZdy, p_SportsBscsPowerStyle, p_SportsBscsYclx, p_SportsBwdyQy, p_SportsDscQy, p_SportsZjjsQy, p_SportsZjjsRs, p_SportsBsdjQy, p_SportsQqclfsQy, p_SportsBsfsQy, p_SportsBscjJylq, p_SportsBscjJylqNumber, p_SportsBscjJylqJrs, p_SportsBsbpFdjsQy, p_SportsBsbpFdjsList, p_SportsHuheInclude) -> variant
CommGetParaFromSexItem_TJ(p_Sex, p_Item) -> text
CommBsxxFenjie(ByRef Conn, p_Sql_Where, p_Sc, p_SportsPubbb) -> none
CommsGetBsFenjieXxString(p_Sc) -> text
)";

TEST(CatalogueTest, MatchesTheInterfaceWhole) {
  std::istringstream expected(kInterface);
  std::string line;
  size_t i = 0;
  const auto& table = arenix::Catalogue();
  while (std::getline(expected, line)) {
    ASSERT_LT(i, table.size()) << "missing from the catalogue: " << line;
    EXPECT_EQ(automation::ToUtf8(automation::DescribeMethod(table[i].decl)), line) << "position " << i;
    ++i;
  }
  EXPECT_EQ(i, 211u);
  EXPECT_EQ(table.size(), 211u);
}

// `arenix methods` prints each description on its method's line; a
// description copied to a second method is a description of the wrong one.
TEST(CatalogueTest, EveryMethodSaysWhatItDoesOnOneLineOfItsOwn) {
  std::set<automation::Text> seen;
  for (const auto& entry : arenix::Catalogue()) {
    const automation::Text& d = entry.decl.description;
    SCOPED_TRACE(automation::ToUtf8(entry.decl.name));
    EXPECT_FALSE(d.empty());
    EXPECT_NE(d, entry.decl.name);
    EXPECT_EQ(d.find_first_of(u"\r\n"), automation::Text::npos);
    EXPECT_TRUE(seen.insert(d).second) << "shared with an earlier method: " << automation::ToUtf8(d);
  }
}

TEST(CatalogueTest, EveryNameIsReachableIgnoringCase) {
  for (const auto& entry : arenix::Catalogue()) {
    EXPECT_EQ(arenix::FindMethod(entry.decl.name), &entry);
    EXPECT_EQ(arenix::FindMethod(automation::AsciiLower(entry.decl.name)), &entry);
  }
  EXPECT_EQ(arenix::FindMethod(u"CommNoSuchThing"), nullptr);
}

TEST(CatalogueTest, DefaultsHaveTheDeclaredType) {
  for (const auto& entry : arenix::Catalogue())
    for (const auto& p : entry.decl.params) {
      if (!p.optional || p.type == automation::ParamType::Variant) continue;
      EXPECT_EQ(automation::CoerceTo(p.type, p.default_value), p.default_value)
          << automation::ToUtf8(entry.decl.name) << "." << automation::ToUtf8(p.name);
    }
}

}  // namespace
