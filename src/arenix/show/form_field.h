// The form field renderer: the add, edit and view pages describe each field
// of a record in one call and get back a caption cell and a value cell of a
// two-column form table, with the input element for the field's type, its
// value from the page's record set, pick-lists from the lookup tables
// (Sjzd, BuMen, Part), client checks and the red required mark.
//
// Values read from the record set or a lookup table are encoded for the
// place they land in (attribute or text); everything the page passes in
// (captions, option lists, scripts, markup, a "$" literal) is written as given.
#pragma once

#include <cstdint>

#include "automation/text.h"
#include "automation/variant.h"

namespace arenix::show {

using automation::Text;
using automation::TextView;
using automation::Variant;

/// Field type codes of `FormField::type`.
enum FieldType : int16_t {
  kFieldText = 1,
  kFieldDate = 2,
  kFieldSelect = 3,
  kFieldCheckbox = 4,
  kFieldTextArea = 5,
  kFieldPassword = 6,
  kFieldRadio = 7,
  kFieldPickWindow = 8,
  kFieldClickText = 9,
  kFieldEditorFrame = 10,
  kFieldFilePreview = 11,
  kFieldFileSubmit = 12,
  kFieldChoices = 14,
  kFieldSuggest = 15,
  kFieldRichText = 16,
  kFieldRichTextMenu = 17,
  kFieldMarkup = 20,
  kFieldTextHidden = 21,
  kFieldDateToo = 200,
  kFieldColor = 400,
  kFieldDialog = 800,
};

/// Page states (the codes of the state guard).
enum FormState : int16_t { kStateNew = 1, kStateEdit = 2, kStateView = 3 };

/// One field as the page describes it; the members follow the method's
/// parameters from p_Type on.
struct FormField {
  int16_t type = kFieldText;
  int32_t width = 0;
  int32_t height = 0;
  int16_t col_span = 1;
  Text title;     // caption; empty: the field; "null": no caption cell; "allnull": no cells
  Text name;      // name and id of the element; empty: the field
  Text field;     // record-set field, or a "$" literal that is the value itself
  int16_t pop_allow = 0;
  Text pop_field;
  int16_t state = kStateNew;
  int16_t allow_edit = 1;
  Text star;
  Text title_bgcolor;
  Text value_bgcolor;
  Text td_title;
  int16_t div_height = 0;
  int16_t allow_empty = 1;
};

/// Caption cell and value cell of one field. `rs` is read at its current row
/// (only when the state needs the value); `conn` serves the lookup lists.
/// Fails with the engine's error for a field that is not in `rs` (3265, the
/// field named), a record set at its end (3021) or a rejected lookup query,
/// with 9 for a pick-window or dialog field whose pop field lacks its parts,
/// and with 13 for a check-box literal that is not a Boolean.
Text ShowTd(Variant& conn, Variant& rs, const FormField& field);

/// The same cells in one table row: "<tr " + tr_class + ">", or
/// "<tr class=tdbg align=center>" when tr_class is empty.
Text ShowTr(Variant& conn, Variant& rs, TextView tr_class, const FormField& field);

}  // namespace arenix::show
