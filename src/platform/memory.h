// Memory a store is about to write: on Linux the pages are made ready in one call
// (madvise MADV_POPULATE_WRITE), which costs far less than a fault on each page's first write,
// above all on a virtual machine. Elsewhere, or where the system does not know the call,
// nothing happens and the pages come as they are first written.
#ifndef QUILLET_PLATFORM_MEMORY_H_
#define QUILLET_PLATFORM_MEMORY_H_

#include <cstddef>

namespace quillet::platform {

// The system's page size for this purpose (4096 where it is not asked).
inline constexpr std::size_t kPageSize = 4096;

// `begin` and `bytes` need not be page-aligned: every page they touch is made ready.
void prepare_for_writing(void* begin, std::size_t bytes) noexcept;

// A store of `bytes` that reads zero until it is written and costs nothing until then, or
// nullptr when the system has no room. On Linux it is asked for in huge pages (2 MB, where
// the system offers them for memory that asks), so that a large store is made ready in a few
// steps instead of one for every 4 KB; elsewhere it is calloc's. Given back by release().
void* reserve_zeroed(std::size_t bytes) noexcept;
void release(void* store, std::size_t bytes) noexcept;

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_MEMORY_H_
