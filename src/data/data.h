// The data access objects as the component sees them: a connection and
// record sets over the meet database. Procedures reach these interfaces
// through automation::ObjectCast on the page's `Conn` and `Rs` variants.
//
// Programmatic names: "Adodb.Connection" and "Adodb.RecordSet".
#pragma once

#include "automation/object.h"

namespace data {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// Cursor and lock types the component uses.
inline constexpr int kOpenKeyset = 1;
inline constexpr int kLockReadOnly = 1;

class Connection : public automation::Object {
 public:
  Text ClassName() const override { return u"Connection"; }

  /// Opens with "provider=vfpoledb;data source=DIR"; failures are errors.
  virtual void Open(TextView connection_string) = 0;
  /// Runs one statement. A query returns an open record set (a Variant
  /// holding it); anything else returns Empty and sets `records_affected`.
  virtual Variant Execute(TextView sql, int32_t* records_affected = nullptr) = 0;
  /// Closes; closing a closed connection is an error the caller may trap.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  /// The connection text (the object's default value; empty until given).
  virtual Text ConnectionString() const = 0;

  /// The default member is the connection text, as the platform's was.
  Variant Invoke(TextView name, automation::InvokeKind kind,
                 std::span<Variant* const> args) override;
  const automation::MemberTable* Members() const override;
};

class Recordset : public automation::Object {
 public:
  Text ClassName() const override { return u"Recordset"; }

  /// Runs a query on `connection` (a variant holding a Connection) and
  /// reads its rows; cursor type 1 gives a static keyset.
  virtual void Open(TextView sql, const Variant& connection, int cursor_type, int lock_type) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;

  virtual bool Eof() const = 0;
  virtual bool Bof() const = 0;
  virtual void MoveNext() = 0;
  virtual void MoveFirst() = 0;

  /// The current row's value of a field (names compare without case);
  /// 3021 at EOF or BOF, 3265 for an unknown name.
  virtual Variant Field(TextView name) const = 0;
  virtual Variant FieldAt(int index) const = 0;
  virtual int FieldCount() const = 0;
  virtual Text FieldName(int index) const = 0;

  virtual int32_t RecordCount() const = 0;
  virtual int32_t PageSize() const = 0;
  virtual void SetPageSize(int32_t rows) = 0;
  virtual int32_t PageCount() const = 0;
  /// Puts the cursor on the first row of a page (1 to PageCount).
  virtual void SetAbsolutePage(int32_t page) = 0;
  virtual int32_t AbsolutePage() const = 0;
};

}  // namespace data
