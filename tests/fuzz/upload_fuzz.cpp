// Feeds arbitrary request bodies to the upload parser through a host that
// delivers them in pieces of random size (the first bytes of the input
// choose the sizes, the limits and the read mode). GetData must end with
// an error number of its table, never read outside the body, and every
// item it keeps must lie inside the body and read back exactly those bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "arenix/upload/upload_file.h"
#include "automation/coerce.h"
#include "host/memory_host.h"

namespace {

class ChunkedRequest : public host::MemoryRequest {
 public:
  ChunkedRequest(const uint8_t* sizes, size_t count) : sizes_(sizes, sizes + count) {}
  automation::Bytes BinaryRead(int32_t count) override {
    if (count > arenix::upload::kReadChunk) std::abort();  // the chunk limit holds
    int32_t want = count;
    if (!sizes_.empty()) want = std::min<int32_t>(count, 1 + sizes_[next_++ % sizes_.size()] * 67);
    return MemoryRequest::BinaryRead(want);
  }

 private:
  std::vector<uint8_t> sizes_;
  size_t next_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  const uint8_t flags = data[0];
  const size_t nsizes = data[1] % 8;
  if (size < 2 + nsizes) return 0;
  auto request = std::make_shared<ChunkedRequest>(data + 2, nsizes);
  const uint8_t* body = data + 2 + nsizes;
  const size_t body_size = size - 2 - nsizes;
  request->SetServerVariable(u"REQUEST_METHOD", u"POST");
  request->SetServerVariable(u"HTTP_CONTENT_TYPE", u"multipart/form-data; boundary=x");
  request->SetServerVariable(u"SERVER_SOFTWARE", flags & 1 ? u"Microsoft-IIS/5.0" : u"Microsoft-IIS/6.0");
  request->SetBody(automation::Bytes(body, body + body_size));
  automation::Variant r{automation::ObjectPtr(request)};

  arenix::upload::Orvel_Class_UploadFile parser;
  parser.SetMode(flags & 2 ? 1 : 0);
  if (flags & 4) parser.SetMaxSize(automation::Variant(static_cast<double>(body_size / 2)));
  if (flags & 8) parser.SetSingleSize(automation::Variant(16.0));
  if (flags & 16) parser.SetExe(u"pic");
  parser.SetCharSet(flags & 32 ? u"UTF-8" : u"GB2312");
  parser.GetData(r);
  int32_t id = parser.error_id();
  if (id != 0 && id != 1 && id != 2 && id != 3 && id != 4 && id != 5 && id != 6) std::abort();
  parser.Description();
  for (const auto& [key, value] : parser.files()->entries()) {
    auto* item = automation::ObjectTryCast<arenix::upload::Orvel_Class_UploadFileEx>(value);
    if (!item) std::abort();
    double pos = automation::CDbl(item->Position), len = automation::CDbl(item->Size);
    if (pos < 0 || len < 0 || pos + len > static_cast<double>(body_size)) std::abort();
    if (flags & 2) continue;  // read mode 1 keeps no body
    automation::Bytes bytes = item->GetBytes();
    if (!bytes.empty() && std::memcmp(bytes.data(), body + static_cast<size_t>(pos), bytes.size()) != 0)
      std::abort();
  }
  return 0;
}
