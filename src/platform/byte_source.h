// A source of raw bytes: the console's input or an open input file.
#ifndef QUILLET_PLATFORM_BYTE_SOURCE_H_
#define QUILLET_PLATFORM_BYTE_SOURCE_H_

#include <cstddef>

namespace quillet::platform {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to `capacity` bytes into `buffer` and returns how many; 0 means the input has
  // ended. A source may return fewer bytes than asked for (the console returns one line at a
  // time, so that a typed answer is taken as soon as its line is ended). Throws
  // SystemFailure when the system reports a read failure.
  virtual std::size_t read(char* buffer, std::size_t capacity) = 0;
  // True when the source can be read once more from its start (a file on disk can; the
  // console and a pipe cannot).
  virtual bool rewindable() const { return false; }
  // Goes back to the first byte. Only called when rewindable() said so.
  virtual void rewind() {}
};

}  // namespace quillet::platform

#endif  // QUILLET_PLATFORM_BYTE_SOURCE_H_
