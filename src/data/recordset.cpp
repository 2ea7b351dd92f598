#include "data/recordset.h"

#include "automation/coerce.h"
#include "automation/deadline.h"
#include "data/connection.h"
#include "data/data_errors.h"

namespace data {

using automation::EqualsNoCase;
using automation::InvokeKind;

namespace {

// Rs.Fields: the count and the values by name or position.
class FieldsCollection : public automation::Object {
 public:
  explicit FieldsCollection(std::shared_ptr<const StaticRecordset> rs) : rs_(std::move(rs)) {}
  Text ClassName() const override { return u"Fields"; }
  Variant Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) override {
    if (EqualsNoCase(name, u"Count")) return Variant(int32_t{rs_->FieldCount()});
    if ((name.empty() || EqualsNoCase(name, u"Item")) && args.size() == 1) return rs_->Item(*args[0]);
    return Object::Invoke(name, kind, args);
  }

 private:
  std::shared_ptr<const StaticRecordset> rs_;
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

void StaticRecordset::Load(foxsql::Rows rows) {
  if (open_) ThrowDataError(kObjectOpen);
  names_ = std::move(rows.names);
  rows_ = std::move(rows.rows);
  position_ = 0;
  open_ = true;
}

void StaticRecordset::Close() {
  RequireOpen();
  open_ = false;
  names_.clear();
  rows_.clear();
  position_ = 0;
}

void StaticRecordset::RequireOpen() const {
  if (!open_) ThrowDataError(kObjectClosed);
}

bool StaticRecordset::Eof() const {
  RequireOpen();
  return position_ >= static_cast<int64_t>(rows_.size());
}

bool StaticRecordset::Bof() const {
  RequireOpen();
  return position_ < 0 || rows_.empty();
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
  if (rows_.empty()) ThrowDataError(kNoCurrentRecord);
  position_ = 0;
}

void StaticRecordset::MoveLast() {
  RequireOpen();
  if (rows_.empty()) ThrowDataError(kNoCurrentRecord);
  position_ = static_cast<int64_t>(rows_.size()) - 1;
}

const std::vector<Variant>& StaticRecordset::Current() const {
  if (Eof() || Bof()) ThrowDataError(kNoCurrentRecord);
  return rows_[static_cast<size_t>(position_)];
}

Variant StaticRecordset::Field(TextView name) const {
  RequireOpen();
  for (size_t i = 0; i < names_.size(); ++i)
    if (EqualsNoCase(names_[i], name)) return Current()[i];
  ThrowDataError(kItemNotFound);
}

Variant StaticRecordset::FieldAt(int index) const {
  RequireOpen();
  if (index < 0 || index >= FieldCount()) ThrowDataError(kItemNotFound);
  return Current()[static_cast<size_t>(index)];
}

int StaticRecordset::FieldCount() const {
  RequireOpen();
  return static_cast<int>(names_.size());
}

Text StaticRecordset::FieldName(int index) const {
  RequireOpen();
  if (index < 0 || index >= FieldCount()) ThrowDataError(kItemNotFound);
  return names_[static_cast<size_t>(index)];
}

Variant StaticRecordset::Item(const Variant& key) const {
  if (key.IsString()) return Field(key.text());
  if (key.IsNumber()) return FieldAt(automation::CLng(key));
  ThrowDataError(kItemNotFound);
}

int32_t StaticRecordset::RecordCount() const {
  RequireOpen();
  return static_cast<int32_t>(std::min<size_t>(rows_.size(), INT32_MAX));
}

int32_t StaticRecordset::PageSize() const { return page_size_; }

void StaticRecordset::SetPageSize(int32_t rows) {
  if (rows < 1) ThrowDataError(kArgumentOutOfRange);
  page_size_ = rows;
}

int32_t StaticRecordset::PageCount() const {
  RequireOpen();
  return static_cast<int32_t>((rows_.size() + page_size_ - 1) / page_size_);
}

void StaticRecordset::SetAbsolutePage(int32_t page) {
  RequireOpen();
  if (page < 1 || page > PageCount()) ThrowDataError(kArgumentOutOfRange);
  position_ = static_cast<int64_t>(page - 1) * page_size_;
}

int32_t StaticRecordset::AbsolutePage() const {
  RequireOpen();
  if (rows_.empty()) return -1;
  if (Bof()) return -2;
  if (Eof()) return -3;
  return static_cast<int32_t>(position_ / page_size_ + 1);
}

Variant StaticRecordset::Invoke(TextView name, InvokeKind kind, std::span<Variant* const> args) {
  auto arg = [&](size_t i) -> const Variant* {
    return i < args.size() && !args[i]->IsEmpty() ? args[i] : nullptr;
  };
  bool put = kind == InvokeKind::PropertyPut;
  if (EqualsNoCase(name, u"Open")) {
    if (!arg(0) || !arg(1)) throw automation::Error(automation::err::kArgNotOptional);
    Open(automation::CStr(*arg(0)), *arg(1), arg(2) ? automation::CLng(*arg(2)) : 0,
         arg(3) ? automation::CLng(*arg(3)) : kLockReadOnly);
    return Variant();
  }
  if (EqualsNoCase(name, u"Close")) return Close(), Variant();
  if (EqualsNoCase(name, u"EOF")) return Variant(Eof());
  if (EqualsNoCase(name, u"BOF")) return Variant(Bof());
  if (EqualsNoCase(name, u"MoveNext")) return MoveNext(), Variant();
  if (EqualsNoCase(name, u"MoveFirst")) return MoveFirst(), Variant();
  if (EqualsNoCase(name, u"MovePrevious")) return MovePrevious(), Variant();
  if (EqualsNoCase(name, u"MoveLast")) return MoveLast(), Variant();
  if (EqualsNoCase(name, u"RecordCount")) return Variant(RecordCount());
  if (EqualsNoCase(name, u"PageCount")) return Variant(PageCount());
  if (EqualsNoCase(name, u"State")) return Variant(int32_t{open_ ? 1 : 0});
  if (EqualsNoCase(name, u"PageSize")) {
    if (!put) return Variant(PageSize());
    SetPageSize(automation::CLng(*args.back()));
    return Variant();
  }
  if (EqualsNoCase(name, u"AbsolutePage")) {
    if (!put) return Variant(AbsolutePage());
    SetAbsolutePage(automation::CLng(*args.back()));
    return Variant();
  }
  if (EqualsNoCase(name, u"Fields")) {
    if (args.size() == 1) return Item(*args[0]);
    RequireOpen();
    auto self = std::static_pointer_cast<const StaticRecordset>(weak_from_this().lock());
    if (!self) self = std::shared_ptr<const StaticRecordset>(std::shared_ptr<void>(), this);
    return Variant(automation::ObjectPtr(std::make_shared<FieldsCollection>(std::move(self))));
  }
  if ((name.empty() || EqualsNoCase(name, u"Item") || EqualsNoCase(name, u"Collect")) &&
      args.size() == 1 && !put)
    return Item(*args[0]);
  return Recordset::Invoke(name, kind, args);
}

}  // namespace data
