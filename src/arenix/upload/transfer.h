// Moving files between the browser, the server's disk and other web
// servers: the upload service over the multipart parser, the download and
// view services, and the copying of remote pictures.
#pragma once

#include <cstdint>

#include "automation/variant.h"

namespace arenix::upload {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// Parses the request, saves every file into `path` and returns the file
/// records ("Success|client|stored|size$" or "Error|reason$"), "#", and the
/// values of the fields named in `info_list` joined by "|". Sizes in MB.
Text FileUpload(Variant& server, Variant& request, TextView exts, double max_mb, double single_mb,
                TextView path, int16_t rename_option, bool overwrite, TextView info_list);

/// The content type sent for an extension (lower case, no dot).
Text DownloadContentType(TextView ext);

/// Sends a file as an attachment, streamed from disk in pieces with a flush
/// after each, so that memory stays flat whatever the file's size. A
/// missing file, a server-script file or a failure before the first byte
/// gives the error page.
void FileDownload(Variant& response, Variant& server, TextView file_name, bool close_parent);

/// Redirects to the viewer for the file's type ("View"), downloads it
/// ("DownLoad"), or redirects to the file itself.
void FileView(Variant& server, Variant& response, Variant& request, TextView file, TextView act,
              TextView title);

/// Copies every remote picture address in `text` into `save_path` and puts
/// the local path in its place.
Text GetRemotefileUrl(Variant& server, TextView text, TextView save_path);

/// Fetches a URL and stores the response body in a file (replacing it);
/// raises when no response came or the file cannot be written.
void SaveRemoteFile(Variant& server, TextView local_name, TextView url);

}  // namespace arenix::upload
