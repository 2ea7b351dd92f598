// A list page's surroundings for the list tests: a request and response of
// the in-memory host, and a real free table in a temporary folder with a
// record set opened on it as pages open theirs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "arenix/frame/arenix_cls.h"
#include "automation/registry.h"
#include "data/data.h"
#include "host/memory_host.h"

namespace arenix::show::testing {

using automation::ObjectCast;
using automation::Text;
using automation::TextView;
using automation::Variant;

class ListDb {
 public:
  ListDb() {
    RegisterClasses();
    folder_ = std::filesystem::temp_directory_path() /
              ("arenix_lists_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    conn = Variant(automation::CreateObject(u"Adodb.Connection"));
    Connection().Open(u"provider=vfpoledb;data source=" + automation::FromUtf8(folder_.string()));
  }
  ~ListDb() {
    if (auto* c = automation::ObjectTryCast<data::Connection>(conn); c && c->IsOpen()) c->Close();
    std::filesystem::remove_all(folder_);
  }

  data::Connection& Connection() { return ObjectCast<data::Connection>(conn); }
  void Execute(TextView sql) { Connection().Execute(sql); }

  /// Table `people` with `rows` rows: id 1..rows, name "N<id>".
  void MakePeople(int rows) {
    Execute(u"CREATE TABLE people FREE (id I, name C(20), city C(20))");
    for (int i = 1; i <= rows; ++i) {
      const Text id = automation::FromUtf8(std::to_string(i));
      Execute(u"INSERT INTO people (id, name, city) VALUES (" + id + u", 'N" + id + u"', '北京')");
    }
  }

  /// A record set on `sql` with `page_size` rows a page.
  Variant Open(TextView sql, int page_size = 10) {
    Variant rs(automation::CreateObject(u"Adodb.RecordSet"));
    auto& records = ObjectCast<data::Recordset>(rs);
    records.Open(sql, conn, data::kOpenKeyset, data::kLockReadOnly);
    records.SetPageSize(page_size);
    return rs;
  }

  const std::filesystem::path& folder() const { return folder_; }

  Variant conn;

 private:
  std::filesystem::path folder_;
};

/// A request of the in-memory host with the given raw query.
struct ListRequest {
  explicit ListRequest(TextView query = u"") { request->SetQueryString(query); }
  std::shared_ptr<host::MemoryRequest> request = std::make_shared<host::MemoryRequest>();
  Variant var{automation::ObjectPtr(request)};
};

}  // namespace arenix::show::testing
