#include "arenix/upload/upload_item.h"

#include <limits>

#include "arenix/file/file_ops.h"
#include "automation/coerce.h"
#include "automation/runtime.h"
#include "host/host.h"
#include "platform/site_files.h"

namespace arenix::upload {

using automation::CStr;
using automation::EqualsNoCase;

namespace {

// A stored name must be one plain name: no folder part, not "." or "..".
bool IsPlainName(TextView name) {
  return !name.empty() && name != u"." && name != u".." &&
         name.find_first_of(u"\\/") == TextView::npos && name.find(u'\0') == TextView::npos;
}

// The item's bytes inside its body, checked against the body's length.
std::string_view Slice(const Body& body, const Variant& position, const Variant& size) {
  double pos = automation::CDbl(position), len = automation::CDbl(size);
  if (pos < 0 || len < 0 || pos + len > static_cast<double>(body.size()))
    throw automation::Error(automation::err::kSubscript);
  return {reinterpret_cast<const char*>(body.data()) + static_cast<size_t>(pos), static_cast<size_t>(len)};
}

}  // namespace

bool Orvel_Class_UploadFileEx::SavetoFile(Variant& server, TextView path_arg, int16_t option,
                                          bool overwrite) {
  Text failure;  // the last failure; every step runs regardless
  Text folder(path_arg);
  // The server's site, else the parser's; with neither, a site without
  // folders refuses every path.
  platform::Site site = site_ ? *site_ : platform::Site();
  if (auto* host_server = automation::ObjectTryCast<host::Server>(server)) {
    site = host_server->site();
    if (folder.size() < 2 || folder[1] != u':') folder = host_server->MapPath(folder);
  } else if (!site_ || site_->folders().empty()) {
    failure = automation::Error(automation::err::kObjectRequired).description();
  }
  folder = automation::Replace(folder, u"/", u"\\");
  if (folder.empty() || folder.back() != u'\\') folder += u'\\';
  if (!file::FolderCreate(site, folder)) failure = u"无法创建文件夹 " + folder;
  Path = Variant(folder);

  Text name;
  Text user = CStr(UserSetName);
  if (option == 1)
    name = CStr(LocalName);
  else if (option == -1 && !user.empty())
    name = user + u"." + CStr(Extend);
  else
    name = CStr(NewName);
  FileName = Variant(name);
  Text full = folder + name;
  if (!IsPlainName(name)) {
    failure = u"文件名无效 " + name;
  } else if (!overwrite) {
    size_t dot = name.find(u'.');
    Text base = dot == Text::npos ? name : name.substr(0, dot);
    Text ext = CStr(Extend);
    for (int n = 0; file::FileExist(site, full); ++n) {
      if (n == std::numeric_limits<int>::max()) {
        failure = u"无法找到可用的文件名 " + full;
        break;
      }
      name = base + u"(" + automation::FromAscii(std::to_string(n)) + u")" +
             (ext.empty() ? Text() : u"." + ext);
      full = folder + name;
      FileName = Variant(name);
    }
  }

  if (failure.empty() || IsPlainName(name)) {
    auto held = body_.lock();
    if (!held) {
      failure = u"上传的数据已不可用";
    } else {
      try {
        if (!platform::WriteBytes(site, full, Slice(*held, Position, Size), false))
          failure = u"无法写入文件 " + full;
      } catch (const automation::Error& e) {
        failure = e.description();
      }
    }
  }
  if (failure.empty()) return true;
  Exception = Variant(failure);
  return false;
}

automation::Bytes Orvel_Class_UploadFileEx::GetBytes() const {
  auto held = body_.lock();
  if (!held) throw automation::Error(automation::err::kObjectClosed, u"上传的数据已不可用");
  std::string_view bytes = Slice(*held, Position, Size);
  return automation::Bytes(bytes.begin(), bytes.end());
}

Variant Orvel_Class_UploadFileEx::Invoke(TextView name, automation::InvokeKind kind,
                                         std::span<Variant* const> args) {
  using automation::InvokeKind;
  struct Prop {
    const char16_t* name;
    Variant Orvel_Class_UploadFileEx::*member;
    bool writable;
  };
  static const Prop kProps[] = {
      {u"Extend", &Orvel_Class_UploadFileEx::Extend, true},
      {u"Path", &Orvel_Class_UploadFileEx::Path, true},
      {u"Exception", &Orvel_Class_UploadFileEx::Exception, false},
      {u"Value", &Orvel_Class_UploadFileEx::Value, true},
      {u"Size", &Orvel_Class_UploadFileEx::Size, true},
      {u"Position", &Orvel_Class_UploadFileEx::Position, true},
      {u"ContentType", &Orvel_Class_UploadFileEx::ContentType, true},
      {u"UserSetName", &Orvel_Class_UploadFileEx::UserSetName, true},
      {u"FileName", &Orvel_Class_UploadFileEx::FileName, true},
      {u"LocalName", &Orvel_Class_UploadFileEx::LocalName, true},
      {u"NewName", &Orvel_Class_UploadFileEx::NewName, true},
      {u"FormName", &Orvel_Class_UploadFileEx::FormName, true},
  };
  if (EqualsNoCase(name, u"IsFile")) {
    if (kind == InvokeKind::PropertyPut) automation::ThrowNoSuchMember(name);
    return Variant(true);
  }
  for (const auto& p : kProps) {
    if (!EqualsNoCase(name, p.name)) continue;
    if (kind == InvokeKind::PropertyPut) {
      if (!p.writable || args.empty()) automation::ThrowNoSuchMember(name);
      this->*p.member = *args.back();
      return Variant();
    }
    return this->*p.member;
  }
  if (kind != InvokeKind::PropertyPut && EqualsNoCase(name, u"SavetoFile")) {
    if (args.size() < 4) throw automation::Error(automation::err::kArgNotOptional);
    return Variant(SavetoFile(*args[0], CStr(*args[1]), automation::CInt(*args[2]),
                              automation::CBool(*args[3])));
  }
  if (kind != InvokeKind::PropertyPut && EqualsNoCase(name, u"GetBytes")) return Variant(GetBytes());
  automation::ThrowNoSuchMember(name);
}

Variant Orvel_Class_UploadFileEmpty::Invoke(TextView name, automation::InvokeKind kind,
                                            std::span<Variant* const> args) {
  if (kind != automation::InvokeKind::PropertyPut && EqualsNoCase(name, u"IsFile")) return Variant(false);
  automation::ThrowNoSuchMember(name);
}

}  // namespace arenix::upload
