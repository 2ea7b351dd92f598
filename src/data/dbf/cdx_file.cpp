#include "data/dbf/cdx_file.h"

#include <algorithm>
#include <stdexcept>

#include "data/dbf/byte_order.h"

namespace data::dbf {
namespace {

constexpr size_t kHeaderSize = 1024;
constexpr size_t kNodeSize = 512;
constexpr size_t kLeafEntriesAt = 24;
constexpr size_t kInteriorEntriesAt = 12;
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr uint16_t kIndexNode = 0, kRootNode = 1, kLeafNode = 2;
constexpr uint8_t kUnique = 0x01, kHasFilter = 0x08, kCompact = 0x20, kCompound = 0x40;
constexpr size_t kRootAt = 0, kFreeListAt = 4, kKeyLengthAt = 12, kOptionsAt = 14, kSignatureAt = 15;
constexpr size_t kOrderAt = 502, kFilterPoolAt = 506, kKeyPoolAt = 510, kExpressionsAt = 512;
constexpr uint16_t kTagNameLength = 10;

[[noreturn]] void Bad(const std::string& what) { throw std::runtime_error("not a compound index: " + what); }

const uint8_t* At(std::string_view file, size_t offset, size_t size) {
  if (offset > file.size() || file.size() - offset < size) Bad("a node lies beyond the end of the file");
  return reinterpret_cast<const uint8_t*>(file.data()) + offset;
}

int BitsFor(uint32_t n) {
  int bits = 0;
  while (bits < 32 && (uint64_t{1} << bits) <= n) ++bits;
  return std::max(bits, 1);
}

// ---- Writing.

struct LeafLayout {
  int record_bits, dup_bits, trail_bits, bytes;
};

LeafLayout LayoutFor(uint16_t key_length, uint32_t max_record) {
  LeafLayout l;
  l.dup_bits = l.trail_bits = BitsFor(key_length);
  int need = BitsFor(max_record) + l.dup_bits + l.trail_bits;
  l.bytes = std::max(3, (need + 7) / 8);
  l.record_bits = l.bytes * 8 - l.dup_bits - l.trail_bits;
  return l;
}

class Builder {
 public:
  std::string out;

  uint32_t Allocate(size_t size) {
    uint32_t at = static_cast<uint32_t>(out.size());
    out.resize(out.size() + size, '\0');
    return at;
  }
  char* Ptr(uint32_t at) { return out.data() + at; }

  void Header(uint32_t at, uint32_t root, uint16_t key_length, uint8_t options, bool descending,
              const std::string& key, const std::string& filter) {
    char* h = Ptr(at);
    StoreLe32(h + kRootAt, root);
    StoreLe32(h + kFreeListAt, kNone);
    StoreLe16(h + kKeyLengthAt, key_length);
    h[kOptionsAt] = static_cast<char>(options);
    h[kSignatureAt] = 1;
    StoreLe16(h + kOrderAt, descending ? 1 : 0);
    if (key.size() + filter.size() + 2 > kHeaderSize - kExpressionsAt) Bad("the expressions are too long");
    StoreLe16(h + kFilterPoolAt, static_cast<uint16_t>(filter.empty() ? 0 : filter.size() + 1));
    StoreLe16(h + kKeyPoolAt, static_cast<uint16_t>(key.size() + 1));
    std::copy(key.begin(), key.end(), h + kExpressionsAt);
    std::copy(filter.begin(), filter.end(), h + kExpressionsAt + key.size() + 1);
  }

