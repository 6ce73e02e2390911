#include "reading/decade_line.h"

#include <bit>
#include <cstring>

#include "fields/field_reader.h"

namespace quillet::reading {
namespace {

constexpr std::size_t kValueWidth = 4;
constexpr int kValueDecimals = 3;
constexpr std::size_t kCountWidth = 3;

// The quick branch: every slot lies whole in the line and both of its fields are digits
// behind blanks. A slot's 7 bytes become one 64-bit word of two lanes, the value field and
// the count field behind one blank, and both are checked and converted at once.
bool read_plain_slots(std::string_view line, std::size_t passed_over, std::size_t slots,
                      Slots& out) {
  if constexpr (std::endian::native != std::endian::little) return false;
  if (line.size() < passed_over + kSlotWidth * slots) return false;
  const char* p = line.data() + passed_over;
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
    // The digits of both lanes to numbers at once: pairs, then the four digits.
    std::uint64_t v = value | (std::uint64_t{count} << 32);
    v = (v * 10 + (v >> 8)) & 0x00FF00FF00FF00FFu;
    v = (v * 100 + (v >> 16)) & 0x0000FFFF0000FFFFu;
    out[k] = {fields::detail::kThousandths[v & 0xFFFFu], static_cast<std::int32_t>(v >> 32)};
  }
  return true;
}

}  // namespace

namespace detail {

bool read_slots_by_fields(std::string_view line, std::size_t passed_over, std::size_t slots,
                          Slots& out) {
  fields::FieldReader reader(line);
  reader.skip(passed_over);
  for (std::size_t k = 0; k < slots; ++k) {
    if (!reader.take_decimal(kValueWidth, kValueDecimals, out[k].value)) return false;
    if (!reader.take_integer(kCountWidth, out[k].count)) return false;
  }
  return true;
}

}  // namespace detail

bool read_slots(std::string_view line, std::size_t passed_over, std::size_t slots, Slots& out) {
  return read_plain_slots(line, passed_over, slots, out) ||
         detail::read_slots_by_fields(line, passed_over, slots, out);
}

}  // namespace quillet::reading
