// ArenixCls methods of the HTTP file transfer: upload, download, view and
// remote files.
#include "arenix/frame/arenix_cls.h"
#include "arenix/upload/transfer.h"

namespace arenix {

void ArenixCls::CommFileDownload(Variant& Response, Variant& Server, Text p_FileFullName,
                                 bool p_CloseParent) {
  upload::FileDownload(Response, Server, p_FileFullName, p_CloseParent);
}

void ArenixCls::CommFileView(Variant& Server, Variant& Response, Variant& Request, Text p_CurrentFile,
                             Text p_Act, Text p_FileTitle) {
  upload::FileView(Server, Response, Request, p_CurrentFile, p_Act, p_FileTitle);
}

Text ArenixCls::CommGetRemotefileUrl(Variant& Server, Text p_String, Text p_SavefilePath) {
  return upload::GetRemotefileUrl(Server, p_String, p_SavefilePath);
}

void ArenixCls::CommSaveRemoteFile(Variant& Server, Text p_LocalFileName, Text p_RemoteFileUrl) {
  upload::SaveRemoteFile(Server, p_LocalFileName, p_RemoteFileUrl);
}

Text ArenixCls::CommFileUpload(Variant& Server, Variant& Request, Text p_UploadFileExt,
                               double p_UploadFileMaxSize, double p_UploadFileSingleSize,
                               Text p_UploadFilePath, int16_t p_UploadFileRenameOption,
                               bool p_UploadFileOverWrite, Text p_UploadFileInfoList) {
  return upload::FileUpload(Server, Request, p_UploadFileExt, p_UploadFileMaxSize,
                            p_UploadFileSingleSize, p_UploadFilePath, p_UploadFileRenameOption,
                            p_UploadFileOverWrite, p_UploadFileInfoList);
}

}  // namespace arenix
