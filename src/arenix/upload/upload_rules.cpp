#include "arenix/upload/upload_rules.h"

#include <iconv.h>

#include <cerrno>
#include <string>

#include "arenix/text/dates.h"
#include "automation/cp936.h"
#include "automation/runtime.h"

namespace arenix::upload {

using automation::Variant;

namespace {

struct Preset {
  const char16_t* word;
  const char16_t* list;
};

constexpr Preset kPresets[] = {
    {u"all", u"doc|docx|xls|xlsx|ppt|pptx|txt|rtf|jpg|jpeg|gif|bmp|png|swf|wav|wma|mid|mp3|wmv|asf|"
             u"avi|mpg|ram|rm|rmvb|ra|flv|mp4|rar|zip"},
    {u"office", u"doc|docx|xls|xlsx|ppt|pptx|txt|rtf|pdf"},
    {u"doc", u"doc|docx|xls|xlsx|ppt|pptx|txt|rtf|pdf"},
    {u"pic", u"jpg|jpeg|gif|bmp|png"},
    {u"flash", u"swf"},
    {u"audio", u"wav|wma|mid|mp3"},
    {u"video", u"wmv|asf|avi|mpg|wma|ram|rm|rmvb|ra|mp3|wav|mid|flv|mp4"},
    {u"wmv", u"wmv|asf|avi|mpg|wma"},
    {u"mp4", u"mp4|flv"},
    {u"mp3", u"mp3|wav"},
    {u"rm", u"ram|rm|rmvb|ra|mp3"},
    {u"zip", u"rar|zip"},
};

Text LimitText(double bytes) {
  return text::GetFileSize(automation::DoubleToText(bytes));
}

Text Iconv(std::string_view bytes, const std::string& charset) {
  iconv_t cd = ::iconv_open("UTF-16LE", charset.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return automation::FromGbk(bytes);
  std::string in(bytes);
  std::string out(in.size() * 4 + 4, '\0');
  char* ip = in.data();
  size_t il = in.size();
  char* op = out.data();
  size_t ol = out.size();
  while (il > 0) {
    if (::iconv(cd, &ip, &il, &op, &ol) != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) break;
    // An invalid or cut sequence: one "?" for its first byte.
    ++ip;
    --il;
    if (ol >= 2) {
      *op++ = '?';
      *op++ = 0;
      ol -= 2;
    }
  }
  ::iconv_close(cd);
  Text result;
  for (char* p = out.data(); p + 1 < op; p += 2)
    result.push_back(static_cast<char16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8)));
  return result;
}

}  // namespace

Text ErrorDescription(int32_t error_id, double max_size, double single_size, TextView exe) {
  switch (error_id) {
    case kComplete:
      return u"完成";
    case kTooLarge:
      return u"超出了最大容量(容许值为" + LimitText(max_size) + u")";
    case kNotMultipartPost:
      return u"Form中方式不对:Form一定要加上enctype=\"multipart/form-data\"属性,method属性值必须是post";
    case kDeniedExtension:
      return u"不允许上传该类文件(容许上传文件类型为:" + Text(exe) + u")";
    case kFileTooLarge:
      return u"超出了单文件最大容量(容许值为" + LimitText(single_size) + u")";
    case kNoBody:
      return u"未选择上传文件或上传文件不存在";
    default:
      return u"其他原因出错";
  }
}

Text NormalizeExtensionList(TextView value) {
  Text lower = automation::LCase(value);
  for (const auto& p : kPresets)
    if (lower == p.word) return p.list;
  return automation::Replace(automation::Replace(lower, u"*.", u""), u";", u"|");
}

bool IsExtensionDenied(TextView exe, TextView extension) {
  if (exe.empty() || exe == u"*") return false;
  Text ext = automation::LCase(extension);
  if (exe.find(u'|') == TextView::npos) return exe != ext;
  for (const Text& e : automation::Split(exe, u"|"))
    if (e == ext) return false;
  return true;
}

bool IsServerScriptExtension(TextView extension) {
  const Text ext = automation::LCase(extension);
  return ext == u"asp" || ext == u"asa" || ext == u"aspx" || ext == u"asax" || ext == u"php";
}

Text MakeRandomName() {
  automation::Randomize();
  int digits = static_cast<int>(automation::Rnd() * 10000) % 10000;
  Text four = automation::FromAscii(std::to_string(digits));
  return text::FileGetTimeName() + Text(4 - four.size(), u'0') + four;
}

Text DecodeBytes(std::string_view bytes, TextView charset) {
  if (bytes.empty()) return Text();
  Text cs = automation::LCase(automation::Trim(charset));
  if (cs == u"gb2312" || cs == u"gbk" || cs == u"cp936" || cs == u"gb18030" || cs.empty())
    return automation::FromGbk(bytes);
  if (cs == u"utf-8" || cs == u"utf8") return automation::FromUtf8(bytes);
  return Iconv(bytes, automation::ToUtf8(cs));
}

Text SizeText(double size) {
  auto fmt = [](double v) { return automation::FormatNumber(Variant(v), 2); };
  if (size < 1024) return fmt(size) + u"B";
  if (size < 1048576) return fmt(size / 1024) + u"KB";
  return fmt(size / 1048576) + u"MB";
}

}  // namespace arenix::upload
