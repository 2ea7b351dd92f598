#include "arenix/upload/upload_file.h"

#include <chrono>
#include <cstring>

#include "automation/coerce.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::upload {

using automation::CStr;
using automation::LCase;
using automation::ObjectPtr;
using automation::Trim;

namespace {

constexpr char16_t kVersion[] = u"OrvelAspUpload V13.01.16";

// Byte positions are 0-based here; npos when absent.
size_t Find(std::string_view hay, std::string_view needle, size_t from) {
  if (from > hay.size()) return std::string_view::npos;
  const void* p = ::memmem(hay.data() + from, hay.size() - from, needle.data(), needle.size());
  return p ? static_cast<size_t>(static_cast<const char*>(p) - hay.data()) : std::string_view::npos;
}

// The text between `start` and the next double quote; nothing when `start`
// is absent.
std::optional<Text> Quoted(const Text& header, TextView start, size_t* end = nullptr) {
  size_t at = header.find(start);
  if (at == Text::npos) return std::nullopt;
  size_t from = at + start.size();
  size_t quote = header.find(u'"', from);
  if (quote == Text::npos) quote = header.size();
  if (end) *end = quote;
  return header.substr(from, quote - from);
}

// The content type of a file part: the text after "Content-type:" (any
// case) from the file name's closing quote on, to the end of its line.
Text PartContentType(const Text& header, size_t from) {
  Text lower = automation::AsciiLower(header);
  size_t at = lower.find(u"content-type", from);
  if (at == Text::npos || at + 13 > header.size()) return Text();
  Text rest = header.substr(at + 13);
  size_t eol = rest.find_first_of(u"\r\n");
  return Trim(eol == Text::npos ? rest : rest.substr(0, eol));
}

Text NextFreeKey(const platform::Dictionary& table, const Text& key, const Text& separator) {
  size_t at = key.rfind(separator);
  Text prefix = key.substr(0, at + separator.size());
  int64_t n = automation::ParseNumber(key.substr(at + separator.size())).value_or(0);
  Text candidate;
  do {
    candidate = prefix + automation::FromAscii(std::to_string(++n));
  } while (table.Exists(candidate));
  return candidate;
}

}  // namespace

Orvel_Class_UploadFile::Orvel_Class_UploadFile()
    : key_separator_(u"_" + MakeRandomName() + u"_"),
      forms_(std::make_shared<platform::Dictionary>()),
      files_(std::make_shared<platform::Dictionary>()) {}

Orvel_Class_UploadFile::~Orvel_Class_UploadFile() {
  // Items a page still holds lose their free value and their contents.
  for (auto& [key, item] : files_->entries())
    if (auto* ex = automation::ObjectTryCast<Orvel_Class_UploadFileEx>(item)) ex->Value = Variant();
  forms_->RemoveAll();
  files_->RemoveAll();
}

Text Orvel_Class_UploadFile::Description() const {
  return ErrorDescription(error_id_, automation::CDbl(max_size_), automation::CDbl(single_size_), exe_);
}

void Orvel_Class_UploadFile::GetData(Variant& request_var) {
  auto started = std::chrono::steady_clock::now();
  host::Request& request = automation::ObjectCast<host::Request>(request_var);
  int32_t total = request.TotalBytes();
  if (total <= 0) {
    error_id_ = kNoBody;
    return;
  }
  Text method = LCase(Trim(request.ServerVariable(u"REQUEST_METHOD")));
  Text type = request.ServerVariable(u"HTTP_CONTENT_TYPE");
  if (type.empty()) type = request.ServerVariable(u"CONTENT_TYPE");
  type = LCase(type);
  Text kind = Trim(type.substr(0, type.find(u';')));
  if (method != u"post" || kind != u"multipart/form-data") {
    error_id_ = kNotMultipartPost;
    return;
  }
  Text software = automation::Replace(LCase(request.ServerVariable(u"SERVER_SOFTWARE")),
                                      u"microsoft-iis/", u"");
  if (auto v = automation::ParseNumber(software)) server_version_ = *v;
  double max_size = automation::CDbl(max_size_);
  if (server_version_ >= 6 && max_size > 0 && total > max_size) {
    error_id_ = kTooLarge;
    return;
  }

  auto body = Body::Make(static_cast<size_t>(total));
  if (mode_ == 0) {
    total_size_ = 0;
    int32_t read = 0;
    while (read < total) {
      automation::Bytes chunk = request.BinaryRead(std::min(kReadChunk, total - read));
      if (chunk.empty()) break;  // the client stopped sending
      size_t take = std::min(chunk.size(), static_cast<size_t>(total - read));
      body->Append(chunk.data(), take);
      read += static_cast<int32_t>(take);
    }
    body_ = body;
  } else {
    automation::Bytes all = request.BinaryRead(total);
    body->Append(all.data(), all.size());
  }
  Parse(body);
  if (error_id_ == kComplete) {
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    lost_time_ = automation::Format(Variant(ms), u"0.00");
  }
}

