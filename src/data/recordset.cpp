#include "data/recordset.h"

#include "automation/coerce.h"
#include "automation/deadline.h"
#include "automation/member_table.h"
#include "data/connection.h"
#include "data/data_errors.h"
#include "data/limits.h"

namespace data {

using automation::EqualsNoCase;
using automation::InvokeKind;

namespace {

using automation::kGet;
using automation::kGetPut;
using automation::kMethod;

// Rs.Fields: the count and the values by name or position.
enum FieldsMember { kFieldCount, kFieldItem };
const automation::MemberTable kFieldsMembers{
    {u"Count", kFieldCount, kGet, 0, 0}, {u"", kFieldItem, kGet, 1, 1}, {u"Item", kFieldItem, kGet, 1, 1}};

class FieldsCollection : public automation::Object {
 public:
  explicit FieldsCollection(std::shared_ptr<const StaticRecordset> rs) : rs_(std::move(rs)) {}
  Text ClassName() const override { return u"Fields"; }
  const automation::MemberTable* Members() const override { return &kFieldsMembers; }
  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    if (kFieldsMembers.Resolve(name, kind, args.size()) == kFieldCount) return Variant(int32_t{rs_->FieldCount()});
    return rs_->Item(*args[0]);
  }

 private:
  std::shared_ptr<const StaticRecordset> rs_;
};

enum Member {
  kOpen, kClose, kEof, kBof, kMoveNext, kMoveFirst, kMovePrevious, kMoveLast, kRecordCount, kPageCount, kState,
  kPageSize, kAbsolutePage, kFields, kItem
};
// Open(source, connection, cursor type, lock type, options): the options
// are accepted and unused.
const automation::MemberTable kMembers{
    {u"Open", kOpen, kMethod, 2, 5},
    {u"Close", kClose, kMethod, 0, 0},
    {u"EOF", kEof, kGet, 0, 0},
    {u"BOF", kBof, kGet, 0, 0},
    {u"MoveNext", kMoveNext, kMethod, 0, 0},
    {u"MoveFirst", kMoveFirst, kMethod, 0, 0},
    {u"MovePrevious", kMovePrevious, kMethod, 0, 0},
    {u"MoveLast", kMoveLast, kMethod, 0, 0},
    {u"RecordCount", kRecordCount, kGet, 0, 0},
    {u"PageCount", kPageCount, kGet, 0, 0},
    {u"State", kState, kGet, 0, 0},
    {u"PageSize", kPageSize, kGetPut, 0, 0},
    {u"AbsolutePage", kAbsolutePage, kGetPut, 0, 0},
    {u"Fields", kFields, kGet, 0, 1},
    {u"", kItem, kGet, 1, 1},
    {u"Item", kItem, kGet, 1, 1},
    {u"Collect", kItem, kGet, 1, 1},
};

}  // namespace

void StaticRecordset::Open(TextView sql, const Variant& connection, int, int) {
  if (open_) ThrowDataError(kObjectOpen);
  foxsql::Outcome out;
  if (auto* conn = automation::ObjectTryCast<FreeTableConnection>(connection)) {
    out = conn->database().Run(sql);
  } else if (connection.IsString()) {
    FreeTableConnection own;
    own.Open(connection.text());
    out = own.database().Run(sql);
  } else {
    ThrowDataError(kConnectionInvalid);
  }
  if (out.query) Load(std::move(out.rows));
}

void StaticRecordset::Load(foxsql::Rows rows) { Load(std::make_shared<const foxsql::Rows>(std::move(rows))); }

void StaticRecordset::Load(std::shared_ptr<const foxsql::Rows> rows) {
  if (open_) ThrowDataError(kObjectOpen);
  set_ = rows ? std::move(rows) : foxsql::NoRows();
  columns_.clear();
  position_ = 0;
  open_ = true;
}

void StaticRecordset::Close() {
  RequireOpen();
  open_ = false;
  set_ = foxsql::NoRows();
  columns_.clear();
  position_ = 0;
}

void StaticRecordset::RequireOpen() const {
  if (!open_) ThrowDataError(kObjectClosed);
}

bool StaticRecordset::Eof() const {
  RequireOpen();
  return position_ >= static_cast<int64_t>(rows().size());
}

bool StaticRecordset::Bof() const {
  RequireOpen();
  return position_ < 0 || rows().empty();
}

void StaticRecordset::MoveNext() {
  if (Eof()) ThrowDataError(kNoCurrentRecord);
  automation::CheckDeadline();  // a native loop over many rows stops with its page
  ++position_;
}

void StaticRecordset::MovePrevious() {
  if (Bof()) ThrowDataError(kNoCurrentRecord);
  --position_;
}

void StaticRecordset::MoveFirst() {
  RequireOpen();
  if (rows().empty()) ThrowDataError(kNoCurrentRecord);
  position_ = 0;
}

