// Reading lines from a byte source (the input file or the console):
//  - a line feed ends a line and is not part of it; the last line counts without one;
//  - a carriage return is dropped wherever it stands, so CR LF reads like LF;
//  - except in an input file with classic line ends: a file that holds no line feed at all
//    but at least one carriage return has the carriage return as its line end (each CR ends
//    a line, CR CR gives an empty line). A source that cannot be read twice (a pipe) always
//    keeps the line feed rule;
//  - a TAB becomes blanks up to the next tab stop (every `tab_size` columns; with tab size 0
//    it stays an ordinary character), and columns are counted after this.
// Lines may be of any length, but only the columns a layout can reach are kept: the caller
// names how many, and the rest of the line is passed over without being stored.
#ifndef QUILLET_FIELDS_LINE_READER_H_
#define QUILLET_FIELDS_LINE_READER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_source.h"

namespace quillet::fields {

// What ends a line: the console always uses the line feed; an input file is looked at first.
enum class LineEnds { kLineFeed, kFileDecides };

class LineReader {
 public:
  LineReader(platform::ByteSource& source, int tab_size, LineEnds line_ends = LineEnds::kLineFeed);

  // Reads the next line, keeping its first `keep_columns` columns. Returns false at the end
  // of the input. After step_back() it returns the line read last once more.
  bool next(std::size_t keep_columns);

  // The kept columns of the current line, valid until the next call of next().
  std::string_view text() const { return view_; }
  // True when the whole current line, kept or not, holds only blanks and TABs.
  bool blank() const;
  // The next call of next() gives the current line again (it must have kept enough columns).
  void step_back() { stepped_back_ = true; }
  // The 1-based number of the current line (a line given again after step_back() keeps its
  // number); 0 before the first line.
  std::int64_t line_number() const { return line_number_; }

 private:
  bool fill();
  // For LineEnds::kFileDecides: picks the line end from the whole source, reading ahead to
  // its first line feed (the buffer is reused, so memory stays bounded) and going back to
  // the start when more than one buffer was read.
  void choose_line_end();
  // True when a piece of a line needs no CR or TAB handling.
  bool plain(const char* bytes, std::size_t count) const;
  // A whole line that lies in the buffer and needs no CR or TAB handling is not copied.
  bool take_in_place(const char* bytes, std::size_t count);
  void take(const char* bytes, std::size_t count);
  void take_slowly(const char* bytes, std::size_t count);
  void pass_over(const char* bytes, std::size_t count);

  platform::ByteSource& source_;
  std::size_t tab_size_;
  // Left uninitialized: only the bytes a read fills are ever touched.
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;  // unread bytes are buffer_[begin_, end_)
  std::size_t end_ = 0;
  bool at_end_ = false;
  bool line_end_chosen_ = true;
  char line_end_ = '\n';

  std::string text_;  // the line when it had to be copied
  std::string_view view_;
  std::size_t keep_ = 0;
  std::uint64_t column_ = 0;  // columns of the current line so far, kept or not
  bool passed_over_content_ = false;
  bool stepped_back_ = false;
  std::int64_t line_number_ = 0;
};

}  // namespace quillet::fields

#endif  // QUILLET_FIELDS_LINE_READER_H_