void Orvel_Class_UploadFile::Parse(const std::shared_ptr<Body>& body_ptr) {
  std::string_view body = body_ptr->view();
  const size_t n = body.size();
  size_t line_end = Find(body, "\r\n", 0);
  if (line_end == std::string_view::npos || line_end == 0) {
    error_id_ = kMalformedBody;
    return;
  }
  const std::string_view delimiter = body.substr(0, line_end);
  const size_t L = delimiter.size();
  const double single = automation::CDbl(single_size_);
  const double max_size = automation::CDbl(max_size_);
  size_t s = L + 1;  // the line feed that ends the delimiter line
  for (;;) {
    size_t h = Find(body, "\r\n\r\n", s);
    if (h == std::string_view::npos) {
      error_id_ = kMalformedBody;
      return;
    }
    Text header = DecodeBytes(body.substr(s, h - s), charset_);
    Text field = LCase(Quoted(header, u"name=\"").value_or(Text()));
    size_t d = Find(body, delimiter, h + 3);
    if (d == std::string_view::npos || d < h + 6) {
      error_id_ = kMalformedBody;
      return;
    }
    const size_t size = d - h - 6;
    const size_t offset = h + 4;
    size_t name_end = 0;
    if (auto client = Quoted(header, u"filename=\"", &name_end)) {
      if (!Trim(*client).empty()) {
        Text name = automation::Replace(*client, u"/", u"\\");
        name.erase(std::remove(name.begin(), name.end(), u'\0'), name.end());
        if (name == u"blob") name = MakeRandomName() + u".png";  // an image pasted in the browser
        name = name.substr(name.rfind(u'\\') == Text::npos ? 0 : name.rfind(u'\\') + 1);
        size_t dot = name.rfind(u'.');
        Text ext = dot == Text::npos ? Text() : name.substr(dot + 1);
        if (IsServerScriptExtension(ext) || (!exe_.empty() && IsExtensionDenied(exe_, ext))) {
          error_id_ = kDeniedExtension;
          return;
        }
        Text new_name = MakeRandomName() + u"." + ext;
        total_size_ += static_cast<double>(size);
        if (single > 0 && static_cast<double>(size) > single) {
          error_id_ = kFileTooLarge;
          return;
        }
        if (max_size > 0 && total_size_ > max_size) {
          error_id_ = kTooLarge;
          return;
        }
        Text key = field + key_separator_ + u"0";
        if (files_->Exists(key)) key = NextFreeKey(*files_, key, key_separator_);
        auto item = std::make_shared<Orvel_Class_UploadFileEx>();
        item->ContentType = Variant(PartContentType(header, name_end));
        item->Size = Variant(static_cast<double>(size));
        item->Position = Variant(static_cast<double>(offset));
        item->FormName = Variant(key);
        item->NewName = Variant(new_name);
        item->FileName = Variant(name);
        item->LocalName = Variant(name);
        item->Extend = Variant(new_name.substr(new_name.rfind(u'.') + 1));
        if (mode_ == 0) item->SetBody(body_ptr);
        item->SetSite(site_);
        files_->Add(key, Variant(ObjectPtr(item)));
      }
    } else {
      Text value = DecodeBytes(body.substr(offset, size), charset_);
      if (Variant* old = forms_->Find(field))
        *old = Variant(CStr(*old) + u"," + value);
      else
        forms_->Add(field, Variant(value));
    }
    s = d + L + 1;
    if (s + 3 >= n) {
      error_id_ = kComplete;
      return;
    }
  }
}

Text Orvel_Class_UploadFile::Form(TextView name) const {
  const Variant* v = forms_->Find(LCase(name));
  return v ? CStr(*v) : Text();
}

Variant Orvel_Class_UploadFile::Lookup(const Text& key) const {
  if (const Variant* v = files_->Find(key)) return *v;
  return Variant(ObjectPtr(std::make_shared<Orvel_Class_UploadFileEmpty>()));
}

Variant Orvel_Class_UploadFile::File(TextView name) const {
  if (Trim(name) == u"-1") return Variant(ObjectPtr(files_));
  if (name.find(key_separator_) != TextView::npos) return Lookup(Text(name));
  return Lookup(LCase(name) + key_separator_ + u"0");
}

Variant Orvel_Class_UploadFile::FileAt(TextView name, int32_t index) const {
  if (Trim(name) == u"-1") return Variant(ObjectPtr(files_));
  return Lookup(LCase(name) + key_separator_ + automation::FromAscii(std::to_string(index)));
}

