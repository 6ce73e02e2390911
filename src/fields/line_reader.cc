#include "fields/line_reader.h"

#include <algorithm>
#include <cstring>

namespace quillet::fields {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

bool is_content(char c) { return c != ' ' && c != '\t'; }

// The CR of a CR LF line end (or any CR that ends a piece) is dropped like every other CR;
// cutting it off here keeps the common CR LF line on the quick path.
std::size_t without_final_cr(const char* bytes, std::size_t count) {
  return count > 0 && bytes[count - 1] == '\r' ? count - 1 : count;
}

}  // namespace

LineReader::LineReader(platform::ByteSource& source, int tab_size, LineEnds line_ends)
    : source_(source),
      tab_size_(static_cast<std::size_t>(tab_size)),
      buffer_(new char[kBufferSize]),
      line_end_chosen_(line_ends == LineEnds::kLineFeed) {}

void LineReader::choose_line_end() {
  line_end_chosen_ = true;
  const auto buffer_holds = [this](char c) {
    return std::memchr(buffer_.get() + begin_, c, end_ - begin_) != nullptr;
  };
  if (!fill() || buffer_holds('\n')) return;  // decided by the first buffer
  if (!source_.rewindable()) return;          // a pipe keeps the line feed rule
  bool carriage_return = buffer_holds('\r');
  bool line_feed = false;
  while (!line_feed && fill()) {
    line_feed = buffer_holds('\n');
    carriage_return = carriage_return || buffer_holds('\r');
  }
  source_.rewind();
  at_end_ = false;
  begin_ = end_ = 0;
  if (!line_feed && carriage_return) line_end_ = '\r';
}

bool LineReader::fill() {
  if (at_end_) return false;
  begin_ = 0;
  end_ = source_.read(buffer_.get(), kBufferSize);
  if (end_ == 0) at_end_ = true;
  return end_ > 0;
}

bool LineReader::next(std::size_t keep_columns) {
  if (stepped_back_) {
    stepped_back_ = false;
    return true;
  }
  if (!line_end_chosen_) choose_line_end();
  text_.clear();
  keep_ = keep_columns;
  column_ = 0;
  passed_over_content_ = false;
  bool took_any = false;
  for (;;) {
    if (begin_ == end_ && !fill()) {
      view_ = text_;
      if (took_any) ++line_number_;
      return took_any;
    }
    took_any = true;
    const char* start = buffer_.get() + begin_;
    const std::size_t available = end_ - begin_;
    const void* lf = std::memchr(start, line_end_, available);
    if (lf == nullptr) {
      take(start, available);
      begin_ = end_;
      continue;
    }
    const std::size_t count = static_cast<std::size_t>(static_cast<const char*>(lf) - start);
    begin_ += count + 1;
    ++line_number_;
    if (text_.empty() && column_ == 0 && take_in_place(start, count)) return true;
    take(start, count);
    view_ = text_;
    return true;
  }
}

bool LineReader::plain(const char* bytes, std::size_t count) const {
  return std::memchr(bytes, '\r', count) == nullptr &&
         (tab_size_ == 0 || std::memchr(bytes, '\t', count) == nullptr);
}

bool LineReader::take_in_place(const char* bytes, std::size_t count) {
  count = without_final_cr(bytes, count);
  if (!plain(bytes, count)) return false;
  const std::size_t kept = std::min(keep_, count);
  view_ = std::string_view(bytes, kept);
  pass_over(bytes + kept, count - kept);
  return true;
}

// Appends a piece of the current line. The common piece (no CR, no TAB, all of it kept) is
// copied in one go.
void LineReader::take(const char* bytes, std::size_t count) {
  count = without_final_cr(bytes, count);
  if (!plain(bytes, count)) {
    take_slowly(bytes, count);
    return;
  }
  const std::size_t room = keep_ - std::min(keep_, text_.size());
  const std::size_t kept = std::min(room, count);
  text_.append(bytes, kept);
  column_ += count;
  pass_over(bytes + kept, count - kept);
}

void LineReader::take_slowly(const char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const char c = bytes[i];
    if (c == '\r') continue;
    if (c == '\t' && tab_size_ > 0) {
      const std::uint64_t blanks = tab_size_ - column_ % tab_size_;
      const std::size_t room = keep_ - std::min(keep_, text_.size());
      text_.append(static_cast<std::size_t>(std::min<std::uint64_t>(blanks, room)), ' ');
      column_ += blanks;
      continue;
    }
    if (text_.size() < keep_) {
      text_.push_back(c);
    } else if (is_content(c)) {
      passed_over_content_ = true;
    }
    ++column_;
  }
}

void LineReader::pass_over(const char* bytes, std::size_t count) {
  if (passed_over_content_) return;
  passed_over_content_ = std::any_of(bytes, bytes + count, is_content);
}

bool LineReader::blank() const {
  return !passed_over_content_ && std::none_of(view_.begin(), view_.end(), is_content);
}

}  // namespace quillet::fields
