#include "fields/tab_size.h"

namespace quillet::fields {

int tab_size_from(const char* value) {
  if (value == nullptr || *value == '\0') return kDefaultTabSize;
  int size = 0;
  for (const char* p = value; *p != '\0'; ++p) {
    if (*p < '0' || *p > '9') return kDefaultTabSize;
    size = size * 10 + (*p - '0');
    if (size > kMaxTabSize) return kDefaultTabSize;
  }
  return size;
}

}  // namespace quillet::fields
