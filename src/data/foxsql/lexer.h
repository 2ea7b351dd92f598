// The tokens of the dialect: names (plain or in [brackets]), texts in
// single or double quotes (a doubled quote stands for one), numbers, date
// literals {^2024-05-01}, the dotted words .T. .F. .NULL. .And. .Or. .Not.,
// and the operators. Keywords are names; the parser tells them apart.
#pragma once

#include <vector>

#include "automation/text.h"

namespace data::foxsql {

using automation::Text;
using automation::TextView;

enum class TokenKind {
  kEnd,
  kName,        // Play, 比赛名次, AllTrim, Select
  kQuotedName,  // [Play]: never a keyword
  kText,        // 'x' or "x", quotes removed
  kNumber,      // 12, 3.5, 1e3 (text as written)
  kDate,        // {^2024-05-01}: serial in `number`, `has_time` when a time was given
  kTrue,
  kFalse,
  kNull,        // .NULL.
  kDotAnd,
  kDotOr,
  kDotNot,
  kSymbol,      // == = <> != # <= >= < > + - * ** / % ^ ( ) , . ! $ ;
};

struct Token {
  TokenKind kind = TokenKind::kEnd;
  Text text;
  size_t offset = 0;  // where it starts in the statement
  double number = 0;
  bool has_time = false;
};

/// Splits a statement into tokens, ending with kEnd. Raises the statement
/// error for an unterminated text, name or date, or a character that
/// belongs to no token.
std::vector<Token> Tokenize(TextView statement);

}  // namespace data::foxsql
