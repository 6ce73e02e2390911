#include "fields/field_writer.h"

#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace quillet::fields {
namespace {

constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                          100000, 1000000, 10000000, 100000000};

void put_right_aligned(std::string& line, std::string_view digits, std::size_t width) {
  if (digits.size() > width) {
    line.append(width, '*');
    return;
  }
  line.append(width - digits.size(), ' ');
  line.append(digits);
}

}  // namespace

void put_integer(std::string& line, std::int64_t value, std::size_t width) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  put_right_aligned(line, std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)),
                    width);
}

void put_decimal(std::string& line, float value, std::size_t width, int decimals) {
  assert(decimals >= 0 && decimals <= kMaxWriteDecimals);
  if (std::isnan(value) || std::isinf(value)) {
    line.append(width, '*');
    return;
  }
  // A float has 24 significant bits and 10^8 needs 27, so the scaled value is exact in a
  // double and rounding it is the rounding of the exact value.
  const std::uint64_t scale = kPowersOfTen[decimals];
  const double scaled = std::fabs(static_cast<double>(value)) * static_cast<double>(scale);
  char buffer[64];
  std::size_t length = 0;
  if (scaled < 1e15) {
    // Below 2^52 adding one half is exact, so truncating it rounds halves away from zero.
    const auto rounded = static_cast<std::uint64_t>(scaled + 0.5);
    if (value < 0 && rounded != 0) buffer[length++] = '-';
    auto result = std::to_chars(buffer + length, buffer + sizeof buffer, rounded / scale);
    length = static_cast<std::size_t>(result.ptr - buffer);
    buffer[length++] = '.';
    std::uint64_t fraction = rounded % scale;
    for (int i = decimals - 1; i >= 0; --i) {
      buffer[length + static_cast<std::size_t>(i)] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    length += static_cast<std::size_t>(decimals);
  } else {
    // Such a float is a whole number: nothing behind the point needs rounding.
    const int n = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    length = n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  put_right_aligned(line, std::string_view(buffer, length), width);
}

void put_text(std::string& line, std::string_view value, std::size_t width) {
  if (width > value.size()) line.append(width - value.size(), ' ');
  line.append(value.substr(0, width));
}

void put_blanks(std::string& line, std::size_t count) { line.append(count, ' '); }

std::string plain_line(std::string_view text) {
  std::string line(" ");
  line.append(text);
  return line;
}

}  // namespace quillet::fields