void StaticRecordset::MoveLast() {
  RequireOpen();
  if (rows().empty()) ThrowDataError(kNoCurrentRecord);
  position_ = static_cast<int64_t>(rows().size()) - 1;
}

const std::vector<Variant>& StaticRecordset::Current() const {
  if (Eof() || Bof()) ThrowDataError(kNoCurrentRecord);
  return rows()[static_cast<size_t>(position_)];
}

Variant StaticRecordset::Field(TextView name) const {
  RequireOpen();
  if (auto found = columns_.find(name); found != columns_.end()) return Current()[found->second];
  const std::vector<Text>& names = set_->names;
  for (size_t i = 0; i < names.size(); ++i) {
    if (!EqualsNoCase(names[i], name)) continue;
    // Spellings are few (those a page writes); the bound only stops a
    // page that makes up new ones from growing the set without end.
    if (columns_.size() < limits::kFieldSpellingsKept) columns_.emplace(Text(name), i);
    return Current()[i];
  }
  ThrowDataError(kItemNotFound);
}

Variant StaticRecordset::FieldAt(int index) const {
  RequireOpen();
  if (index < 0 || index >= FieldCount()) ThrowDataError(kItemNotFound);
  return Current()[static_cast<size_t>(index)];
}

int StaticRecordset::FieldCount() const {
  RequireOpen();
  return static_cast<int>(set_->names.size());
}

Text StaticRecordset::FieldName(int index) const {
  RequireOpen();
  if (index < 0 || index >= FieldCount()) ThrowDataError(kItemNotFound);
  return set_->names[static_cast<size_t>(index)];
}

Variant StaticRecordset::Item(const Variant& key) const {
  if (key.IsString()) return Field(key.text());
  if (key.IsNumber()) return FieldAt(automation::CLng(key));
  ThrowDataError(kItemNotFound);
}

int32_t StaticRecordset::RecordCount() const {
  RequireOpen();
  return static_cast<int32_t>(std::min<size_t>(rows().size(), INT32_MAX));
}

int32_t StaticRecordset::PageSize() const { return page_size_; }

void StaticRecordset::SetPageSize(int32_t rows) {
  if (rows < 1) ThrowDataError(kArgumentOutOfRange);
  page_size_ = rows;
}

int32_t StaticRecordset::PageCount() const {
  RequireOpen();
  return static_cast<int32_t>((rows().size() + page_size_ - 1) / page_size_);
}

void StaticRecordset::SetAbsolutePage(int32_t page) {
  RequireOpen();
  if (page < 1 || page > PageCount()) ThrowDataError(kArgumentOutOfRange);
  position_ = static_cast<int64_t>(page - 1) * page_size_;
}

int32_t StaticRecordset::AbsolutePage() const {
  RequireOpen();
  if (rows().empty()) return -1;
  if (Bof()) return -2;
  if (Eof()) return -3;
  return static_cast<int32_t>(position_ / page_size_ + 1);
}

const automation::MemberTable* StaticRecordset::Members() const { return &kMembers; }

Variant StaticRecordset::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  const int id = kMembers.Resolve(name, kind, args.size());
  auto arg = [&](size_t i) -> const Variant* {
    return i < args.size() && !args[i]->IsEmpty() ? args[i] : nullptr;
  };
  if (kind == InvokeKind::PropertyPut) {
    const int32_t value = automation::CLng(*args.back());
    if (id == kPageSize) SetPageSize(value);
    if (id == kAbsolutePage) SetAbsolutePage(value);
    return Variant();
  }
  switch (id) {
    case kOpen:
      if (!arg(0) || !arg(1)) throw automation::Error(automation::err::kArgNotOptional);
      Open(automation::CStr(*arg(0)), *arg(1), arg(2) ? automation::CLng(*arg(2)) : 0,
           arg(3) ? automation::CLng(*arg(3)) : kLockReadOnly);
      return Variant();
    case kClose: return Close(), Variant();
    case kEof: return Variant(Eof());
    case kBof: return Variant(Bof());
    case kMoveNext: return MoveNext(), Variant();
    case kMoveFirst: return MoveFirst(), Variant();
    case kMovePrevious: return MovePrevious(), Variant();
    case kMoveLast: return MoveLast(), Variant();
    case kRecordCount: return Variant(RecordCount());
    case kPageCount: return Variant(PageCount());
    case kState: return Variant(int32_t{open_ ? 1 : 0});
    case kPageSize: return Variant(PageSize());
    case kAbsolutePage: return Variant(AbsolutePage());
    case kFields: {
      if (args.size() == 1) return Item(*args[0]);
      RequireOpen();
      auto self = std::static_pointer_cast<const StaticRecordset>(weak_from_this().lock());
      if (!self) self = std::shared_ptr<const StaticRecordset>(std::shared_ptr<void>(), this);
      return Variant(automation::ObjectPtr(std::make_shared<FieldsCollection>(std::move(self))));
    }
    case kItem: return Item(*args[0]);
  }
  return Recordset::Invoke(name, kind, args);
}

}  // namespace data
