#include "driver/run_driver.h"

#include <memory>
#include <new>
#include <optional>
#include <string>

#include "core/file_types.h"
#include "core/reading_state.h"
#include "driver/dialogue.h"
#include "driver/output_name.h"
#include "driver/run_error.h"
#include "fields/field_reader.h"
#include "fields/field_writer.h"
#include "fields/line_reader.h"
#include "platform/line_end.h"
#include "platform/system_failure.h"
#include "table/limits.h"

namespace quillet::driver {
namespace {

constexpr std::string_view kOutputIsInput = "Output file is the input file";

RunError not_enough_memory() { return RunError::run_time(kNotEnoughMemory, "READ", kInputUnit); }

// A failure the system reports for a file is reported with the file's unit designation.
template <typename Action>
auto on_unit(std::string_view unit, Action&& action) -> decltype(action()) {
  try {
    return action();
  } catch (const platform::SystemFailure& failure) {
    throw RunError::system(failure.reason(), operation_word(failure.operation()), unit);
  }
}

// The input file as the run reads it: unit 14.
class InputUnit : public platform::ByteSource {
 public:
  explicit InputUnit(std::unique_ptr<platform::InputFile> file) : file_(std::move(file)) {}
  std::size_t read(char* buffer, std::size_t capacity) override {
    return on_unit(kInputUnit, [&] { return file_->read(buffer, capacity); });
  }
  bool rewindable() const override { return file_->rewindable(); }
  void rewind() override {
    on_unit(kInputUnit, [&] { file_->rewind(); });
  }
  void close() {
    on_unit(kInputUnit, [&] { file_->close(); });
  }

 private:
  std::unique_ptr<platform::InputFile> file_;
};

// The column file as the run writes it: unit 16.
class ColumnUnit : public platform::OutputFile {
 public:
  explicit ColumnUnit(std::unique_ptr<platform::OutputFile> file) : file_(std::move(file)) {}
  void write(std::string_view bytes) override {
    on_unit(kColumnUnit, [&] { file_->write(bytes); });
  }
  void finish() override {
    on_unit(kColumnUnit, [&] { file_->finish(); });
  }
  void abandon() noexcept override { file_->abandon(); }

 private:
  std::unique_ptr<platform::OutputFile> file_;
};

class Run {
 public:
  Run(platform::ConsoleStreams& streams, platform::FileSystem& files, int tab_size)
      : console_(streams),
        files_(files),
        tab_size_(tab_size),
        answers_(console_.input(), tab_size) {}

  bool quit_by_slash() const { return quit_by_slash_; }

  int go() noexcept {
    std::optional<RunError> failure;
    try {
      const int status = converse_and_convert();
      close_as_they_stand();
      console_.end_run();
      return status;
    } catch (const RunError& error) {
      failure = error;
    } catch (const platform::SystemFailure& console_failure) {
      // The files' failures come with their units (on_unit); what is left is the console's.
      failure = RunError::system(console_failure.reason(),
                                 operation_word(console_failure.operation()), kConsoleUnit);
    } catch (const std::bad_alloc&) {
      failure = not_enough_memory();
    }
    close_as_they_stand();
    console_.write_report(failure->report_lines());
    return kExitFailure;
  }

 private:
  int converse_and_convert();
  std::optional<std::string> ask_input_name();
  int ask_file_type();
  std::string read_answer(std::size_t keep_columns);
  void open_files(const std::string& input_name);
  void write_lines(const std::vector<std::string>& lines);
  void close_as_they_stand() noexcept;

  // What the reading meets, said as it is met.
  class Report : public core::Observer {
   public:
    explicit Report(platform::Console& console) : console_(console) {}
    void series_read(int s, const reading::SeriesResult& series) override {
      for (const std::string& line : series_report(s, series)) console_.write_line(line);
    }
    void warning(const Diagnostic& diagnostic) override {
      console_.write_error_line(warning_line(diagnostic));
    }

   private:
    platform::Console& console_;
  };

