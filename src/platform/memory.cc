#include "platform/memory.h"

#include <cstdint>
#include <cstdlib>

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

// Under AddressSanitizer the stores come from calloc, so that the sanitizer sees their bounds
// and its allocation limits apply to them.
#if defined(__SANITIZE_ADDRESS__)
#define QUILLET_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLET_ADDRESS_SANITIZER 1
#endif
#endif

#if defined(__linux__) && !defined(QUILLET_ADDRESS_SANITIZER)

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
}  // namespace

void* reserve_zeroed(std::size_t bytes) noexcept {
  // Mapped with a huge page's worth to spare, then trimmed to start on a huge page.
  const std::size_t mapped = bytes + kHugePage;
  void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
  if (aligned > start) munmap(raw, aligned - start);
  const std::uintptr_t end = aligned + bytes;
  const std::uintptr_t mapped_end = start + mapped;
  if (mapped_end > end) munmap(reinterpret_cast<void*>(end), mapped_end - end);
  madvise(reinterpret_cast<void*>(aligned), bytes, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void release(void* store, std::size_t bytes) noexcept {
  if (store != nullptr) munmap(store, bytes);
}

#else

void* reserve_zeroed(std::size_t bytes) noexcept { return std::calloc(1, bytes); }

void release(void* store, std::size_t) noexcept { std::free(store); }

#endif

}  // namespace quillet::platform
