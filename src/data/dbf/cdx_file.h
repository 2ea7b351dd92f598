// The structural compound index (.cdx) of a free table: a directory of tags
// and, per tag, a tree of 512-byte nodes over fixed-length keys in the
// compact layout (leaf entries pack the record number with the counts of
// bytes shared with the previous key and of trailing blanks; the rest of
// each key is stored from the node's end backwards).
//
// ReadCdx lists the tags (name, key and filter expressions, order, key
// length); BuildCdx writes a whole file for the given tags and their keys.
// The engine keeps an index up to date by building it again after a write
// (the meet's tables are small).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace data::dbf {

struct CdxTag {
  std::string name;        // as stored, upper case, at most 10 bytes
  std::string key;         // the key expression (code page 936 text)
  std::string filter;      // the FOR expression, or empty
  bool descending = false;
  bool unique = false;
  uint16_t key_length = 0;
  /// The collation named in the tag's header ("MACHINE" when none is
  /// named): keys are the expression's bytes only under the machine one.
  std::string collation = "MACHINE";
};

/// One key of a tag: its bytes (key_length long) and the record number
/// (from 1).
struct CdxKey {
  std::string bytes;
  uint32_t record = 0;
};

/// The tags of a .cdx file, in the directory's order. Throws
/// std::runtime_error with what is wrong for a file that is not one.
std::vector<CdxTag> ReadCdx(std::string_view file);

/// The keys of one tag in index order, as stored (for checks and tests).
std::vector<CdxKey> ReadCdxKeys(std::string_view file, const std::string& tag);

/// A whole .cdx file: `keys[i]` are the keys of `tags[i]`, each of its
/// key_length, in any order (sorted here by bytes, then record).
std::string BuildCdx(const std::vector<CdxTag>& tags, std::vector<std::vector<CdxKey>> keys);

}  // namespace data::dbf
