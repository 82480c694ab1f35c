// Eight bytes at a time: scans over whole payment files look at a word of eight bytes where they
// would otherwise look at each byte, and only fall back to single bytes near what they seek.
#ifndef LASTORA_CORE_BYTE_WORDS_H_
#define LASTORA_CORE_BYTE_WORDS_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lastora::byte_words {

inline constexpr uint64_t kEveryByte = 0x0101010101010101ULL;
inline constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Eight bytes with the first of them lowest, whatever the machine's byte order.
inline uint64_t Load(const char* bytes) {
  uint64_t word = 0;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  return word;
}

inline constexpr uint64_t Repeated(unsigned char byte) { return kEveryByte * byte; }

// The high bit of every byte below `limit` (1 to 0x80), and of no other byte: seven bits of each
// byte are added to, which never carries into the next byte.
inline uint64_t BytesBelow(uint64_t word, unsigned char limit) {
  constexpr uint64_t kLowBits = ~kHighBits;
  return ~(((word & kLowBits) + Repeated(0x80 - limit)) | word) & kHighBits;
}

// The index of the first byte with a bit set in `marks` (not zero).
inline size_t FirstMarked(uint64_t marks) {
  return static_cast<size_t>(std::countr_zero(marks)) / 8;
}

}  // namespace lastora::byte_words

#endif  // LASTORA_CORE_BYTE_WORDS_H_
