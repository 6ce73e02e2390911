// The tab-stop distance for reading lines, from the environment variable TABSIZE.
#ifndef QUILLET_FIELDS_TAB_SIZE_H_
#define QUILLET_FIELDS_TAB_SIZE_H_

namespace quillet::fields {

inline constexpr int kDefaultTabSize = 8;
inline constexpr int kMaxTabSize = 1000;

// A whole number from 0 to 1000 is the distance (0 keeps a TAB as an ordinary character);
// no value (nullptr), an empty one, anything but digits, or a larger number gives 8.
int tab_size_from(const char* value);

}  // namespace quillet::fields

#endif  // QUILLET_FIELDS_TAB_SIZE_H_