  // The tree over sorted keys; returns the root node's offset.
  uint32_t Tree(uint16_t key_length, const std::vector<CdxKey>& keys, char blank) {
    uint32_t max_record = 0;
    for (const CdxKey& k : keys) max_record = std::max(max_record, k.record);
    LeafLayout layout = LayoutFor(key_length, max_record);
    // Each level: the nodes' offsets and the last key of each.
    std::vector<uint32_t> nodes;
    std::vector<const CdxKey*> lasts;
    size_t i = 0;
    do {
      uint32_t node = Allocate(kNodeSize);
      char* n = Ptr(node);
      size_t used = 0, count = 0;
      const std::string* previous = nullptr;
      while (i < keys.size()) {
        const std::string& key = keys[i].bytes;
        size_t trail = 0;
        while (trail < key.size() && key[key.size() - 1 - trail] == blank) ++trail;
        size_t dup = 0;
        if (previous)
          while (dup < key.size() && (*previous)[dup] == key[dup]) ++dup;
        dup = std::min(dup, key.size() - trail);
        size_t stored = key.size() - dup - trail;
        if (kLeafEntriesAt + (count + 1) * layout.bytes + used + stored > kNodeSize) break;
        uint64_t packed = uint64_t{keys[i].record} | uint64_t{dup} << layout.record_bits |
                          uint64_t{trail} << (layout.record_bits + layout.dup_bits);
        for (int b = 0; b < layout.bytes; ++b)
          n[kLeafEntriesAt + count * layout.bytes + b] = static_cast<char>(packed >> (8 * b));
        used += stored;
        std::copy(key.begin() + dup, key.begin() + dup + stored, n + kNodeSize - used);
        previous = &key;
        ++count;
        ++i;
      }
      StoreLe16(n + 0, kLeafNode);
      StoreLe16(n + 2, static_cast<uint16_t>(count));
      StoreLe16(n + 12, static_cast<uint16_t>(kNodeSize - kLeafEntriesAt - count * layout.bytes - used));
      StoreLe32(n + 14, layout.record_bits >= 32 ? kNone : (uint32_t{1} << layout.record_bits) - 1);
      n[18] = static_cast<char>((1 << layout.dup_bits) - 1);
      n[19] = static_cast<char>((1 << layout.trail_bits) - 1);
      n[20] = static_cast<char>(layout.record_bits);
      n[21] = static_cast<char>(layout.dup_bits);
      n[22] = static_cast<char>(layout.trail_bits);
      n[23] = static_cast<char>(layout.bytes);
      nodes.push_back(node);
      lasts.push_back(count ? &keys[i - 1] : nullptr);
    } while (i < keys.size());
    Link(nodes);

    // Interior levels up to one root.
    size_t per_node = (kNodeSize - kInteriorEntriesAt) / (key_length + 8u);
    while (nodes.size() > 1) {
      std::vector<uint32_t> level;
      std::vector<const CdxKey*> level_lasts;
      for (size_t start = 0; start < nodes.size(); start += per_node) {
        size_t count = std::min(per_node, nodes.size() - start);
        uint32_t node = Allocate(kNodeSize);
        char* n = Ptr(node);
        StoreLe16(n + 0, kIndexNode);
        StoreLe16(n + 2, static_cast<uint16_t>(count));
        for (size_t c = 0; c < count; ++c) {
          char* e = n + kInteriorEntriesAt + c * (key_length + 8u);
          const CdxKey* last = lasts[start + c];
          std::copy(last->bytes.begin(), last->bytes.end(), e);
          StoreBe32(e + key_length, last->record);
          StoreBe32(e + key_length + 4, nodes[start + c]);
        }
        level.push_back(node);
        level_lasts.push_back(lasts[start + count - 1]);
      }
      Link(level);
      nodes = std::move(level);
      lasts = std::move(level_lasts);
    }
    char* root = Ptr(nodes[0]);
    StoreLe16(root, static_cast<uint16_t>(LoadLe16(reinterpret_cast<const uint8_t*>(root)) | kRootNode));
    return nodes[0];
  }

