#include "arenix/timing/timing_object.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "arenix/meet/result_entry_db.h"
#include "arenix/page/encode.h"
#include "arenix/timing/start_list_export.h"
#include "arenix/timing/timing_import.h"
#include "arenix/timing/timing_status.h"
#include "arenix/upload/upload_file.h"
#include "arenix/upload/upload_item.h"
#include "automation/coerce.h"
#include "automation/error.h"
#include "automation/member_table.h"
#include "automation/registry.h"
#include "automation/runtime.h"
#include "host/host.h"

namespace arenix::timing {

namespace {

using automation::CStr;
using automation::InvokeKind;
using automation::Text;
using automation::TextView;
using automation::Variant;
namespace fs = std::filesystem;

std::mutex settings_mutex;
TimingSettings& SharedSettings() {
  static TimingSettings s;
  return s;
}

TimingSettings CurrentSettings() {
  std::lock_guard lock(settings_mutex);
  return SharedSettings();
}

Text Arg(std::span<Variant* const> args, size_t i) {
  if (i >= args.size() || args[i]->IsEmpty() || args[i]->IsNull()) return {};
  return CStr(*args[i]);
}

std::vector<Text> Events(TextView joined) {
  std::vector<Text> out;
  for (const Text& e : automation::Split(joined, u"|"))
    if (!automation::Trim(e).empty()) out.push_back(automation::Trim(e));
  return out;
}

bool IsResultFile(const fs::directory_entry& entry) {
  std::error_code ec;
  if (!entry.is_regular_file(ec)) return false;
  std::string ext = entry.path().extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext == ".lif";
}

struct FolderFile {
  Text name;
  fs::path path;
  fs::file_time_type modified;
  uintmax_t size = 0;
};

// The result files of the folder, newest first, at most `limit`.
std::vector<FolderFile> FolderFiles(const TimingSettings& s) {
  std::vector<FolderFile> out;
  std::error_code ec;
  for (fs::directory_iterator it(s.folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsResultFile(*it)) continue;
    FolderFile f{automation::FromUtf8(it->path().filename().string()), it->path(), it->last_write_time(ec),
                 it->file_size(ec)};
    if (!ec) out.push_back(std::move(f));
    ec.clear();
  }
  std::sort(out.begin(), out.end(), [](const FolderFile& a, const FolderFile& b) {
    return a.modified != b.modified ? a.modified > b.modified : a.name < b.name;
  });
  if (out.size() > s.max_files_listed) out.resize(s.max_files_listed);
  return out;
}

Text ClockText(fs::file_time_type t) {
  const auto sys = std::chrono::time_point_cast<std::chrono::seconds>(
      t - fs::file_time_type::clock::now() + std::chrono::system_clock::now());
  const std::time_t tt = std::chrono::system_clock::to_time_t(sys);
  std::tm at{};
  localtime_r(&tt, &at);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d月%d日 %02d:%02d:%02d", at.tm_mon + 1, at.tm_mday, at.tm_hour, at.tm_min, at.tm_sec);
  return automation::FromUtf8(buf);
}

Text TooLarge(size_t limit) {
  return u"文件大于 " + automation::FromAscii(std::to_string(limit / 1024)) + u" KB，不是一组的计时结果";
}

Text Refused(TextView source, TextView why) {
  ImportPreview p;
  p.source = Text(source);
  p.error = Text(why);
  return PreviewHtml(p);
}

enum TimingMember { kPreview, kPreviewFile, kFiles, kWatching, kExport, kApplyStatus };
using automation::kMethod;
const automation::MemberTable kTimingMembers{
    {u"Preview", kPreview, kMethod, 4, 4},         {u"PreviewFile", kPreviewFile, kMethod, 4, 4},
    {u"Files", kFiles, kMethod, 0, 0},             {u"Watching", kWatching, kMethod, 0, 0},
    {u"Export", kExport, kMethod, 3, 3},           {u"ApplyStatus", kApplyStatus, kMethod, 3, 3},
};

class Timing : public automation::Object {
 public:
  Text ClassName() const override { return u"Timing"; }
  const automation::MemberTable* Members() const override { return &kTimingMembers; }

  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    const TimingSettings s = CurrentSettings();
    switch (kTimingMembers.Resolve(name, kind, args.size())) {
      case kPreview: return Variant(PreviewUpload(s, *args[0], *args[1], *args[2], Arg(args, 3)));
      case kPreviewFile: return Variant(PreviewFolderFile(s, Arg(args, 0), *args[1], *args[2], Arg(args, 3)));
      case kFiles: return Variant(FilesHtml(s));
      case kWatching: return Variant(!s.folder.empty());
      case kExport: {
        meet::WldfDb db(*args[0], *args[1]);
        const std::vector<TimingEvent> events = TimingEvents(db);
        const std::vector<ExportHeat> heats = ExportHeats(db, events);
        const Text what = automation::AsciiLower(automation::Trim(Arg(args, 2)));
        if (what == u"evt") return Variant(EventsText(heats));
        if (what == u"ppl") return Variant(PeopleText(heats));
        throw automation::Error(automation::err::kInvalidCall, u"导出的文件应为 evt 或 ppl");
      }
      case kApplyStatus: {
        meet::WldfDb db(*args[0], *args[1]);
        ApplyTimingStatus(automation::ObjectCast<host::Request>(*args[2]), db);
        return {};
      }
    }
    return Object::Invoke(name, kind, args);
  }

