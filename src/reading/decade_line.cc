#include "reading/decade_line.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "fields/field_reader.h"

namespace quillet::reading {
namespace {

constexpr std::size_t kValueWidth = 4;
constexpr int kValueDecimals = 3;
constexpr std::size_t kCountWidth = 3;

// The digits of a slot to numbers, both fields at once. `w` holds the slot's 7 bytes as digit
// values (0-9, a blank as 0) in memory order, the value field's first byte lowest; an 8th
// byte above them is ignored. The value field is the low 32-bit lane, the count field,
// behind one zero, the high lane: pairs of digits first, then the four digits.
void put_slot(Slots& out, std::size_t k, std::uint16_t thousandths, std::uint32_t count) {
  out.value[k] = fields::detail::kThousandths[thousandths];
  out.count[k] = static_cast<std::int32_t>(count);
  out.thousandths[k] = thousandths;
}

void slot_from_digits(std::uint64_t w, Slots& out, std::size_t k) {
  std::uint64_t v = (w & 0xFFFFFFFFu) | (((w >> 24) & 0xFFFFFF00u) << 32);
  v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFu;
  v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFu;
  put_slot(out, k, static_cast<std::uint16_t>(v & 0xFFFFu), static_cast<std::uint32_t>(v >> 32));
}

// The quick branch without vector instructions: every slot lies whole in the line and both of
// its fields are digits behind blanks. A slot's 7 bytes give two words, the value field and
// the count field behind one blank, each checked on its own.
bool read_plain_slots_by_words(const char* p, std::size_t slots, Slots& out) {
  for (std::size_t k = 0; k < slots; ++k, p += kSlotWidth) {
    std::uint32_t value_bytes = 0;
    std::uint32_t count_bytes = 0;
    std::memcpy(&value_bytes, p, 4);
    std::memcpy(&count_bytes, p + 3, 4);                // the value's last byte, then the count
    count_bytes = (count_bytes & 0xFFFFFF00u) | 0x20u;  // that byte becomes a blank
    std::uint32_t value = 0;
    std::uint32_t count = 0;
    if (!fields::detail::word_is_blanks_then_digits(value_bytes, value) ||
        !fields::detail::word_is_blanks_then_digits(count_bytes, count)) {
      return false;
    }
    slot_from_digits(value | (std::uint64_t{count & 0xFFFFFF00u} << 24), out, k);
  }
  out.plain = true;
  return true;
}

#if defined(__SSE2__)

// A whole line of ten slots (70 bytes from `p`) with SSE2: the bytes are classed 16 at a time
// into a bit per byte for digits and one for blanks. The line is plain when every byte is one
// or the other and no blank stands behind a digit within a field (a field's first column may
// follow anything).
bool read_ten_plain_slots(const char* p, Slots& out) {
  constexpr std::size_t kBytes = kSlotWidth * kSlotsPerLine;
  static_assert(kBytes > 64 && kBytes <= 80);
  // Bit i stands for byte i: bytes 0-63 in the first word, the rest in the second. The
  // blanks put behind the slots start a field of their own.
  constexpr auto field_starts = [] {
    std::array<std::uint64_t, 2> starts{};
    for (std::size_t k = 0; k < kSlotsPerLine; ++k) {
      for (const std::size_t at : {kSlotWidth * k, kSlotWidth * k + 4}) {
        starts[at / 64] |= std::uint64_t{1} << (at % 64);
      }
    }
    starts[kBytes / 64] |= std::uint64_t{1} << (kBytes % 64);
    return starts;
  }();
  const __m128i zero_char = _mm_set1_epi8('0');
  const __m128i nine = _mm_set1_epi8(9);
  const __m128i blank = _mm_set1_epi8(' ');
  std::uint64_t digit_bits[2] = {0, 0};
  std::uint64_t blank_bits[2] = {0, 0};
  for (std::size_t c = 0; c < 5; ++c) {
    __m128i x;
    if (c < 4) {
      x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * c));
    } else {
      // The last 6 bytes: the 16 that end the slots, moved down, with blanks above them.
      x = _mm_srli_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + kBytes - 16)),
                         80 - kBytes);
      x = _mm_or_si128(x, _mm_slli_si128(blank, kBytes - 64));
    }
    const __m128i t = _mm_xor_si128(x, zero_char);  // digits become 0-9
    const __m128i is_digit = _mm_cmpeq_epi8(_mm_min_epu8(t, nine), t);
    const __m128i is_blank = _mm_cmpeq_epi8(x, blank);
    const auto digits = static_cast<std::uint16_t>(_mm_movemask_epi8(is_digit));
    const auto blanks = static_cast<std::uint16_t>(_mm_movemask_epi8(is_blank));
    digit_bits[c / 4] |= std::uint64_t{digits} << (16 * (c % 4));
    blank_bits[c / 4] |= std::uint64_t{blanks} << (16 * (c % 4));
  }
  if ((digit_bits[0] | blank_bits[0]) != ~std::uint64_t{0}) return false;
  if ((digit_bits[1] | blank_bits[1]) != 0xFFFFu) return false;
  const std::uint64_t digit_before[2] = {digit_bits[0] << 1,
                                         (digit_bits[1] << 1) | (digit_bits[0] >> 63)};
  if ((blank_bits[0] & digit_before[0] & ~field_starts[0]) != 0 ||
      (blank_bits[1] & digit_before[1] & ~field_starts[1]) != 0) {
    return false;
  }

  // Digits to numbers, two slots at a time: a blank (0x20) becomes 0 and a digit its value
  // under one mask; each slot's seven digits, widened to 16 bits, are multiplied by their
  // places and summed in pairs (the eighth byte, weighed 0, belongs to the next slot).
  const __m128i digit_values = _mm_set1_epi8(0x0F);
  const __m128i zero = _mm_setzero_si128();
  const __m128i places = _mm_setr_epi16(1000, 100, 10, 1, 100, 10, 1, 0);
  for (std::size_t k = 0; k < kSlotsPerLine; k += 2) {
    const __m128i first = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + kSlotWidth * k));
    // The last slot's 7 bytes are read with the byte in front of them, then moved down.
    const __m128i second =
        k + 2 < kSlotsPerLine
            ? _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + kSlotWidth * (k + 1)))
            : _mm_srli_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + kBytes - 8)), 8);
    const __m128i digits = _mm_and_si128(_mm_unpacklo_epi64(first, second), digit_values);
    __m128i a = _mm_madd_epi16(_mm_unpacklo_epi8(digits, zero), places);
    __m128i b = _mm_madd_epi16(_mm_unpackhi_epi8(digits, zero), places);
    // [value part, value part, count part, count part]: the sums in lanes 0 and 2.
    a = _mm_add_epi32(a, _mm_shuffle_epi32(a, _MM_SHUFFLE(2, 3, 0, 1)));
    b = _mm_add_epi32(b, _mm_shuffle_epi32(b, _MM_SHUFFLE(2, 3, 0, 1)));
    std::uint64_t values = 0;
    std::uint64_t counts = 0;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(&values), _mm_unpacklo_epi32(a, b));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(&counts), _mm_unpackhi_epi32(a, b));
    put_slot(out, k, static_cast<std::uint16_t>(values), static_cast<std::uint32_t>(counts));
    put_slot(out, k + 1, static_cast<std::uint16_t>(values >> 32),
             static_cast<std::uint32_t>(counts >> 32));
  }
  out.plain = true;
  return true;
}

