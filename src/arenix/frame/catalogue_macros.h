// The vocabulary of catalogue.def.
//
//   ARENIX_METHOD(Name, result, description, params)
//     result: a type word or `none`; description: a narrow string literal,
//     one line of English saying what the method does;
//     params: a sequence (no commas between them) of
//       ARG(name, type)                 required, by value
//       OPT(name, type, default)        optional, by value
//       REF(name)                       required variant by reference
//       REFT(name, type)                required typed by reference
//       OPTREF(name, default)           optional variant by reference
//       OPTREFT(name, type, default)    optional typed by reference
//     or NO_PARAMS.
//   type words: text boolean int16 int32 float64 currency byte variant bytes
//
// A file that includes catalogue.def first defines ARENIX_METHOD and the
// six parameter macros for its purpose, then includes catalogue_undef.h.
#pragma once

#include <cstdint>

#include "automation/dispatch.h"
#include "automation/ref.h"

#define ARENIX_CTYPE(t) ARENIX_CTYPE_##t
#define ARENIX_CTYPE_text automation::Text
#define ARENIX_CTYPE_boolean bool
#define ARENIX_CTYPE_int16 int16_t
#define ARENIX_CTYPE_int32 int32_t
#define ARENIX_CTYPE_float64 double
#define ARENIX_CTYPE_currency automation::Currency
#define ARENIX_CTYPE_byte uint8_t
#define ARENIX_CTYPE_variant automation::Variant
#define ARENIX_CTYPE_bytes automation::Variant
#define ARENIX_CTYPE_none void

#define ARENIX_PTYPE(t) ARENIX_PTYPE_##t
#define ARENIX_PTYPE_text automation::ParamType::Text
#define ARENIX_PTYPE_boolean automation::ParamType::Boolean
#define ARENIX_PTYPE_int16 automation::ParamType::Int16
#define ARENIX_PTYPE_int32 automation::ParamType::Int32
#define ARENIX_PTYPE_float64 automation::ParamType::Double
#define ARENIX_PTYPE_currency automation::ParamType::Currency
#define ARENIX_PTYPE_byte automation::ParamType::Byte
#define ARENIX_PTYPE_variant automation::ParamType::Variant
#define ARENIX_PTYPE_bytes automation::ParamType::ByteArray
#define ARENIX_PTYPE_none automation::ParamType::None

// Every parameter macro expands to ", item"; this drops the first comma.
#define ARENIX_DROP_FIRST(...) ARENIX_DROP_FIRST_(__VA_ARGS__)
#define ARENIX_DROP_FIRST_(x, ...) __VA_ARGS__

#define NO_PARAMS