 private:
  static Text Preview(Variant& conn, Variant& rs, TextView source, std::string_view bytes, TextView events) {
    meet::WldfDb db(conn, rs);
    const std::unique_ptr<ImportPreview> p = PreviewImport(db, source, DecodeTimingBytes(bytes), Events(events));
    return PreviewHtml(*p);
  }

  static Text PreviewUpload(const TimingSettings& s, Variant& request, Variant& conn, Variant& rs, TextView events) {
    upload::Orvel_Class_UploadFile parser;
    parser.SetMaxSize(Variant(static_cast<double>(s.max_file_bytes) + 64 * 1024));  // the file and the form
    parser.GetData(request);
    if (parser.error_id() == upload::kTooLarge) return Refused(u"", TooLarge(s.max_file_bytes));
    if (parser.error_id() != upload::kComplete) return Refused(u"", parser.Description());
    Variant item = parser.File(u"lif");
    auto* file = dynamic_cast<upload::Orvel_Class_UploadFileEx*>(item.IsObject() ? item.object().get() : nullptr);
    if (file == nullptr) return Refused(u"", u"没有选择文件");
    const Text source = file->FileName.IsEmpty() ? Text() : CStr(file->FileName);
    const automation::Bytes bytes = file->GetBytes();
    if (bytes.empty()) return Refused(source, u"没有选择文件，或文件是空的");
    if (bytes.size() > s.max_file_bytes) return Refused(source, TooLarge(s.max_file_bytes));
    return Preview(conn, rs, source, {reinterpret_cast<const char*>(bytes.data()), bytes.size()}, events);
  }

  // A file is named by what the listing showed; the name is looked up in
  // the folder, never joined to a path, so no name reaches another folder.
  static Text PreviewFolderFile(const TimingSettings& s, TextView name, Variant& conn, Variant& rs, TextView events) {
    if (s.folder.empty()) return Refused(name, u"服务器没有设置计时文件夹");
    for (const FolderFile& f : FolderFiles(s)) {
      if (f.name != name) continue;
      if (f.size > s.max_file_bytes) return Refused(name, TooLarge(s.max_file_bytes));
      std::ifstream in(f.path, std::ios::binary);
      std::string bytes(s.max_file_bytes + 1, '\0');
      in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      bytes.resize(static_cast<size_t>(in.gcount()));
      if (bytes.size() > s.max_file_bytes) return Refused(name, TooLarge(s.max_file_bytes));
      return Preview(conn, rs, name, bytes, events);
    }
    return Refused(name, u"计时文件夹中没有这个文件");
  }

  static Text FilesHtml(const TimingSettings& s) {
    if (s.folder.empty()) return {};
    const std::vector<FolderFile> files = FolderFiles(s);
    if (files.empty()) return u"<p class=\"note\" id=\"timing-files\">计时文件夹中还没有结果文件（.lif）。</p>\n";
    Text out = u"<ul class=\"timing-files\" id=\"timing-files\">\n";
    for (const FolderFile& f : files)
      out += u"<li><a href=\"timing.asp?file=" + page::HtmlEscape(page::UrlQueryValue(f.name)) + u"\">" +
             page::HtmlEscape(f.name) + u"</a> <small>" + ClockText(f.modified) + u"</small></li>\n";
    return out + u"</ul>\n";
  }
};

}  // namespace

void ConfigureTiming(const TimingSettings& settings) {
  std::lock_guard lock(settings_mutex);
  SharedSettings() = settings;
}

void RegisterTimingClass() {
  automation::RegisterClass(u"Arenix.Timing", [] { return std::make_shared<Timing>(); });
}

}  // namespace arenix::timing