  platform::Console console_;
  platform::FileSystem& files_;
  int tab_size_;
  fields::LineReader answers_;
  std::unique_ptr<InputUnit> input_file_;
  std::unique_ptr<ColumnUnit> column_file_;
  std::string output_name_;
  core::ReadingState reading_;
  bool quit_by_slash_ = false;
};

int Run::converse_and_convert() {
  for (const std::string& line : banner_lines()) console_.write_line(line);
  const std::optional<std::string> input_name = ask_input_name();
  if (!input_name) {  // "/" at the prompt
    quit_by_slash_ = true;
    return kExitNormal;
  }
  const core::FileType& type = core::file_type(ask_file_type());
  console_.write_line(plain_line(" "));
  open_files(*input_name);

  Report report(console_);
  ReadOptions options;
  options.file_type = type.number;
  options.strict = true;        // the dialogue reads by the decade-line rules alone
  options.every_count = false;  // its N column needs only the first series' counts
  options.tab_size = tab_size_;
  reading_.read(*input_file_, options, &report);
  const Diagnostic* problem = reading_.problem();
  if (problem != nullptr && problem->kind != DiagnosticKind::kYearRangeTooLong) {
    switch (problem->kind) {
      case DiagnosticKind::kFileHeaderCut:
        throw RunError::run_time(kPastEndOfFile, "READ", kInputUnit);
      case DiagnosticKind::kReadError:
        // The run stops in good order; the column file is closed untouched.
        write_lines(stop_lines(kErrorReadingData));
        console_.write_error_line(read_error_place(*problem));
        return kExitFailure;
      case DiagnosticKind::kTooManySeries:
        write_lines(stop_lines(limit_message(table::Limit::kSeries)));
        return kExitFailure;
      case DiagnosticKind::kSeriesTooLong:
        write_lines(stop_lines(limit_message(table::Limit::kValues)));
        return kExitFailure;
      default:
        break;  // no other problem ends a reading in a given file type
    }
  }

  for (const std::string& line : year_range_report(output_name_, reading_.range())) {
    console_.write_line(line);
  }
  if (problem != nullptr) {  // the year range is too long
    write_lines(stop_lines(limit_message(table::Limit::kYears)));
    return kExitFailure;
  }
  reading_.write(*column_file_, platform::kFileLineEnd, std::nullopt);

  input_file_->close();
  input_file_.reset();
  column_file_->finish();
  column_file_.reset();
  if (reading_.series_count() == 0) console_.write_error_line(no_series_warning());
  console_.write_line(closing_line());
  return kExitNormal;
}

void Run::write_lines(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) console_.write_line(line);
}

std::string Run::read_answer(std::size_t keep_columns) {
  if (!answers_.next(keep_columns)) {
    throw RunError::run_time(kPastEndOfFile, "READ", kConsoleUnit);
  }
  std::string answer(answers_.text());
  answer.resize(keep_columns, ' ');
  return answer;
}

// Asks until a file of the name exists. Returns nullopt for "/" (its first character only).
std::optional<std::string> Run::ask_input_name() {
  for (;;) {
    console_.write_line("");
    console_.write_prompt(name_prompt());
    const std::string name = read_answer(kAnswerLength);
    if (name[0] == '/') return std::nullopt;
    const std::string file_name = trim_blanks(name);
    if (file_name.empty()) {
      throw RunError::run_time(kEmptyFileName, "OPEN", kInputUnit);
    }
    if (files_.exists(file_name)) return name;
    for (const std::string& line : not_found_notice(name)) console_.write_line(line);
    console_.write_line(pause_line());
    read_answer(0);
  }
}

// The first character of the answer, read as an integer field of width 1.
int Run::ask_file_type() {
  for (const std::string& line : file_type_menu()) console_.write_line(line);
  console_.write_prompt(file_type_prompt());
  const std::optional<std::int32_t> file_type = fields::parse_integer(read_answer(1));
  if (!file_type) throw RunError::run_time(kIllegalCharacter, "READ", kConsoleUnit);
  return *file_type;
}

void Run::open_files(const std::string& input_name) {
  const std::string input_file_name = trim_blanks(input_name);
  input_file_ = std::make_unique<InputUnit>(
      on_unit(kInputUnit, [&] { return files_.open_input(input_file_name); }));
  output_name_ = derive_output_name(input_name);
  for (const std::string& line : opening_report(input_name, output_name_)) {
    console_.write_line(line);
  }
  // Opening the input as the column file would destroy it.
  const std::string output_file_name = trim_blanks(output_name_);
  if (files_.same_file(input_file_name, output_file_name)) {
    throw RunError::run_time(kOutputIsInput, "OPEN", kColumnUnit);
  }
  column_file_ = std::make_unique<ColumnUnit>(
      on_unit(kColumnUnit, [&] { return files_.open_output(output_file_name); }));
}

void Run::close_as_they_stand() noexcept {
  if (input_file_) {
    try {
      input_file_->close();
    } catch (const RunError&) {
      // nothing was written to it; the run is ending anyway
    }
    input_file_.reset();
  }
  if (column_file_) {
    column_file_->abandon();
    column_file_.reset();
  }
}

}  // namespace

RunEnd run_once(platform::ConsoleStreams& streams, platform::FileSystem& files, int tab_size) {
  try {
    Run run(streams, files, tab_size);
    const int status = run.go();
    return {status, run.quit_by_slash()};
  } catch (const std::bad_alloc&) {
    // Only setting up the run can get here (memory for its first buffers): go() catches the
    // rest.
    try {
      platform::Console(streams).write_report(not_enough_memory().report_lines());
    } catch (...) {
      // not even the report's few bytes are left
    }
    return {kExitFailure, false};
  }
}

}  // namespace quillet::driver
