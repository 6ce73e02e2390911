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
  // The reader's position is followed here, to know which characters each field sees.
  fields::FieldReader reader(line);
  std::size_t at = 0;
  const auto moved_by_numeric = [&] {
    const std::size_t taken = std::min(width, line.size() - at);
    const std::size_t comma = line.substr(at, taken).find(',');
    at += comma == std::string_view::npos ? taken : comma + 1;
  };
  for (int step = 0; step < 64 && at < line.size(); ++step) {
    switch (step % 4) {
      case 0: {
        float value = 0.0f;
        const bool ok = reader.take_decimal(width, decimals, value);
        const std::string_view field = full_rules_field(line, at, width);
        const auto expected = fields::parse_decimal(field, decimals);
        check(ok == expected.has_value());
        if (ok) {
          check(std::memcmp(&value, &*expected, sizeof(float)) == 0 ||
                (std::isnan(value) && std::isnan(*expected)));
        } else {
          check(reader.failed_column() == at + 1 && reader.failed_text() == field);
        }
        moved_by_numeric();
        break;
      }
      case 1: {
        const auto value = reader.integer(width);
        check(value == fields::parse_integer(full_rules_field(line, at, width)));
        moved_by_numeric();
        break;
      }
      case 2:
        check(reader.text(width, width + 3).size() == width + 3);
        at = std::min(line.size(), at + width);
        break;
      case 3:
        reader.skip(width / 2);
        at = std::min(line.size(), at + width / 2);
        break;
    }
    if (!reader.integer(0).has_value()) std::abort();  // an empty field is 0, always legal
  }
  reader.tab_to(width * 7);
  check(reader.text(1, 1).size() == 1);
}

void round_trips(std::string_view line, int decimals) {
  const auto value = fields::parse_decimal(line.substr(0, 12), decimals);
  if (value && std::isfinite(*value)) {
    std::string field(20, '?');
    fields::write_decimal(field.data(), *value, 20, 3);
    check(field.size() == 20);
    if (field[0] != '*') {
      const auto back = fields::parse_decimal(field, 3);
      check(back.has_value());
      check(std::fabs(static_cast<double>(*back) - static_cast<double>(*value)) <=
            0.0005 + 1e-6 * std::fabs(static_cast<double>(*value)));
    }
    std::string six(6, '?');
    fields::write_decimal(six.data(), *value, 6, 3);
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
