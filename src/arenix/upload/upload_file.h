// Orvel_Class_UploadFile: the multipart/form-data parser. A page (or
// CommFileUpload) makes one per request, sets Exe, MaxSize, SingleSize and
// CharSet, calls GetData with the request once, reads ErrorID and
// Description, and then the fields (Forms) and the file items (Files,
// Files_Muti, FileCount), which it saves with their own SavetoFile.
//
// The body is read from the host in chunks of 16384 bytes and kept once;
// items are offsets into it and are readable while the parser lives. Only
// header blocks and plain field values are decoded to text.
//
// A body that breaks the format (no line end after the delimiter, a header
// block without its end, a part without its closing delimiter, a body cut
// short) stops the parse with ErrorID 4; what was taken before stays.
//
// Not thread-safe: a parser belongs to one request thread.
#pragma once

#include <memory>

#include "arenix/upload/upload_item.h"
#include "arenix/upload/upload_rules.h"
#include "automation/object.h"
#include "platform/dictionary.h"
#include "platform/site.h"

namespace arenix::upload {

/// The chunk size of the body reads.
inline constexpr int32_t kReadChunk = 16384;

class Orvel_Class_UploadFile : public automation::Object, public platform::UsesSite {
 public:
  Orvel_Class_UploadFile();
  ~Orvel_Class_UploadFile() override;

  Text ClassName() const override { return u"Orvel_Class_UploadFile"; }
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  /// The site files are saved in when a save names no server object; the
  /// host's server object hands it over when it creates the parser.
  void UseSite(const platform::Site& site) override { *site_ = site; }

  // Settings.
  void SetMode(int32_t mode) { mode_ = mode; }
  void SetMaxSize(Variant v) { max_size_ = std::move(v); }
  void SetSingleSize(Variant v) { single_size_ = std::move(v); }
  void SetExe(TextView value) { exe_ = NormalizeExtensionList(value); }
  void SetCharSet(TextView value) { charset_ = Text(value); }
  const Text& exe() const { return exe_; }

  /// Reads and parses the request's body; the outcome is in error_id().
  void GetData(Variant& request);

  int32_t error_id() const { return error_id_; }
  Text Description() const;
  double total_size() const { return total_size_; }
  const Text& lost_time() const { return lost_time_; }
  const Text& key_separator() const { return key_separator_; }

  /// A field's value ("" when not posted), several joined by ",".
  Text Form(TextView name) const;
  /// The item under a name (the first file of a field, or a key from the
  /// table), or an empty item.
  Variant File(TextView name) const;
  Variant FileAt(TextView name, int32_t index) const;
  /// The tables, for enumeration.
  const std::shared_ptr<platform::Dictionary>& forms() const { return forms_; }
  const std::shared_ptr<platform::Dictionary>& files() const { return files_; }
  /// Saves the files of one field into a folder with generated names,
  /// overwriting; the number saved. `server` maps a path without a drive
  /// (with none, the path is used as it is).
  int32_t QuickSave(TextView name, TextView save_path, Variant* server);

 private:
  void Parse(const std::shared_ptr<Body>& body);

  std::shared_ptr<platform::Site> site_ = std::make_shared<platform::Site>();
  Variant Lookup(const Text& key) const;

  int32_t mode_ = 0;
  Variant max_size_{-1};
  Variant single_size_{-1};
  Text exe_;
  Text charset_ = u"GB2312";
  int32_t error_id_ = kNotParsed;
  double total_size_ = 0;
  Text lost_time_;
  Text key_separator_;
  double server_version_ = 6;
  std::shared_ptr<platform::Dictionary> forms_;
  std::shared_ptr<platform::Dictionary> files_;
  std::shared_ptr<Body> body_;  // kept in read mode 0
};

/// Registers "Arenix.Orvel_Class_UploadFile", "Arenix.Orvel_Class_UploadFileEx"
/// and "Arenix.Orvel_Class_UploadFileEmpty".
void RegisterUploadClasses();

}  // namespace arenix::upload
