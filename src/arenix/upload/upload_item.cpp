#include "arenix/upload/upload_item.h"

#include <limits>

#include "arenix/file/file_ops.h"
#include "automation/coerce.h"
#include "automation/member_table.h"
#include "automation/runtime.h"
#include "host/host.h"
#include "platform/sandboxed_files.h"

namespace arenix::upload {

using automation::CStr;

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

namespace {
using automation::kGet;
using automation::kGetPut;
using automation::kMethod;
// The fields a page reads and sets, in the order of kFieldMembers; the
// methods follow them.
enum Member {
  kExtend, kPath, kException, kValue, kSize, kPosition, kContentType, kUserSetName, kFileName, kLocalName,
  kNewName, kFormName, kIsFile, kSavetoFile, kGetBytes
};
constexpr Variant Orvel_Class_UploadFileEx::*kFieldMembers[] = {
    &Orvel_Class_UploadFileEx::Extend,      &Orvel_Class_UploadFileEx::Path,
    &Orvel_Class_UploadFileEx::Exception,   &Orvel_Class_UploadFileEx::Value,
    &Orvel_Class_UploadFileEx::Size,        &Orvel_Class_UploadFileEx::Position,
    &Orvel_Class_UploadFileEx::ContentType, &Orvel_Class_UploadFileEx::UserSetName,
    &Orvel_Class_UploadFileEx::FileName,    &Orvel_Class_UploadFileEx::LocalName,
    &Orvel_Class_UploadFileEx::NewName,     &Orvel_Class_UploadFileEx::FormName,
};
const automation::MemberTable kItemMembers{
    {u"Extend", kExtend, kGetPut, 0, 0},
    {u"Path", kPath, kGetPut, 0, 0},
    {u"Exception", kException, kGet, 0, 0},
    {u"Value", kValue, kGetPut, 0, 0},
    {u"Size", kSize, kGetPut, 0, 0},
    {u"Position", kPosition, kGetPut, 0, 0},
    {u"ContentType", kContentType, kGetPut, 0, 0},
    {u"UserSetName", kUserSetName, kGetPut, 0, 0},
    {u"FileName", kFileName, kGetPut, 0, 0},
    {u"LocalName", kLocalName, kGetPut, 0, 0},
    {u"NewName", kNewName, kGetPut, 0, 0},
    {u"FormName", kFormName, kGetPut, 0, 0},
    {u"IsFile", kIsFile, kGet, 0, 0},
    {u"SavetoFile", kSavetoFile, kMethod, 4, 4},
    {u"GetBytes", kGetBytes, kMethod, 0, 0},
};
const automation::MemberTable kEmptyMembers{{u"IsFile", kIsFile, kGet, 0, 0}};
}  // namespace

const automation::MemberTable* Orvel_Class_UploadFileEx::Members() const { return &kItemMembers; }

Variant Orvel_Class_UploadFileEx::Invoke(TextView name, automation::InvokeKind kind,
                                         std::span<Variant* const> args) {
  const int id = kItemMembers.Resolve(name, kind, args.size());
  if (id <= kFormName) {
    Variant Orvel_Class_UploadFileEx::*field = kFieldMembers[id];
    if (kind != automation::InvokeKind::PropertyPut) return this->*field;
    this->*field = *args.back();
    return Variant();
  }
  switch (id) {
    case kIsFile:
      return Variant(true);
    case kSavetoFile:
      return Variant(SavetoFile(*args[0], CStr(*args[1]), automation::CInt(*args[2]), automation::CBool(*args[3])));
    case kGetBytes:
      return Variant(GetBytes());
  }
  automation::ThrowNoSuchMember(name);
}

const automation::MemberTable* Orvel_Class_UploadFileEmpty::Members() const { return &kEmptyMembers; }

Variant Orvel_Class_UploadFileEmpty::Invoke(TextView name, automation::InvokeKind kind,
                                            std::span<Variant* const> args) {
  kEmptyMembers.Resolve(name, kind, args.size());
  return Variant(false);
}

}  // namespace arenix::upload
