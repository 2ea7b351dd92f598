// The upload parser's small rules, in one place: the error numbers and their
// descriptions, the extension presets and the allow-list test, generated
// names, and the decoding of header and field bytes in a character set.
#pragma once

#include <cstdint>
#include <string_view>

#include "automation/text.h"

namespace arenix::upload {

using automation::Text;
using automation::TextView;

/// ErrorID values of GetData.
enum UploadError : int32_t {
  kNotParsed = -1,
  kComplete = 0,
  kTooLarge = 1,        // MaxSize exceeded (body or files together)
  kNotMultipartPost = 2,
  kDeniedExtension = 3,
  kMalformedBody = 4,   // no delimiter, no header end, a part without its delimiter
  kFileTooLarge = 5,    // SingleSize exceeded
  kNoBody = 6,
};

/// The text of an error number; `max_size`, `single_size` and `exe` are the
/// parser's settings that the texts quote.
Text ErrorDescription(int32_t error_id, double max_size, double single_size, TextView exe);

/// The stored form of an extension list: lower-cased, a preset word
/// ("pic", "office", ...) replaced by its list, otherwise "*." removed and
/// ";" turned into "|".
Text NormalizeExtensionList(TextView value);

/// True when the allow-list refuses an extension ("" and "*" allow all).
bool IsExtensionDenied(TextView exe, TextView extension);

/// True for the extensions of server pages (asp, asa, aspx, asax, php, in any
/// case): such files are never taken by an upload, whatever the allow-list
/// says, because the site would run them, and never sent by a download,
/// because that would show a page's source.
bool IsServerScriptExtension(TextView extension);

/// yyyymmddhhnnss of now followed by four random digits (18 characters).
Text MakeRandomName();

/// Bytes as text in a character set ("GB2312", "GBK", "UTF-8", or any name
/// iconv knows); an unknown set is read as GBK. Invalid bytes become "?"
/// (GBK) or U+FFFD (UTF-8).
Text DecodeBytes(std::string_view bytes, TextView charset);

/// "500.00B", "2.00KB", "3.00MB": two decimals with digit grouping.
Text SizeText(double size);

}  // namespace arenix::upload
