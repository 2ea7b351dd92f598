// Little-endian (table) and big-endian (memo) integers in byte buffers.
#pragma once

#include <cstdint>
#include <cstring>

namespace data::dbf {

inline uint16_t LoadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t LoadLe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}
inline uint64_t LoadLe64(const uint8_t* p) {
  return static_cast<uint64_t>(LoadLe32(p)) | static_cast<uint64_t>(LoadLe32(p + 4)) << 32;
}
inline uint32_t LoadBe32(const uint8_t* p) {
  return static_cast<uint32_t>(p[3]) | static_cast<uint32_t>(p[2]) << 8 |
         static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[0]) << 24;
}
inline uint16_t LoadBe16(const uint8_t* p) { return static_cast<uint16_t>(p[1] | p[0] << 8); }

inline void StoreLe16(char* p, uint16_t v) {
  p[0] = static_cast<char>(v);
  p[1] = static_cast<char>(v >> 8);
}
inline void StoreLe32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (8 * i));
}
inline void StoreLe64(char* p, uint64_t v) {
  for (int i = 0; i < 8; ++i) p[i] = static_cast<char>(v >> (8 * i));
}
inline void StoreBe32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (8 * (3 - i)));
}
inline void StoreBe16(char* p, uint16_t v) {
  p[0] = static_cast<char>(v >> 8);
  p[1] = static_cast<char>(v);
}

}  // namespace data::dbf
