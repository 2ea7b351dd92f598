#include "data/connection.h"

#include "automation/coerce.h"
#include "automation/member_table.h"
#include "data/data_errors.h"
#include "data/foxsql/database_pool.h"
#include "data/recordset.h"
#include "platform/paths.h"

namespace data {

using automation::EqualsNoCase;
using automation::InvokeKind;

namespace {

Text Trimmed(TextView s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == u' ' || s[b] == u'\t')) ++b;
  while (e > b && (s[e - 1] == u' ' || s[e - 1] == u'\t')) --e;
  return Text(s.substr(b, e - b));
}

// "key=value" pairs separated by ";"; a value may sit in quotes (and then
// hold ";").
std::vector<std::pair<Text, Text>> Pairs(TextView s) {
  std::vector<std::pair<Text, Text>> out;
  size_t i = 0;
  while (i < s.size()) {
    size_t eq = s.find(u'=', i);
    size_t semi = s.find(u';', i);
    if (eq == TextView::npos || (semi != TextView::npos && semi < eq)) {
      i = semi == TextView::npos ? s.size() : semi + 1;
      continue;
    }
    Text key = automation::AsciiLower(Trimmed(s.substr(i, eq - i)));
    size_t v = eq + 1;
    while (v < s.size() && s[v] == u' ') ++v;
    Text value;
    if (v < s.size() && (s[v] == u'"' || s[v] == u'\'')) {
      size_t close = s.find(s[v], v + 1);
      if (close == TextView::npos) close = s.size();
      value = Text(s.substr(v + 1, close - v - 1));
      semi = s.find(u';', close);
    } else {
      semi = s.find(u';', v);
      value = Trimmed(s.substr(v, (semi == TextView::npos ? s.size() : semi) - v));
    }
    out.emplace_back(std::move(key), std::move(value));
    i = semi == TextView::npos ? s.size() : semi + 1;
  }
  return out;
}

}  // namespace

Text DataSourceOf(TextView connection_string) {
  Text provider, source;
  bool has_source = false;
  for (auto& [key, value] : Pairs(connection_string)) {
    if (key == u"provider") provider = value;
    if (key == u"data source") {
      source = value;
      has_source = true;
    }
  }
  if (!EqualsNoCase(provider, u"vfpoledb") && !EqualsNoCase(provider, u"vfpoledb.1"))
    ThrowDataError(kProviderNotFound);
  if (!has_source || source.empty()) ThrowDataError(kArgumentOutOfRange);
  return source;
}

void FreeTableConnection::Open(TextView connection_string) {
  if (db_) ThrowDataError(kObjectOpen);
  // The connection keeps the text even when opening fails, as the
  // platform's did (the error page then knows it is a connection to close).
  connection_string_ = Text(connection_string);
  Text source = DataSourceOf(connection_string);
  db_ = foxsql::TakeDatabase(platform::NativePath(source));
}

FreeTableConnection::~FreeTableConnection() {
  if (!db_) return;
  trans_.reset();  // an open unit is undone before the connection is kept
  foxsql::GiveBackDatabase(std::move(db_));
}

Variant FreeTableConnection::Execute(TextView sql, int32_t* records_affected) {
  foxsql::Outcome out = database().Run(sql);
  if (out.query) {
    if (records_affected) *records_affected = -1;
    auto rs = std::make_shared<StaticRecordset>();
    rs->Load(std::move(out.rows));
    return Variant(automation::ObjectPtr(rs));
  }
  if (records_affected)
    *records_affected = static_cast<int32_t>(std::min<int64_t>(out.affected, INT32_MAX));
  return Variant();
}

void FreeTableConnection::Close() {
  if (!db_) ThrowDataError(kObjectClosed);
  trans_.reset();  // an open unit is undone
  foxsql::GiveBackDatabase(std::move(db_));
}

namespace {

[[noreturn]] void ThrowNoUnit(const char16_t* what) {
  throw automation::Error(3219, what);
}

}  // namespace

int32_t FreeTableConnection::BeginTrans() {
  foxsql::Database& db = database();
  if (trans_) ThrowNoUnit(u"BeginTrans: a transaction is already open on this connection");
  trans_ = std::make_unique<dbf::WriteUnit>(db.folder());
  return 1;
}

void FreeTableConnection::CommitTrans() {
  if (!trans_) ThrowNoUnit(u"CommitTrans: no transaction is open");
  auto unit = std::move(trans_);
  unit->Commit();
}

void FreeTableConnection::RollbackTrans() {
  if (!trans_) ThrowNoUnit(u"RollbackTrans: no transaction is open");
  auto unit = std::move(trans_);
  unit->RollBack();
}

foxsql::Database& FreeTableConnection::database() {
  if (!db_) ThrowDataError(kObjectClosed);
  return *db_;
}

namespace {
enum Member { kOpen, kExecute, kClose, kState, kConnectionString, kBeginTrans, kCommitTrans, kRollbackTrans };
using automation::kGet;
using automation::kGetPut;
using automation::kMethod;
// Open(text, user, password, options) and Execute(sql, affected, options):
// the words after the first are accepted and, bar the count, unused.
const automation::MemberTable kMembers{
    {u"Open", kOpen, kMethod, 0, 4},
    {u"Execute", kExecute, kMethod, 1, 3},
    {u"Close", kClose, kMethod, 0, 0},
    {u"State", kState, kGet, 0, 0},
    {u"", kConnectionString, kGet, 0, 0},
    {u"ConnectionString", kConnectionString, kGetPut, 0, 0},
    {u"BeginTrans", kBeginTrans, kMethod, 0, 0},
    {u"CommitTrans", kCommitTrans, kMethod, 0, 0},
    {u"RollbackTrans", kRollbackTrans, kMethod, 0, 0},
};
}  // namespace

const automation::MemberTable* FreeTableConnection::Members() const { return &kMembers; }

Variant FreeTableConnection::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  const int id = kMembers.Resolve(name, kind, args.size());
  auto arg = [&](size_t i) -> const Variant* {
    return i < args.size() && !args[i]->IsEmpty() ? args[i] : nullptr;
  };
  if (kind == InvokeKind::PropertyPut) {
    if (db_) ThrowDataError(kObjectOpen);
    connection_string_ = automation::CStr(*args.back());
    return Variant();
  }
  switch (id) {
    case kOpen:
      Open(arg(0) ? automation::CStr(*arg(0)) : connection_string_);
      return Variant();
    case kExecute: {
      if (!arg(0)) throw automation::Error(automation::err::kArgNotOptional);
      int32_t affected = 0;
      Variant result = Execute(automation::CStr(*arg(0)), &affected);
      if (args.size() > 1) *args[1] = Variant(affected);
      return result;
    }
    case kClose:
      Close();
      return Variant();
    case kState:
      return Variant(int32_t{IsOpen() ? 1 : 0});
    case kConnectionString:
      return Variant(ConnectionString());
    case kBeginTrans:
      return Variant(BeginTrans());
    case kCommitTrans:
      CommitTrans();
      return Variant();
    case kRollbackTrans:
      RollbackTrans();
      return Variant();
  }
  return Connection::Invoke(name, kind, args);
}

}  // namespace data