 private:
  void Link(const std::vector<uint32_t>& level) {
    for (size_t k = 0; k < level.size(); ++k) {
      StoreLe32(Ptr(level[k]) + 4, k == 0 ? kNone : level[k - 1]);
      StoreLe32(Ptr(level[k]) + 8, k + 1 == level.size() ? kNone : level[k + 1]);
    }
  }
};

// ---- Reading.

struct TreeInfo {
  uint32_t root;
  uint16_t key_length;
};

TreeInfo ReadHeader(std::string_view file, uint32_t at) {
  const uint8_t* h = At(file, at, kHeaderSize);
  TreeInfo t{LoadLe32(h + kRootAt), LoadLe16(h + kKeyLengthAt)};
  if (!(h[kOptionsAt] & kCompact)) Bad("not in the compact layout");
  if (t.key_length == 0 || t.key_length > 240) Bad("a key length of " + std::to_string(t.key_length));
  return t;
}

std::vector<CdxKey> ReadKeys(std::string_view file, const TreeInfo& tree) {
  std::vector<CdxKey> keys;
  uint32_t node = tree.root;
  // Down the leftmost path to the first leaf.
  for (int depth = 0;; ++depth) {
    if (depth > 32) Bad("the tree is too deep");
    const uint8_t* n = At(file, node, kNodeSize);
    if (LoadLe16(n) & kLeafNode) break;
    if (LoadLe16(n + 2) == 0) return keys;
    node = LoadBe32(n + kInteriorEntriesAt + tree.key_length + 4);
  }
  size_t visited = 0;
  while (node != kNone) {
    if (++visited > file.size() / kNodeSize + 1) Bad("the leaves loop");
    const uint8_t* n = At(file, node, kNodeSize);
    if (!(LoadLe16(n) & kLeafNode)) Bad("a leaf's neighbour is not a leaf");
    uint16_t count = LoadLe16(n + 2);
    int record_bits = n[20], dup_bits = n[21], bytes = n[23];
    uint32_t record_mask = LoadLe32(n + 14);
    uint8_t dup_mask = n[18], trail_mask = n[19];
    if (bytes < 1 || bytes > 8 || kLeafEntriesAt + size_t{count} * bytes > kNodeSize) Bad("a bad leaf");
    size_t end = kNodeSize;
    std::string previous;
    for (uint16_t k = 0; k < count; ++k) {
      uint64_t packed = 0;
      for (int b = 0; b < bytes; ++b) packed |= uint64_t{n[kLeafEntriesAt + k * bytes + b]} << (8 * b);
      uint32_t record = static_cast<uint32_t>(packed & record_mask);
      size_t dup = (packed >> record_bits) & dup_mask;
      size_t trail = (packed >> (record_bits + dup_bits)) & trail_mask;
      if (dup + trail > tree.key_length || dup > previous.size()) Bad("a bad leaf entry");
      size_t stored = tree.key_length - dup - trail;
      if (stored > end - kLeafEntriesAt - size_t{count} * bytes) Bad("a leaf's keys overflow");
      end -= stored;
      std::string key = previous.substr(0, dup);
      key.append(reinterpret_cast<const char*>(n + end), stored);
      key.append(trail, ' ');
      keys.push_back({key, record});
      previous = std::move(key);
    }
    node = LoadLe32(n + 8);
  }
  return keys;
}

std::string Trimmed(const std::string& s) {
  size_t e = s.find_last_not_of(std::string(" \0", 2));
  return e == std::string::npos ? "" : s.substr(0, e + 1);
}

std::string CString(const uint8_t* p, size_t max) {
  size_t n = 0;
  while (n < max && p[n]) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

}  // namespace

std::vector<CdxTag> ReadCdx(std::string_view file) {
  std::vector<CdxTag> tags;
  TreeInfo directory = ReadHeader(file, 0);
  for (const CdxKey& entry : ReadKeys(file, directory)) {
    const uint8_t* h = At(file, entry.record, kHeaderSize);
    CdxTag tag;
    tag.name = Trimmed(entry.bytes);
    tag.key_length = ReadHeader(file, entry.record).key_length;
    tag.unique = h[kOptionsAt] & kUnique;
    tag.descending = LoadLe16(h + kOrderAt) != 0;
    size_t key_pool = LoadLe16(h + kKeyPoolAt);
    tag.key = CString(h + kExpressionsAt, std::min(key_pool, kHeaderSize - kExpressionsAt));
    if (h[kOptionsAt] & kHasFilter) {
      size_t at = kExpressionsAt + tag.key.size() + 1;
      if (at < kHeaderSize) tag.filter = CString(h + at, kHeaderSize - at);
    }
    tags.push_back(std::move(tag));
  }
  return tags;
}

std::vector<CdxKey> ReadCdxKeys(std::string_view file, const std::string& tag) {
  TreeInfo directory = ReadHeader(file, 0);
  for (const CdxKey& entry : ReadKeys(file, directory))
    if (Trimmed(entry.bytes) == tag) return ReadKeys(file, ReadHeader(file, entry.record));
  Bad("no tag " + tag);
}

std::string BuildCdx(const std::vector<CdxTag>& tags, std::vector<std::vector<CdxKey>> keys) {
  Builder b;
  uint32_t directory_header = b.Allocate(kHeaderSize);
  // The directory's keys are the tag names; their records the headers.
  std::vector<uint32_t> headers;
  for (size_t t = 0; t < tags.size(); ++t) {
    const CdxTag& tag = tags[t];
    std::vector<CdxKey>& k = keys[t];
    std::sort(k.begin(), k.end(), [](const CdxKey& a, const CdxKey& c) {
      return a.bytes != c.bytes ? a.bytes < c.bytes : a.record < c.record;
    });
    for (const CdxKey& key : k)
      if (key.bytes.size() != tag.key_length) Bad("a key of tag " + tag.name + " is not " +
                                                  std::to_string(tag.key_length) + " bytes");
    uint32_t header = b.Allocate(kHeaderSize);
    uint32_t root = b.Tree(tag.key_length, k, ' ');
    uint8_t options = kCompact | (tag.unique ? kUnique : 0) | (tag.filter.empty() ? 0 : kHasFilter);
    b.Header(header, root, tag.key_length, options, tag.descending, tag.key, tag.filter);
    headers.push_back(header);
  }
  std::vector<CdxKey> names;
  for (size_t t = 0; t < tags.size(); ++t) {
    std::string name = tags[t].name.substr(0, kTagNameLength);
    name.resize(kTagNameLength, ' ');
    names.push_back({name, headers[t]});
  }
  std::sort(names.begin(), names.end(), [](const CdxKey& a, const CdxKey& c) { return a.bytes < c.bytes; });
  uint32_t root = b.Tree(kTagNameLength, names, ' ');
  b.Header(directory_header, root, kTagNameLength, kCompact | kCompound, false, "", "");
  return b.out;
}

}  // namespace data::dbf
