#include "fields/field_reader.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quillet::fields {
namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
// Up to 15 digits an integer converts to double exactly, so the division is the only rounding.
constexpr int kMaxFastDigits = 15;
// An exponent beyond this overflows or underflows any float; keeping it bounded keeps the
// arithmetic on it safe.
constexpr long kExponentBound = 100000;

constexpr int kThousandthsSize = 10000;
constexpr std::array<float, kThousandthsSize> make_thousandths() {
  std::array<float, kThousandthsSize> table{};
  for (int i = 0; i < kThousandthsSize; ++i) {
    table[static_cast<std::size_t>(i)] = static_cast<float>(static_cast<double>(i) / 1000.0);
  }
  return table;
}

float to_single(double value) {
  if (std::fabs(value) > static_cast<double>(FLT_MAX)) {
    return value < 0 ? -std::numeric_limits<float>::infinity()
                     : std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(value);
}

}  // namespace

// Worked out by the compiler (constant initialization), so it is ready before main runs.
constexpr std::array<float, kThousandthsSize> detail::kThousandths = make_thousandths();

std::optional<std::int32_t> parse_integer(std::string_view field) {
  bool negative = false;
  bool seen_sign = false;
  bool seen_digit = false;
  std::int64_t value = 0;
  for (const char c : field) {
    if (is_blank(c)) continue;
    if ((c == '+' || c == '-') && !seen_sign && !seen_digit) {
      seen_sign = true;
      negative = c == '-';
    } else if (is_digit(c)) {
      seen_digit = true;
      seen_sign = true;  // a sign after a digit is illegal
      value = value * 10 + (c - '0');
      if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

namespace {

// The digits of a decimal field as one correctly rounded conversion, for the fields too long
// for the exact path: every significant mantissa digit, then the power of ten.
double convert_long(std::string_view field, long scale) {
  std::string digits;
  bool significant = false;
  for (const char c : field) {
    if (c == 'E' || c == 'e' || c == 'D' || c == 'd') break;
    if ((c == '+' || c == '-') && significant) break;  // a sign behind the digits: the exponent
    if (!is_digit(c)) continue;
    significant = significant || c != '0';
    if (significant) digits.push_back(c);
  }
  digits += 'e';
  digits += std::to_string(scale);
  return std::strtod(digits.c_str(), nullptr);
}

}  // namespace

std::optional<float> parse_decimal(std::string_view field, int decimals) {
  enum class Part { kMantissa, kExponentSign, kExponentDigits };
  Part part = Part::kMantissa;
  bool negative = false;
  bool seen_sign = false;
  bool seen_point = false;
  std::uint64_t mantissa = 0;
  int significant = 0;       // mantissa digits from the first nonzero one on
  long fraction_digits = 0;  // digits behind an explicit point
  bool exponent_negative = false;
  bool exponent_digit = false;
  long exponent = 0;

  for (const char c : field) {
    if (is_blank(c)) continue;
    switch (part) {
      case Part::kMantissa:
        if (is_digit(c)) {
          seen_sign = true;
          if (seen_point) ++fraction_digits;
          if (significant > 0 || c != '0') {
            if (++significant <= kMaxFastDigits) {
              mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            }
          }
        } else if ((c == '+' || c == '-') && !seen_sign) {
          seen_sign = true;
          negative = c == '-';
        } else if (c == '.' && !seen_point) {
          seen_point = true;
          seen_sign = true;
        } else if (c == 'E' || c == 'e' || c == 'D' || c == 'd') {
          part = Part::kExponentSign;
        } else if (c == '+' || c == '-') {
          // A sign behind the mantissa's sign, point or digits begins an exponent: "1.5-3" is
          // 1.5E-3, and "--1" or ".+5" is an exponent behind no digits at all, which reads
          // as zero like "E5" does.
          exponent_negative = c == '-';
          part = Part::kExponentDigits;
        } else {
          return std::nullopt;
        }
        break;
      case Part::kExponentSign:
        part = Part::kExponentDigits;
        if (c == '+' || c == '-') {
          exponent_negative = c == '-';
          break;
        }
        [[fallthrough]];
      case Part::kExponentDigits:
        if (!is_digit(c)) return std::nullopt;
        exponent_digit = true;
        exponent = std::min(exponent * 10 + (c - '0'), kExponentBound);
        break;
    }
  }
  if (part != Part::kMantissa && !exponent_digit) return std::nullopt;

  // Without a point the last `decimals` digits stand behind one.
  const long behind_point = seen_point ? fraction_digits : decimals;
  const long scale = (exponent_negative ? -exponent : exponent) - behind_point;
  double value = 0.0;
  if (significant == 0) {
    value = 0.0;
  } else if (significant <= kMaxFastDigits && scale <= 0 && -scale <= kMaxExactPower) {
    value = static_cast<double>(mantissa) / kExactPowersOfTen[-scale];
  } else if (significant <= kMaxFastDigits && scale > 0 && scale <= kMaxExactPower) {
    value = static_cast<double>(mantissa) * kExactPowersOfTen[scale];
  } else {
    value = convert_long(field, scale);
  }
  return negative ? -to_single(value) : to_single(value);
}

void FieldReader::skip(std::size_t n) {
  position_ = std::min(line_.size(), position_ + std::min(n, line_.size()));
}

void FieldReader::tab_to(std::size_t column) {
  position_ = std::min(line_.size(), column == 0 ? 0 : column - 1);
}

std::string FieldReader::text(std::size_t width, std::size_t length) {
  const std::size_t taken = std::min(width, line_.size() - position_);
  std::string value(line_.substr(position_, taken));
  value.resize(std::max(length, taken), ' ');
  position_ += taken;
  return value;
}

std::string_view FieldReader::numeric_field(std::size_t width) {
  std::string_view field = line_.substr(position_, std::min(width, line_.size() - position_));
  field_at_ = position_;
  const std::size_t comma = field.find(',');
  if (comma != std::string_view::npos) {
    // A comma ends the field early; the next field begins in the column after it.
    position_ += comma + 1;
    field_ = field.substr(0, comma);
    return field_;
  }
  position_ += field.size();
  field_ = field;
  return field;
}

}  // namespace quillet::fields
