// Putting fields into a line. Each function appends one field to `line`:
//  - an integer right-aligned in w columns, a minus sign in front of negative values, and w
//    asterisks when it does not fit (12345 in 4 columns is "****");
//  - a decimal in w columns with d decimals, rounded half away from zero from the exact value
//    of the single-precision number (0.0625 gives 0.063); never "-0.000": a negative value
//    that rounds to zero loses its sign; w asterisks when it does not fit;
//  - a text: whole, cut to w, or behind w - L blanks when w is wider than the text.
#ifndef QUILLET_FIELDS_FIELD_WRITER_H_
#define QUILLET_FIELDS_FIELD_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet::fields {

// Decimals a decimal field may have: up to 8 the scaled single-precision value is exact.
inline constexpr int kMaxWriteDecimals = 8;

void put_integer(std::string& line, std::int64_t value, std::size_t width);

// The same fields written into `out`, which has room for `width` characters; each returns
// the end of what it wrote (out + width). For lines built in place.
char* write_integer(char* out, std::int64_t value, std::size_t width);
char* write_decimal(char* out, float value, std::size_t width, int decimals);
void put_text(std::string& line, std::string_view value, std::size_t width);

// The column file's field (6 columns, 3 decimals) of a value given as its thousandths, 0 to
// 9999 (1234 for 1.234): what write_decimal writes for that value, " 1.234", by one lookup.
char* write_thousandths(char* out, std::uint16_t thousandths);

namespace detail {
// write_decimal without its quick branch for the column file's 6-column field with 3
// decimals; for the test that compares the two (field_writer_test.cc).
char* write_decimal_general(char* out, float value, std::size_t width, int decimals);
}  // namespace detail

}  // namespace quillet::fields

#endif  // QUILLET_FIELDS_FIELD_WRITER_H_
