#include "core/file_run.h"

#include <memory>
#include <new>
#include <optional>

#include "platform/line_end.h"
#include "platform/memory_source.h"
#include "platform/system_failure.h"
#include "quillet/column_file.h"
#include "quillet/messages.h"

namespace quillet::core {
namespace {

std::string file_error(std::string_view file, std::string_view text) {
  return escape(file) + ": error: " + std::string(text);
}

}  // namespace

// A FILE of the run opened for reading: a file, or standard input (read whole first when the
// layout is to be found, so that layouts can be tried on it one after the other).
class FileRun::Input {
 public:
  Input(FileRun& run, const std::string& file) {
    if (run.standard(file)) {
      if (run.options_.reading.file_type == kAutomatic) {
        buffered_ = std::make_unique<platform::MemorySource>(*run.standard_.input);
        source_ = buffered_.get();
      } else {
        source_ = run.standard_.input;
      }
      return;
    }
    file_ = run.files_.open_input(file);
    // Layouts are tried one after the other: a pipe or FIFO is read whole first.
    if (run.options_.reading.file_type == kAutomatic) {
      file_ = platform::made_rewindable(std::move(file_));
    }
    source_ = file_.get();
  }
  platform::ByteSource& source() { return *source_; }
  // Closes a file (standard input stays open).
  void close() {
    if (file_) file_->close();
  }

 private:
  std::unique_ptr<platform::InputFile> file_;
  std::unique_ptr<platform::MemorySource> buffered_;
  platform::ByteSource* source_ = nullptr;
};

FileRun::FileRun(platform::FileSystem& files, const ConvertOptions& options,
                 const std::vector<std::string>& run_files, StandardStreams streams)
    : files_(files), options_(options), standard_(streams) {
  for (const std::string& file : run_files) {
    if (standard(file)) continue;
    if (std::optional<std::string> identity = files_.identity(file)) inputs_.insert(*identity);
  }
}

bool FileRun::read(Input& input, FileReport& report) {
  state_.read(input.source(), options_.reading);
  if (state_.converted()) return true;
  for (const Diagnostic& d : state_.diagnostics())
    report.lines.push_back(message_line(report.file, d));
  return false;
}

FileReport FileRun::convert(const std::string& file) {
  FileReport report;
  report.file = file;
  const bool to_standard_output = standard(file);
  enum class Step { kOpen, kRead, kCreate, kWrite } step = Step::kOpen;
  try {
    if (file.empty()) {
      report.lines.push_back(file_error(file, "empty file name"));
      return report;
    }
    if (to_standard_output && !taken_.insert(std::string(kStandardStream)).second) {
      report.lines.push_back(file_error(file, "given twice in this run"));
      return report;
    }
    if (to_standard_output) step = Step::kRead;  // standard input is open: it can only be read
    Input input(*this, file);
    step = Step::kRead;
    report.column_file = to_standard_output ? std::string(kStandardStream)
                                            : column_file_name(file, options_.output_dir);
    if (!to_standard_output) {
      const std::optional<std::string> output = files_.identity(report.column_file);
      std::string refusal;
      if (output && output == files_.identity(file)) {
        refusal = "would be the input itself";
      } else if (output && written_.contains(*output)) {
        refusal = "is the table of an earlier FILE of this run";
      } else if (output && inputs_.contains(*output)) {
        refusal = "is an input of this run";
      }
      if (!refusal.empty()) {
        report.lines.push_back(
            file_error(file, "its column file " + escape(report.column_file) + " " + refusal));
        return report;
      }
    }
    if (!read(input, report)) return report;

    const Diagnostic* no_series = nullptr;  // said once the table is written
    for (const Diagnostic& d : state_.diagnostics()) {
      if (d.kind == DiagnosticKind::kNoSeries) {
        no_series = &d;
      } else {
        report.lines.push_back(message_line(file, d));
      }
    }
    if (to_standard_output) {
      step = Step::kWrite;
      state_.write(*standard_.output, platform::kFileLineEnd, options_.missing);
      standard_.output->finish();
    } else {
      step = Step::kCreate;
      std::unique_ptr<platform::OutputFile> out = files_.open_replacement(report.column_file);
      step = Step::kWrite;
      state_.write(*out, platform::kFileLineEnd, options_.missing);
      // The input's own failures are judged before the table is put in place.
      step = Step::kRead;
      input.close();
      step = Step::kWrite;
      out->finish();
      if (const auto identity = files_.identity(report.column_file)) written_.insert(*identity);
    }
    if (no_series != nullptr) report.lines.push_back(message_line(file, *no_series));
    report.converted = true;
    report.summary = summary_line(file, report.column_file, Access::view(state_));
  } catch (const platform::SystemFailure& failure) {
    if (to_standard_output && step != Step::kRead) {
      report.lines.push_back(file_error(file, "cannot write standard output: " + failure.reason()));
    } else if (step == Step::kOpen || step == Step::kRead) {
      const auto operation =
          step == Step::kOpen ? Error::Operation::kOpen : Error::Operation::kRead;
      report.lines.push_back(quillet::error_line(
          file, Error(operation, file, failure.reason(), failure.error_code())));
    } else if (failure.operation() == platform::Operation::kRename) {
      report.lines.push_back(
          quillet::error_line(file, Error(Error::Operation::kRename, report.column_file,
                                          failure.reason(), failure.error_code())));
    } else {
      // The column file, or the new file beside it that the failure names.
      const std::string& path = failure.path().empty() ? report.column_file : failure.path();
      const auto operation =
          step == Step::kCreate ? Error::Operation::kCreate : Error::Operation::kWrite;
      report.lines.push_back(quillet::error_line(
          file, Error(operation, path, failure.reason(), failure.error_code())));
    }
  } catch (const std::bad_alloc&) {
    report.lines.push_back(file_error(file, "not enough memory"));
  }
  return report;
}

FileReport FileRun::read_long(const std::string& file, std::string& out,
                              std::string_view line_end) {
  FileReport report;
  report.file = file;
  bool opened = false;
  try {
    if (file.empty()) {
      report.lines.push_back(file_error(file, "empty file name"));
      return report;
    }
    const std::optional<std::string> identity =
        standard(file) ? std::optional<std::string>(kStandardStream) : files_.identity(file);
    if (identity && !taken_.insert(*identity).second) {
      report.lines.push_back(file_error(file, "given twice in this run"));
      return report;
    }
    opened = standard(file);
    Input input(*this, file);
    opened = true;
    if (!read(input, report)) return report;
    input.close();
    report.lines = message_lines(file, Access::view(state_));
    append_long_lines(out, file, Access::view(state_), line_end);
    report.converted = true;
    report.summary = long_summary_line(file, Access::view(state_));
  } catch (const platform::SystemFailure& failure) {
    report.lines.push_back(
        quillet::error_line(file, Error(opened ? Error::Operation::kRead : Error::Operation::kOpen,
                                        file, failure.reason(), failure.error_code())));
  } catch (const std::bad_alloc&) {
    report.lines.push_back(file_error(file, "not enough memory"));
  }
  return report;
}

}  // namespace quillet::core
