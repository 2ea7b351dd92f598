// ArenixCls methods of the file services: path texts, file and folder
// operations, text files, backup, archives and URL opening.
#include "arenix/file/archive_methods.h"
#include "arenix/file/backup.h"
#include "arenix/file/file_ops.h"
#include "arenix/file/path_text.h"
#include "arenix/frame/arenix_cls.h"
#include "arenix/show/message.h"

namespace arenix {

Text ArenixCls::CommFileGetPath(Text p_String) { return file::FileGetPath(p_String); }
Text ArenixCls::CommFileGetName(Text p_String) { return file::FileGetName(p_String); }
Text ArenixCls::CommFileGetExt(Text p_String, uint8_t p_HasPoint) {
  return file::FileGetExt(p_String, p_HasPoint);
}
Text ArenixCls::CommFileGetFullName(Text p_String) { return file::FileGetFullName(p_String); }
Text ArenixCls::CommFileGetIcon(Text p_FileExt, Text p_IconExt, Text p_IconType) {
  return file::FileGetIcon(p_FileExt, p_IconExt, p_IconType);
}
int32_t ArenixCls::CommFileGetSize(Text p_FileName) { return file::FileGetSize(site_, p_FileName); }
bool ArenixCls::CommFolderExist(Text p_FolderName) { return file::FolderExist(site_, p_FolderName); }
bool ArenixCls::CommFolderCreate(Text p_FolderName) { return file::FolderCreate(site_, p_FolderName); }
bool ArenixCls::CommFolderDelete(Text p_FolderName) { return file::FolderDelete(site_, p_FolderName); }
int16_t ArenixCls::CommFolderRename(Text p_FolderNameOld, Text p_FolderNameNew) {
  return file::FolderRename(site_, p_FolderNameOld, p_FolderNameNew);
}
int16_t ArenixCls::CommFolderCopyMove(Text p_FolderNameSource, Text p_FolderNameDestination,
                                      Text p_CopyMoveModen, Text p_OverWriteModen) {
  return file::FolderCopyMove(site_, p_FolderNameSource, p_FolderNameDestination, p_CopyMoveModen,
                              p_OverWriteModen);
}
bool ArenixCls::CommFileExist(Text p_FileName) { return file::FileExist(site_, p_FileName); }
int16_t ArenixCls::CommFileRename(Text p_FileNameOld, Text p_FileNameNew) {
  return file::FileRename(site_, p_FileNameOld, p_FileNameNew);
}
bool ArenixCls::CommFileDelete(Text p_FileName) { return file::FileDelete(site_, p_FileName); }
bool ArenixCls::CommFileDeleteImage(Variant& Server, Text p_String) {
  return file::FileDeleteImage(Server, p_String);
}
int16_t ArenixCls::CommFileCopyMove(Text p_FileNameSource, Text p_FileNameDestination,
                                    Text p_CopyMoveModen, Text p_OverWriteModen) {
  return file::FileCopyMove(site_, p_FileNameSource, p_FileNameDestination, p_CopyMoveModen,
                            p_OverWriteModen);
}
bool ArenixCls::CommFileCreateEmptyTxt(Text p_FileFullName, Text p_OverWriteModen) {
  return file::FileCreateEmptyTxt(site_, p_FileFullName, p_OverWriteModen);
}
Text ArenixCls::CommSearchPathFile(Text p_SearchPath, int16_t p_SearchType) {
  return file::SearchPathFile(site_, p_SearchPath, p_SearchType);
}
bool ArenixCls::CommSaveToTextFile(Text p_FileFullName, Text p_String, uint8_t p_SaveModen) {
  return file::SaveToTextFile(site_, p_FileFullName, p_String, p_SaveModen);
}
Text ArenixCls::CommReadFromTextFile(Text p_FileFullName) {
  return file::ReadFromTextFile(site_, p_FileFullName);
}

// Response and Request are part of the interface but not used.
Text ArenixCls::CommFileBackup(Variant& Response, Variant& Request, Variant& Server,
                               Text p_TableList, uint8_t p_IsAutoBackup, Text p_BackupName,
                               Text p_BackUpPath) {
  return file::FileBackup(Server, p_TableList, p_IsAutoBackup, p_BackupName, p_BackUpPath);
}
// The archive methods answer with the script that tells the user
// "操作成功" or "操作失败" and reloads the window that opened the page.
namespace {
Text ArchiveResult(bool ok) { return show::OpenerEditRefresh(ok ? u"操作成功" : u"操作失败", 1); }
}  // namespace

Text ArenixCls::CommUnZipWithRar(Variant& Server, Text p_Path, Text p_File, Text p_Act) {
  return ArchiveResult(file::UnZipWithRar(Server, p_Path, p_File, p_Act));
}
Text ArenixCls::CommUnZipWithXceedZip(Variant& Server, Text p_Path, Text p_File, Text p_Act) {
  return ArchiveResult(file::UnZipWithXceedZip(Server, p_Path, p_File, p_Act));
}
bool ArenixCls::CommOpenUrl(Text p_Url) { return file::OpenUrl(p_Url); }

}  // namespace arenix
