#include "quillet/column_file.h"

#include <ostream>
#include <stdexcept>

#include "core/errors.h"
#include "core/reading_state.h"
#include "platform/files.h"
#include "platform/line_end.h"

namespace quillet {
namespace {

bool is_separator(char c) {
#if defined(_WIN32)
  return c == '/' || c == '\\' || c == ':';
#else
  return c == '/';
#endif
}

const core::ReadingState& converted_state(const Reading& reading, const WriteOptions& options) {
  if (!reading.converted()) throw std::invalid_argument("the reading was not converted");
  if (options.missing && options.missing->find_first_of("\t\r\n") != std::string::npos) {
    throw std::invalid_argument("the text of missing cells may not hold a TAB, CR or LF");
  }
  return core::Access::state(reading);
}

// A stream as the column file's output.
class StreamOutput : public platform::OutputFile {
 public:
  explicit StreamOutput(std::ostream& out) : out_(out) {}
  void write(std::string_view bytes) override {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out_) throw platform::SystemFailure(platform::Operation::kWrite, "the stream failed");
  }
  void finish() override {
    out_.flush();
    if (!out_) throw platform::SystemFailure(platform::Operation::kWrite, "the stream failed");
  }
  void abandon() noexcept override {}

 private:
  std::ostream& out_;
};

}  // namespace

std::string column_file_name(std::string_view file, const std::optional<std::string>& folder) {
  std::size_t base_start = file.size();
  while (base_start > 0 && !is_separator(file[base_start - 1])) --base_start;
  std::string_view base = file.substr(base_start);
  const std::size_t dot = base.rfind('.');
  if (dot != std::string_view::npos && dot > 0) base = base.substr(0, dot);
  std::string path = folder ? *folder : std::string(file.substr(0, base_start));
  if (!path.empty() && !is_separator(path.back())) path += '/';
  return path + std::string(base) + "_COL";
}

void write_column_file(const Reading& reading, const std::string& path,
                       const WriteOptions& options) {
  const core::ReadingState& state = converted_state(reading, options);
  try {
    std::unique_ptr<platform::OutputFile> out = platform::real_file_system().open_replacement(path);
    state.write(*out, platform::kFileLineEnd, options.missing);
    out->finish();
  } catch (const platform::SystemFailure& failure) {
    throw core::library_error(failure, path);
  }
}

void write_column_file(const Reading& reading, std::ostream& out, const WriteOptions& options) {
  const core::ReadingState& state = converted_state(reading, options);
  StreamOutput output(out);
  try {
    state.write(output, platform::kFileLineEnd, options.missing);
    output.finish();
  } catch (const platform::SystemFailure& failure) {
    throw core::library_error(failure, "<stream>");
  }
}

}  // namespace quillet
