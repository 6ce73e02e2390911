// Fuzz target for the field rules: arbitrary bytes read as lines, every field kind and
// width taken from them, and the writers' output read back.
//
// The first byte chooses the tab size, the second the field width and the decimals; the rest
// is the input. Besides crashes and sanitizer reports it checks the rules' own promises: the
// quick path of a numeric field gives what the full rules give, and what the writers write
// reads back as the value written.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fields/field_reader.h"
#include "fields/field_writer.h"
#include "fields/line_reader.h"
#include "testing/fake_console.h"

namespace {

using namespace quillet;

void check(bool ok) {
  if (!ok) std::abort();
}

// The numeric field the full rules see: at most `width` columns, cut at a comma.
std::string_view full_rules_field(std::string_view line, std::size_t at, std::size_t width) {
  std::string_view field = line.substr(at, std::min(width, line.size() - at));
  return field.substr(0, field.find(','));
}

void fields_of(std::string_view line, std::size_t width, int decimals) {
  // Walk the line with every kind of field, comparing each numeric field with the full rules.
  fields::FieldReader reader(line);
  for (int step = 0; step < 64 && reader.position() < line.size(); ++step) {
    const std::size_t at = reader.position();
    switch (step % 4) {
      case 0: {
        const auto value = reader.decimal(width, decimals);
        const auto expected = fields::parse_decimal(full_rules_field(line, at, width), decimals);
        check(value.has_value() == expected.has_value());
        if (value)
          check(std::memcmp(&*value, &*expected, sizeof(float)) == 0 ||
                (std::isnan(*value) && std::isnan(*expected)));
        break;
      }
      case 1: {
        const auto value = reader.integer(width);
        check(value == fields::parse_integer(full_rules_field(line, at, width)));
        break;
      }
      case 2:
        check(reader.text(width, width + 3).size() == width + 3);
        break;
      case 3:
        reader.skip(width / 2);
        break;
    }
    check(reader.position() <= line.size());
    if (!reader.integer(0).has_value()) std::abort();  // an empty field is 0, always legal
  }
  reader.tab_to(width * 7);
  check(reader.position() <= line.size());
}

void round_trips(std::string_view line, int decimals) {
  const auto value = fields::parse_decimal(line.substr(0, 12), decimals);
  if (value && std::isfinite(*value)) {
    std::string field;
    fields::put_decimal(field, *value, 20, 3);
    check(field.size() == 20);
    if (field[0] != '*') {
      const auto back = fields::parse_decimal(field, 3);
      check(back.has_value());
      check(std::fabs(static_cast<double>(*back) - static_cast<double>(*value)) <=
            0.0005 + 1e-6 * std::fabs(static_cast<double>(*value)));
    }
    std::string six;
    fields::put_decimal(six, *value, 6, 3);
    check(six.size() == 6 && six != "-0.000");
  }
  const auto integer = fields::parse_integer(line.substr(0, 11));
  if (integer) {
    std::string field;
    fields::put_integer(field, *integer, 11);
    check(fields::parse_integer(field) == integer);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int tab_size = data[0] % 12;
  const std::size_t width = 1 + data[1] % 20;
  const int decimals = data[1] / 20 % 9;
  const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);

  round_trips(bytes, decimals);
  testing::StringSource source(bytes, 1 + data[0] / 12 % 7);  // lines split across reads
  fields::LineReader lines(source, tab_size);
  while (lines.next(1 + width * 5)) {
    check(lines.text().size() <= 1 + width * 5);
    fields_of(lines.text(), width, decimals);
    if (lines.blank()) {
      for (const char c : lines.text()) check(c == ' ' || c == '\t');
    }
  }
  return 0;
}
