// Taking fields from a line. A reader walks one line from column 1; each field begins where
// the last one ended and covers w columns, or what is left of the line (missing columns count
// as blanks). Nothing here allocates on the path of a numeric field.
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

#include <cstddef>
#include <cstdint>
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
  std::optional<std::int32_t> integer(std::size_t width);
  std::optional<float> decimal(std::size_t width, int decimals);

  // 0-based position of the next field.
  std::size_t position() const { return position_; }

 private:
  // The characters of the next numeric field, which may end early at a comma.
  std::string_view numeric_field(std::size_t width);

  std::string_view line_;
  std::size_t position_ = 0;
};

}  // namespace quillet::fields

#endif  // QUILLET_FIELDS_FIELD_READER_H_
