// Taking fields from a line. A reader walks one line from column 1; each field begins where
// the last one ended and covers w columns, or what is left of the line (missing columns count
// as blanks). A numeric field allocates nothing, but for a decimal field of more than 15
// significant digits, whose one correctly rounded conversion goes through a string.
//
// Numeric fields:
//  - blanks and TABs are removed wherever they stand; they are not read as zeros, so the
//    integer field "1 5 " reads 15 and the decimal field "12 3" reads 0.123;
//  - a comma ends the field early, and the next field begins in the column after it;
//  - an integer is an optional sign and digits; nothing (or a sign alone) reads 0;
//  - a decimal is an optional sign, digits with at most one point, and an optional exponent
//    (E or D in either case with an optional sign, or a sign alone, then digits). Without a
//    point the last d digits are the decimals ("9990" with d 3 is 9.99). The digits are read
//    as an integer and divided by the power of ten in double precision, then rounded to
//    single precision; "-" with no nonzero digits gives negative zero.
// Anything else in a numeric field is an illegal character: the functions return nullopt.
#ifndef QUILLET_FIELDS_FIELD_READER_H_
#define QUILLET_FIELDS_FIELD_READER_H_

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::fields {

// The value of one integer field's characters, or nullopt for an illegal character (a value
// beyond the 32-bit range counts as one too).
std::optional<std::int32_t> parse_integer(std::string_view field);

// The value of one decimal field's characters with `decimals` implied decimals, or nullopt
// for an illegal character.
std::optional<float> parse_decimal(std::string_view field, int decimals);

// The quick branch of FieldReader's numeric fields, for FieldReader alone (fuzz/fields_fuzz.cc
// checks it against parse_integer and parse_decimal over arbitrary fields).
namespace detail {

// Four bytes of a field in one word (the first in memory order in the low byte): true when
// they are digits behind leading blanks, with the digits' values (0-9, the blanks as leading
// zeros) left in the bytes of `digit_bytes`.
inline bool word_is_blanks_then_digits(std::uint32_t word, std::uint32_t& digit_bytes) {
  const std::uint32_t t = word ^ 0x30303030u;  // digits become 0-9, blanks 0x10
  const std::uint32_t e = t ^ 0x10101010u;     // blanks become 0
  const std::uint32_t blank = ~(((e & 0x7F7F7F7Fu) + 0x7F7F7F7Fu) | e | 0x7F7F7F7Fu);
  const std::uint32_t not_digit = (((t & 0x7F7F7F7Fu) + 0x76767676u) | t) & 0x80808080u;
  if ((not_digit & ~blank) != 0) return false;  // a byte that is neither
  // The blanks must all stand in front of the digits: their bytes are the lowest ones.
  const std::uint32_t blank_bytes = (blank >> 7) * 0xFFu;
  if ((blank_bytes & (blank_bytes + 1)) != 0) return false;
  digit_bytes = t & ~blank_bytes;
  return true;
}

// The common numeric field of a decade line: 1 to 4 columns, all of them among the
// `available` characters at `p`, holding digits behind any leading blanks ("  85", " 987",
// "1850"). Reads the field's bytes as one 32-bit word; false for every other field, which
// must then take the full rules (they give the same value for the fields accepted here).
inline bool leading_blanks_then_digits(const char* p, std::size_t available, std::size_t width,
                                       std::uint32_t& digits) {
  if constexpr (std::endian::native != std::endian::little) return false;
  if (width == 0 || width > 4 || available < width) return false;
  // The field fills the high bytes (the last in memory order) and blanks the bytes in front,
  // where they count as leading blanks. Built with shifts: copying bytes into a word in memory
  // would stall the load that follows.
  std::uint32_t word = 0;
  if (available >= 4) {
    std::memcpy(&word, p, 4);
    if (width < 4) word = (word << (8 * (4 - width))) | (0x20202020u >> (8 * width));
  } else {
    word = 0x20202020u >> (8 * width);
    for (std::size_t i = 0; i < width; ++i) {
      word |= std::uint32_t{static_cast<unsigned char>(p[i])} << (8 * (i + 4 - width));
    }
  }
  std::uint32_t v = 0;
  if (!word_is_blanks_then_digits(word, v)) return false;
  v = (v * 10 + (v >> 8)) & 0x00FF00FFu;  // pairs of digits
  v = (v * 100 + (v >> 16)) & 0xFFFFu;    // the four digits
  digits = v;
  return true;
}

// The value of every 4-digit field with 3 implied decimals, the decade line's value field:
// the digits divided by 1000 in double precision and rounded to single precision (exactly
// what parse_decimal does), worked out once so that reading a value costs no division.
extern const std::array<float, 10000> kThousandths;

}  // namespace detail

class FieldReader {
 public:
  explicit FieldReader(std::string_view line) : line_(line) {}

  // Moves n columns on, stopping at the end of the line.
  void skip(std::size_t n);
  // Moves to column c (counted from 1), stopping at the end of the line.
  void tab_to(std::size_t column);

  // A text field of width w read into a text of `length` characters (w <= length): the
  // field's characters, then blanks. Nothing is trimmed.
  std::string text(std::size_t width, std::size_t length);
  std::optional<std::int32_t> integer(std::size_t width) {
    std::int32_t value = 0;
    if (!take_integer(width, value)) return std::nullopt;
    return value;
  }
  // The same two fields for the hot path of the series reader: false for an illegal
  // character, and `value` is left as it was. The common field (digits behind blanks) takes a
  // quick branch that gives what parse_integer and parse_decimal give.
  bool take_integer(std::size_t width, std::int32_t& value) {
    std::uint32_t digits = 0;
    if (blanks_and_digits(width, digits)) {
      value = static_cast<std::int32_t>(digits);
      return true;
    }
    const std::optional<std::int32_t> parsed = parse_integer(numeric_field(width));
    if (parsed) value = *parsed;
    return parsed.has_value() || failed();
  }
  bool take_decimal(std::size_t width, int decimals, float& value) {
    std::uint32_t digits = 0;
    if (decimals == 3 && blanks_and_digits(width, digits)) {
      value = detail::kThousandths[digits];
      return true;
    }
    const std::optional<float> parsed = parse_decimal(numeric_field(width), decimals);
    if (parsed) value = *parsed;
    return parsed.has_value() || failed();
  }

  // Where the last numeric field that failed stood, as it was taken: its first column
  // (1-based) and its characters, which end before a comma that ended the field early or at
  // the end of the line. Only meaningful after take_integer or take_decimal returned false.
  std::size_t failed_column() const { return failed_at_ + 1; }
  std::string_view failed_text() const { return failed_text_; }

 private:
  // The characters of the next numeric field, which may end early at a comma.
  std::string_view numeric_field(std::size_t width);
  // Keeps the field just taken by numeric_field as the one that failed; returns false.
  bool failed() {
    failed_at_ = field_at_;
    failed_text_ = field_;
    return false;
  }
  bool blanks_and_digits(std::size_t width, std::uint32_t& digits) {
    if (!detail::leading_blanks_then_digits(line_.data() + position_, line_.size() - position_,
                                            width, digits)) {
      return false;
    }
    position_ += width;
    return true;
  }

  std::string_view line_;
  std::size_t position_ = 0;
  std::size_t field_at_ = 0;  // the last field numeric_field took
  std::string_view field_;
  std::size_t failed_at_ = 0;
  std::string_view failed_text_;
};

}  // namespace quillet::fields

#endif  // QUILLET_FIELDS_FIELD_READER_H_
