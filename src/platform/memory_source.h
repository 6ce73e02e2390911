// Bytes in memory as a source that can be read again from its start: an input given as bytes,
// or a source that cannot be read twice (standard input, a pipe) read whole first, so that
// layouts can be tried on it one after the other.
#ifndef QUILLET_PLATFORM_MEMORY_SOURCE_H_
#define QUILLET_PLATFORM_MEMORY_SOURCE_H_

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/byte_source.h"

namespace quillet::platform {

class MemorySource : public ByteSource {
 public:
  // The bytes are the caller's and must outlive the source.
  explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
  // Reads `source` to its end and keeps its bytes (what the source throws passes through).
  explicit MemorySource(ByteSource& source) {
    char chunk[1 << 16];
    for (std::size_t n; (n = source.read(chunk, sizeof chunk)) > 0;) owned_.append(chunk, n);
    bytes_ = owned_;
  }
  MemorySource(const MemorySource&) = delete;
  MemorySource& operator=(const MemorySource&) = delete;

  std::size_t read(char* buffer, std::size_t capacity) override {
    const std::size_t n = std::min(capacity, bytes_.size() - at_);
    std::copy_n(bytes_.data() + at_, n, buffer);
    at_ += n;
    return n;
  }
  bool rewindable() const override { return true; }
  void rewind() override { at_ = 0; }

 private:
  std::string owned_;
  std::string_view bytes_;
  std::size_t at_ = 0;
};

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_MEMORY_SOURCE_H_
