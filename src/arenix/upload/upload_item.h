// The uploaded item (Orvel_Class_UploadFileEx) and the empty item
// (Orvel_Class_UploadFileEmpty) that the parser hands out for a name with
// no file. An item holds no copy of its file: it reads Size bytes from
// offset Position of its own parser's body, and only while that parser
// lives (each item is tied to the body it was parsed from, so items of two
// parsers never read each other's bytes).
//
// Not thread-safe: an item belongs to the request thread of its parser.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "arenix/upload/body_buffer.h"
#include "automation/object.h"
#include "platform/site.h"

namespace arenix::upload {

using automation::Text;
using automation::TextView;
using automation::Variant;

class Orvel_Class_UploadFileEx : public automation::Object {
 public:
  Text ClassName() const override { return u"Orvel_Class_UploadFileEx"; }
  /// The properties (get and put; IsFile and Exception get only), SavetoFile
  /// and GetBytes.
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;

  /// Stores the file in `path` (physical, or mapped with the server object
  /// when its second character is not ":"; without a server object, within
  /// the parser's site), named by `option` (1 the
  /// client's name, -1 UserSetName + "." + Extend when set, else NewName),
  /// numbering "name(0).ext", "name(1).ext" ... when `overwrite` is false
  /// and the name is taken. False with Exception set when anything failed.
  bool SavetoFile(Variant& server, TextView path, int16_t option, bool overwrite);
  /// The item's bytes; raises when its parser's body is gone or was never
  /// kept (read mode other than 0).
  automation::Bytes GetBytes() const;
  /// The item's bytes as a view that keeps the body alive, or null.
  std::shared_ptr<const Body> body() const { return body_.lock(); }

  Variant Extend, Path, Exception, Value, Size{0}, Position, ContentType, UserSetName, FileName,
      LocalName, NewName, FormName{Text()};

  /// Set by the parser.
  void SetBody(std::weak_ptr<const Body> body) { body_ = std::move(body); }
  /// The parser's site: where SavetoFile may write when the caller passes
  /// no server object (set by the parser; shared, so a site the parser is
  /// given later still reaches the items it made before).
  void SetSite(std::shared_ptr<const platform::Site> site) { site_ = std::move(site); }

 private:
  std::weak_ptr<const Body> body_;
  std::shared_ptr<const platform::Site> site_;
};

class Orvel_Class_UploadFileEmpty : public automation::Object {
 public:
  Text ClassName() const override { return u"Orvel_Class_UploadFileEmpty"; }
  /// IsFile: false.
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;
};

}  // namespace arenix::upload
