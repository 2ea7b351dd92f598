// The web host's intrinsic objects as the component sees them: only the
// members that the component calls. A page passes them to a method as
// by-reference variants holding the object; procedures reach these
// interfaces through automation::ObjectCast, which raises 424 for anything
// else.
#pragma once

#include <vector>

#include "automation/object.h"
#include "host/url_form.h"
#include "platform/site.h"

namespace host {

using automation::Bytes;
using automation::Text;
using automation::TextView;
using automation::Variant;

class Request : public automation::Object {
 public:
  Text ClassName() const override { return u"IRequest"; }

  /// The raw query text ("a=1&b=%D6%D0"); empty when there is none.
  virtual Text QueryString() const = 0;
  /// The query's keys, each once, in request order.
  virtual std::vector<Text> QueryKeys() const = 0;
  /// A key's decoded query value (several values joined by ", "); empty
  /// when absent.
  virtual Text Query(TextView key) const = 0;
  /// The posted field's value; empty when absent.
  virtual Text Form(TextView key) const = 0;
  /// Every posted field by name, decoded in one pass: for a reader of many
  /// fields of one form (Form scans the whole form for each name).
  virtual UrlFields FormFields() const = 0;
  /// A server variable (name compared without case); empty when absent.
  virtual Text ServerVariable(TextView name) const = 0;
  /// The default item: the value from the query, the form, the cookies or
  /// the server variables, looked up in that order; empty when absent.
  virtual Text Item(TextView key) const = 0;
  /// The request body: its length, and up to `count` bytes of it from where
  /// the last read stopped.
  virtual int32_t TotalBytes() const = 0;
  virtual Bytes BinaryRead(int32_t count) = 0;
};

class Response : public automation::Object {
 public:
  Text ClassName() const override { return u"IResponse"; }

  /// Appends text to the output (encoded in the response's code page).
  virtual void Write(TextView text) = 0;
  /// Appends raw bytes to the output.
  virtual void BinaryWrite(const Bytes& bytes) = 0;
  /// Ends the response: nothing more reaches the client.
  virtual void End() = 0;
  virtual void Redirect(TextView url) = 0;
  virtual void AddHeader(TextView name, TextView value) = 0;
  virtual void SetContentType(TextView type) = 0;
  virtual void SetCharSet(TextView charset) = 0;
  virtual void SetBuffer(bool on) = 0;
  /// Discards the buffered output.
  virtual void Clear() = 0;
  virtual void Flush() = 0;
  /// Minutes until the page expires (-1: already expired).
  virtual void SetExpires(int32_t minutes) = 0;
  virtual void SetExpiresAbsolute(automation::Date when) = 0;
  virtual void SetCacheControl(TextView value) = 0;
};

class Server : public automation::Object {
 public:
  Text ClassName() const override { return u"IServer"; }
  /// Site-relative path ("/data") -> absolute path in the file system.
  virtual Text MapPath(TextView path) const = 0;
  /// The folders the file services may touch on this site's behalf: the
  /// root and whatever is mounted into the site.
  virtual const platform::Site& site() const = 0;
};

class Session : public automation::Object {
 public:
  Text ClassName() const override { return u"ISessionObject"; }
  /// The stored value of a key (Empty when absent); keys compare without case.
  virtual Variant Get(TextView key) const = 0;
  virtual void Set(TextView key, Variant value) = 0;
};

}  // namespace host
