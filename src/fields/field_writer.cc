#include "fields/field_writer.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace quillet::fields {
namespace {

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                          100000, 1000000, 10000000, 100000000};

// Fills a field from its right end towards its left. A field that runs out of columns is
// written as asterisks.
class RightToLeft {
 public:
  RightToLeft(char* out, std::size_t width) : out_(out), at_(out + width), width_(width) {}

  void put(char c) {
    if (at_ == out_) {
      overflow_ = true;
      return;
    }
    *--at_ = c;
  }
  void put_digits(std::uint64_t value, int at_least = 1) {
    for (int i = 0; i < at_least || value != 0; ++i) {
      put(static_cast<char>('0' + value % 10));
      value /= 10;
    }
  }
  char* finish() {
    if (overflow_) return std::fill_n(out_, width_, '*');
    while (at_ != out_) *--at_ = ' ';
    return out_ + width_;
  }

 private:
  char* out_;
  char* at_;
  std::size_t width_;
  bool overflow_ = false;
};

// "000" to "999": three digits, for the thousandths of the column file's field.
constexpr std::array<std::array<char, 3>, 1000> make_three_digits() {
  std::array<std::array<char, 3>, 1000> table{};
  for (int i = 0; i < 1000; ++i) {
    table[static_cast<std::size_t>(i)] = {static_cast<char>('0' + i / 100),
                                          static_cast<char>('0' + i / 10 % 10),
                                          static_cast<char>('0' + i % 10)};
  }
  return table;
}
constexpr auto kThreeDigits = make_three_digits();

// The column file's field (6 columns, 3 decimals) for every magnitude below 10, the values a
// chronology holds: " 0.000" to " 9.999", in the order of the rounded thousandths, so that
// writing such a value is one lookup. Worked out by the compiler (60 KB).
constexpr int kSmallFields = 10000;
constexpr std::array<std::array<char, 6>, kSmallFields> make_small_fields() {
  std::array<std::array<char, 6>, kSmallFields> table{};
  for (int i = 0; i < kSmallFields; ++i) {
    const std::array<char, 3>& fraction = kThreeDigits[static_cast<std::size_t>(i % 1000)];
    table[static_cast<std::size_t>(i)] = {
        ' ', static_cast<char>('0' + i / 1000), '.', fraction[0], fraction[1], fraction[2]};
  }
  return table;
}
constexpr auto kSmallFieldTable = make_small_fields();

}  // namespace

char* write_thousandths(char* out, std::uint16_t thousandths) {
  std::memcpy(out, kSmallFieldTable[thousandths].data(), 6);
  return out + 6;
}

char* write_integer(char* out, std::int64_t value, std::size_t width) {
  RightToLeft field(out, width);
  const std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  field.put_digits(magnitude);
  if (value < 0) field.put('-');
  return field.finish();
}

namespace detail {

char* write_decimal_general(char* out, float value, std::size_t width, int decimals) {
  assert(decimals >= 0 && decimals <= kMaxWriteDecimals);
  if (std::isnan(value) || std::isinf(value)) return std::fill_n(out, width, '*');
  // A float has 24 significant bits and 10^8 needs 27, so the scaled value is exact in a
  // double and rounding it is the rounding of the exact value.
  const double scaled =
      std::fabs(static_cast<double>(value)) * static_cast<double>(kPowersOfTen[decimals]);
  if (scaled >= 1e15) {
    // Such a float is a whole number: nothing behind the point needs rounding.
    char buffer[64];
    const int n =
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    const auto length = static_cast<std::size_t>(n > 0 ? n : 0);
    if (length > width) return std::fill_n(out, width, '*');
    return std::copy_n(buffer, length, std::fill_n(out, width - length, ' '));
  }
  // Below 2^52 adding one half is exact, so truncating it rounds halves away from zero.
  const auto rounded = static_cast<std::uint64_t>(scaled + 0.5);
  const bool minus = value < 0 && rounded != 0;  // never "-0.000"
  const std::uint64_t scale = kPowersOfTen[decimals];
  RightToLeft field(out, width);
  field.put_digits(rounded % scale, decimals);
  field.put('.');
  field.put_digits(rounded / scale);
  if (minus) field.put('-');
  return field.finish();
}

}  // namespace detail

char* write_decimal(char* out, float value, std::size_t width, int decimals) {
  if (width == 6 && decimals == 3) {
    // The column file's field, looked up: [-]d.ddd or dd.ddd. The same
    // rounding as the general branch (exact scaled value, halves away from zero).
    const double scaled = std::fabs(static_cast<double>(value)) * 1000.0;
    if (scaled < 99999.5) {  // false for NaN too
      const auto rounded = static_cast<unsigned>(scaled + 0.5);
      const bool minus = value < 0 && rounded != 0;  // never "-0.000"
      if (rounded < kSmallFields) {
        std::memcpy(out, kSmallFieldTable[rounded].data(), 6);
        if (minus) out[0] = '-';
        return out + width;
      }
      if (minus) return std::fill_n(out, width, '*');  // -10.000 and beyond
      const std::array<char, 3>& whole = kThreeDigits[rounded / 1000];
      out[0] = whole[1];
      out[1] = whole[2];
      out[2] = '.';
      std::memcpy(out + 3, kThreeDigits[rounded % 1000].data(), 3);
      return out + width;
    }
  }
  return detail::write_decimal_general(out, value, width, decimals);
}

void put_integer(std::string& line, std::int64_t value, std::size_t width) {
  const std::size_t at = line.size();
  line.resize(at + width);
  write_integer(line.data() + at, value, width);
}

void put_text(std::string& line, std::string_view value, std::size_t width) {
  if (width > value.size()) line.append(width - value.size(), ' ');
  line.append(value.substr(0, width));
}

}  // namespace quillet::fields
