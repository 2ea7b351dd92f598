// Multipart bodies for the upload tests, and a page whose request carries
// one: the in-memory request with the method, content type and body set.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "arenix/upload/upload_file.h"
#include "host/memory_host.h"

namespace arenix::upload::testing {

using automation::Text;
using automation::Variant;

/// Builds a body part by part (bytes as given: GBK, UTF-8, binary).
class Multipart {
 public:
  explicit Multipart(std::string boundary = "----ArenixBoundary7MA4YWxkTrZu0gW")
      : boundary_(std::move(boundary)) {}
  Multipart& Field(const std::string& name, const std::string& value) {
    body_ += "--" + boundary_ + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" +
             value + "\r\n";
    return *this;
  }
  Multipart& File(const std::string& name, const std::string& filename, const std::string& content,
                  const std::string& type = "application/octet-stream") {
    body_ += "--" + boundary_ + "\r\nContent-Disposition: form-data; name=\"" + name +
             "\"; filename=\"" + filename + "\"\r\nContent-Type: " + type + "\r\n\r\n" + content + "\r\n";
    return *this;
  }
  /// A part with raw header lines.
  Multipart& Raw(const std::string& headers, const std::string& content) {
    body_ += "--" + boundary_ + "\r\n" + headers + "\r\n\r\n" + content + "\r\n";
    return *this;
  }
  std::string Body() const { return body_ + "--" + boundary_ + "--\r\n"; }
  std::string ContentType() const { return "multipart/form-data; boundary=" + boundary_; }

 private:
  std::string boundary_;
  std::string body_;
};

struct UploadPage {
  std::shared_ptr<host::MemoryRequest> request = std::make_shared<host::MemoryRequest>();
  Variant Request{automation::ObjectPtr(request)};

  explicit UploadPage(const std::string& body, const std::string& type =
                          "multipart/form-data; boundary=----ArenixBoundary7MA4YWxkTrZu0gW",
                      const char16_t* method = u"POST", const char16_t* software = u"Microsoft-IIS/6.0") {
    request->SetServerVariable(u"REQUEST_METHOD", method);
    request->SetServerVariable(u"HTTP_CONTENT_TYPE", automation::FromUtf8(type));
    request->SetServerVariable(u"SERVER_SOFTWARE", software);
    request->SetBody(automation::Bytes(body.begin(), body.end()));
  }
  UploadPage(const Multipart& m) : UploadPage(m.Body(), m.ContentType()) {}

  /// A parser with the settings already applied, after GetData.
  std::shared_ptr<Orvel_Class_UploadFile> Parse(const char16_t* exe = u"", double max = -1,
                                                double single = -1, const char16_t* charset = u"GB2312") {
    auto p = std::make_shared<Orvel_Class_UploadFile>();
    p->SetExe(exe);
    p->SetMaxSize(Variant(max));
    p->SetSingleSize(Variant(single));
    p->SetCharSet(charset);
    p->GetData(Request);
    return p;
  }
};

/// The item object a parser gives for a name (an empty item yields null).
inline Orvel_Class_UploadFileEx* Item(const Variant& v) {
  return automation::ObjectTryCast<Orvel_Class_UploadFileEx>(v);
}

inline std::string ItemBytes(const Variant& v) {
  auto b = Item(v)->GetBytes();
  return std::string(b.begin(), b.end());
}

}  // namespace arenix::upload::testing
