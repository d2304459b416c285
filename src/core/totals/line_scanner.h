// Splitting a month file into lines fast enough that summing twenty years of
// diaries costs little more than reading them.
//
// Lines end at CR LF, CR or LF, exactly as the diary reads them; a final
// line break ends the last line and starts no empty one. Breaks are found 64
// bytes at a time (sixteen bytes per step where the processor has SSE2).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tomvik::core {

#if defined(__SSE2__)
// Bit i is set when byte i of the sixteen at `p` is `a` or `b`.
inline unsigned MatchMask16(const char* p, char a, char b) {
  const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8(a)), _mm_cmpeq_epi8(chunk, _mm_set1_epi8(b)));
  return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
#endif

// Bit i is set where byte `from + i` is a line break: an LF, or a CR that no
// LF follows (the CR of a CR LF pair stays with its line and is cut there).
inline std::uint64_t LineBreakMask(std::string_view bytes, std::size_t from) {
  std::uint64_t lf = 0;
  std::uint64_t cr = 0;
  const std::size_t count = std::min<std::size_t>(64, bytes.size() - from);
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= count; i += 16) {
    lf |= std::uint64_t{MatchMask16(bytes.data() + from + i, '\n', '\n')} << i;
    cr |= std::uint64_t{MatchMask16(bytes.data() + from + i, '\r', '\r')} << i;
  }
#endif
  for (; i < count; ++i) {
    lf |= std::uint64_t{bytes[from + i] == '\n'} << i;
    cr |= std::uint64_t{bytes[from + i] == '\r'} << i;
  }
  const bool lfAfter = from + 64 < bytes.size() && bytes[from + 64] == '\n';
  const std::uint64_t lfNext = (lf >> 1) | (std::uint64_t{lfAfter} << 63);
  return lf | (cr & ~lfNext);
}

// The lines of a text, numbered from 1.
class LineScanner {
 public:
  explicit LineScanner(std::string_view bytes) : bytes_(bytes) {}

  // The next line without its break; false after the last.
  bool next(std::string_view& line) {
    if (pos_ >= bytes_.size()) return false;
    while (breaks_ == 0) {
      if (block_ >= bytes_.size()) {
        // The last line has no break.
        line = bytes_.substr(pos_);
        pos_ = bytes_.size();
        ++number_;
        return true;
      }
      breaks_ = LineBreakMask(bytes_, block_);
      blockStart_ = block_;
      block_ += 64;
    }
    const std::size_t at = blockStart_ + static_cast<std::size_t>(__builtin_ctzll(breaks_));
    breaks_ &= breaks_ - 1;
    line = bytes_.substr(pos_, at - pos_);
    if (bytes_[at] == '\n' && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = at + 1;
    ++number_;
    return true;
  }
  // The number of the line last given.
  std::size_t number() const { return number_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::size_t block_ = 0;       // the next 64 bytes to search for breaks
  std::size_t blockStart_ = 0;  // the 64 bytes that breaks_ covers
  std::uint64_t breaks_ = 0;
  std::size_t number_ = 0;
};

}  // namespace tomvik::core