#endif

bool read_plain_slots(std::string_view line, std::size_t passed_over, std::size_t slots,
                      Slots& out) {
  if constexpr (std::endian::native != std::endian::little) return false;
  if (line.size() < passed_over + kSlotWidth * slots) return false;
#if defined(__SSE2__)
  if (slots == kSlotsPerLine) return read_ten_plain_slots(line.data() + passed_over, out);
#endif
  return read_plain_slots_by_words(line.data() + passed_over, slots, out);
}

}  // namespace

namespace detail {

bool read_slots_by_fields(std::string_view line, std::size_t passed_over, std::size_t slots,
                          Slots& out, FailedField& failed) {
  out.plain = false;
  fields::FieldReader reader(line);
  reader.skip(passed_over);
  for (std::size_t k = 0; k < slots; ++k) {
    if (!reader.take_decimal(kValueWidth, kValueDecimals, out.value[k]) ||
        !reader.take_integer(kCountWidth, out.count[k])) {
      failed = {reader.failed_column(), reader.failed_text()};
      return false;
    }
  }
  return true;
}

}  // namespace detail

bool read_slots(std::string_view line, std::size_t passed_over, std::size_t slots, Slots& out,
                FailedField& failed) {
  return read_plain_slots(line, passed_over, slots, out) ||
         detail::read_slots_by_fields(line, passed_over, slots, out, failed);
}

namespace {

constexpr std::size_t kNameWidth = 6;
constexpr std::size_t kYearWidth = 4;

bool holds_digit(std::string_view columns) {
  return std::any_of(columns.begin(), columns.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Columns first..last (1-based) of the line, as far as the line reaches.
std::string_view columns(std::string_view line, std::size_t first, std::size_t last) {
  if (line.size() < first) return {};
  return line.substr(first - 1, last - first + 1);
}

}  // namespace

std::string_view series_name_of(std::string_view line) {
  std::string_view name = columns(line, 1, kNameWidth);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return name;
}

bool names_a_series(std::string_view line) {
  const std::string_view name = columns(line, 1, kNameWidth);
  if (std::all_of(name.begin(), name.end(), [](char c) { return c == ' ' || c == '\t'; })) {
    return false;
  }
  fields::FieldReader reader(line);
  reader.skip(kNameWidth);
  return reader.integer(kYearWidth).has_value() &&
         holds_digit(columns(line, kNameWidth + 1, kFieldsStart));
}

bool may_hold_long_year(std::string_view line) {
  if (line.size() < kFieldsStart || line[kLongNameWidth] != '-') return false;
  const std::string_view digits = line.substr(kNameWidth, kYearWidth);
  return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::int32_t> year_of(std::string_view line, bool long_years) {
  const std::size_t first = long_years ? kLongNameWidth : kNameWidth;
  if (!holds_digit(columns(line, first + 1, kFieldsStart))) return std::nullopt;
  fields::FieldReader reader(line);
  reader.skip(first);
  return reader.integer(kFieldsStart - first);
}

bool is_statistics_line(std::string_view line, std::string_view name) {
  for (std::size_t k = 0; k < kNameWidth; ++k) {
    if ((k < line.size() ? line[k] : ' ') != (k < name.size() ? name[k] : ' ')) return false;
  }
  if (!year_of(line, false)) return false;
  return columns(line, kFieldsStart + 1, kFieldsStart + kSlotWidth * kSlotsPerLine).find('.') !=
         std::string_view::npos;
}

bool reads_as_data(std::string_view line) {
  if (!names_a_series(line)) return false;
  if (!holds_digit(columns(line, kFieldsStart + 1, kFieldsStart + kSlotWidth * kSlotsPerLine))) {
    return false;
  }
  Slots slots{};
  FailedField failed;
  return read_slots(line, kFieldsStart, kSlotsPerLine, slots, failed);
}

}  // namespace quillet::reading
