#include "platform/memory.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quillet::platform {

void prepare_for_writing(void* begin, std::size_t bytes) noexcept {
#if defined(__linux__)
  // The value of MADV_POPULATE_WRITE (Linux 5.14); an older system refuses it harmlessly.
  constexpr int kPopulateWrite = 23;
  const auto start = reinterpret_cast<std::uintptr_t>(begin) & ~std::uintptr_t{kPageSize - 1};
  const auto end = reinterpret_cast<std::uintptr_t>(begin) + bytes;
  madvise(reinterpret_cast<void*>(start), end - start, kPopulateWrite);
#else
  (void)begin;
  (void)bytes;
#endif
}

}  // namespace quillet::platform