int32_t Orvel_Class_UploadFile::QuickSave(TextView name, TextView save_path, Variant* server) {
  Text prefix = LCase(name) + key_separator_;
  Variant none;
  int32_t saved = 0;
  for (const auto& [key, value] : files_->entries()) {
    if (key.compare(0, prefix.size(), prefix) != 0) continue;
    auto* item = automation::ObjectTryCast<Orvel_Class_UploadFileEx>(value);
    if (!item) continue;
    Text path(save_path);
    // Without a server object the path is used as it is, within the site
    // the parser was given: give it a drive so that no mapping is attempted.
    if (!server && (path.size() < 2 || path[1] != u':')) path = u"C:" + path;
    if (item->SavetoFile(server ? *server : none, path, 0, true)) ++saved;
  }
  return saved;
}

namespace {
enum Member {
  kMode, kMaxSize, kSingleSize, kExe, kCharSet, kErrorId, kFileCount, kDescription, kVersionText, kTotalSize,
  kLostTime, kGetData, kGetSize, kForms, kFiles, kFilesMuti, kQuickSave
};
using automation::kGet;
using automation::kGetPut;
using automation::kMethod;
using automation::kPut;
const automation::MemberTable kMembers{
    {u"Mode", kMode, kPut, 0, 0},
    {u"MaxSize", kMaxSize, kGetPut, 0, 0},
    {u"SingleSize", kSingleSize, kGetPut, 0, 0},
    {u"Exe", kExe, kGetPut, 0, 0},
    {u"CharSet", kCharSet, kPut, 0, 0},
    {u"ErrorID", kErrorId, kGet, 0, 0},
    {u"FileCount", kFileCount, kGet, 0, 0},
    {u"Description", kDescription, kGet, 0, 0},
    {u"Version", kVersionText, kGet, 0, 0},
    {u"TotalSize", kTotalSize, kGet, 0, 0},
    {u"LostTime", kLostTime, kGet, 0, 0},
    {u"GetData", kGetData, kMethod, 1, 1},
    {u"GetSize", kGetSize, kMethod, 1, 1},
    {u"Forms", kForms, kGet, 1, 1},
    {u"Files", kFiles, kGet, 1, 1},
    {u"Files_Muti", kFilesMuti, kGet, 2, 2},
    {u"QuickSave", kQuickSave, kMethod, 2, 3},
};
}  // namespace

const automation::MemberTable* Orvel_Class_UploadFile::Members() const { return &kMembers; }

Variant Orvel_Class_UploadFile::Invoke(TextView name, automation::InvokeKind kind,
                                       std::span<Variant* const> args) {
  const int id = kMembers.Resolve(name, kind, args.size());
  if (kind == automation::InvokeKind::PropertyPut) {
    const Variant& v = *args.back();
    switch (id) {
      case kMode: mode_ = automation::CLng(v); break;
      case kMaxSize: max_size_ = v; break;
      case kSingleSize: single_size_ = v; break;
      case kExe: SetExe(CStr(v)); break;
      case kCharSet: charset_ = CStr(v); break;
    }
    return Variant();
  }
  switch (id) {
    case kMaxSize: return max_size_;
    case kSingleSize: return single_size_;
    case kExe: return Variant(exe_);
    case kErrorId: return Variant(error_id_);
    case kFileCount: return Variant(static_cast<int32_t>(files_->Count()));
    case kDescription: return Variant(Description());
    case kVersionText: return Variant(Text(kVersion));
    case kTotalSize: return Variant(total_size_);
    case kLostTime: return Variant(lost_time_);
    case kGetData:
      GetData(*args[0]);
      return Variant();
    case kGetSize: return Variant(SizeText(automation::CDbl(*args[0])));
    case kForms: {
      Text key = CStr(*args[0]);
      if (Trim(key) == u"-1") return Variant(ObjectPtr(forms_));
      return Variant(Form(key));
    }
    case kFiles: return File(CStr(*args[0]));
    case kFilesMuti: return FileAt(CStr(*args[0]), automation::CLng(*args[1]));
    case kQuickSave: return Variant(QuickSave(CStr(*args[0]), CStr(*args[1]), args.size() > 2 ? args[2] : nullptr));
  }
  automation::ThrowNoSuchMember(name);
}

void RegisterUploadClasses() {
  automation::RegisterClass(u"Arenix.Orvel_Class_UploadFile",
                            [] { return std::make_shared<Orvel_Class_UploadFile>(); });
  automation::RegisterClass(u"Arenix.Orvel_Class_UploadFileEx",
                            [] { return std::make_shared<Orvel_Class_UploadFileEx>(); });
  automation::RegisterClass(u"Arenix.Orvel_Class_UploadFileEmpty",
                            [] { return std::make_shared<Orvel_Class_UploadFileEmpty>(); });
}

}  // namespace arenix::upload
