#include "driver/batch.h"

#include <memory>
#include <new>
#include <optional>
#include <set>
#include <vector>

#include "driver/conversion.h"
#include "driver/dialogue.h"
#include "driver/file_types.h"
#include "fields/line_reader.h"
#include "platform/arguments.h"
#include "platform/line_end.h"
#include "platform/system_failure.h"
#include "table/limits.h"

namespace quillet::driver {
namespace {

constexpr std::string_view kStandardStream = "-";

bool is_separator(char c) {
#if defined(_WIN32)
  return c == '/' || c == '\\' || c == ':';
#else
  return c == '/';
#endif
}

// A limit's console text as a message: " Too many series: ..." gives "too many series: ...".
std::string limit_text(table::Limit limit) {
  std::string text = table::limit_message(limit).substr(1);
  text[0] = static_cast<char>(text[0] - 'A' + 'a');
  return text;
}

// How a failure the system reports is worded, by the operation that failed.
std::string system_text(const platform::SystemFailure& failure, std::string_view input,
                        std::string_view column_file) {
  const std::string& operation = failure.operation();
  std::string what;
  if (operation == "RENAME") {
    what = "cannot put " + std::string(column_file) + " in place";
  } else if (operation == "OPEN" && !column_file.empty()) {
    what = "cannot create " + std::string(column_file);
  } else if (operation == "OPEN") {
    what = "cannot open " + std::string(input);
  } else if (operation == "READ") {
    what = "cannot read " + std::string(input);
  } else {
    what = "cannot write " + std::string(column_file);
  }
  return what + ": " + failure.reason();
}

// A standard input read whole, so that file types can be tried on it one after the other.
class Buffered : public platform::ByteSource {
 public:
  explicit Buffered(platform::ByteSource& source) {
    char chunk[1 << 16];
    for (std::size_t n; (n = source.read(chunk, sizeof chunk)) > 0;) bytes_.append(chunk, n);
  }
  std::size_t read(char* buffer, std::size_t capacity) override {
    const std::size_t n = std::min(capacity, bytes_.size() - at_);
    bytes_.copy(buffer, n, at_);
    at_ += n;
    return n;
  }
  bool rewindable() const override { return true; }
  void rewind() override { at_ = 0; }

 private:
  std::string bytes_;
  std::size_t at_ = 0;
};

// The table of a standard input, written to standard output.
class StandardOutput : public platform::OutputFile {
 public:
  explicit StandardOutput(platform::ConsoleStreams& streams) : streams_(streams) {}
  void write(std::string_view bytes) override { streams_.write_out(bytes); }
  void finish() override { streams_.flush(); }
  void abandon() noexcept override {}

 private:
  platform::ConsoleStreams& streams_;
};

// What a reading meets, kept to be said once the file type is settled.
class Findings : public ReadEvents {
 public:
  void series_read(int, const reading::SeriesResult&) override {}
  void header_line_data(const reading::HeaderLineData& data) override {
    lines_.push_back({data.line, "line looks like data (series " + data.name +
                                     ") but is passed over as a header line; is the file type "
                                     "right?"});
  }
  void run_into(const reading::RunInto& run_into) override {
    lines_.push_back({run_into.line, "line (" + run_into.name + ") is read as part of series " +
                                         std::to_string(run_into.series) + " (" +
                                         run_into.series_name + "); is its end marker missing?"});
  }
  void cut_off(int s) override { lines_.push_back({0, cut_off_text(s)}); }
  struct Line {
    std::int64_t line;  // 0: no line applies
    std::string text;
  };
  const std::vector<Line>& lines() const { return lines_; }

 private:
  std::vector<Line> lines_;
};

// Why a reading cannot give a table: its first problem, and the line (0: no line applies).
struct Problem {
  std::int64_t line = 0;
  std::string text;
};

class Batch {
 public:
  Batch(const Options& options, platform::ConsoleStreams& streams, platform::FileSystem& files,
        int tab_size)
      : options_(options), streams_(streams), files_(files), tab_size_(tab_size) {
    for (const std::string& file : options.files) {
      if (file == kStandardStream) summaries_to_error_ = true;
    }
  }

  int run() {
    int status = kBatchConverted;
    for (const std::string& file : options_.files) {
      bool converted = false;
      try {
        converted = convert(file);
      } catch (const platform::SystemFailure& failure) {
        say(file, 0, "error", system_text(failure, file, column_file_));
      } catch (const std::bad_alloc&) {
        say(file, 0, "error", "not enough memory");
      }
      if (!converted) status = kBatchNotConverted;
    }
    streams_.flush();
    return status;
  }

 private:
  bool convert(const std::string& file);
  // The problem of a reading whose years are `range`, or nullopt when it gives a table. A
  // trial (a layout tried) that reads no series has a problem too.
  std::optional<Problem> problem_of(const ReadOutcome& outcome, const table::YearRange& range,
                                    const FileType& type, bool trial);
  void say(std::string_view file, std::int64_t line, std::string_view kind, std::string_view text) {
    std::string out(file);
    if (line > 0) out += ":" + std::to_string(line);
    out += ": ";
    out += kind;
    out += ": ";
    out += text;
    out += "\n";
    streams_.flush();  // what was said before stands before it
    streams_.write_err(out);
  }

  const Options& options_;
  platform::ConsoleStreams& streams_;
  platform::FileSystem& files_;
  int tab_size_;
  bool summaries_to_error_ = false;
  Conversion conversion_;
  std::set<std::string> written_;  // the column files of this run, by identity
  std::string column_file_;        // of the file being converted, once named
};

std::optional<Problem> Batch::problem_of(const ReadOutcome& outcome, const table::YearRange& range,
                                         const FileType& type, bool trial) {
  switch (outcome.end) {
    case ReadEnd::kEndOfInput:
      break;
    case ReadEnd::kFileHeaderCut:
      return Problem{0, "the input ends inside its " + std::to_string(type.file_header_lines) +
                            " file header lines"};
    case ReadEnd::kReadError:
      return Problem{outcome.error.line, "data cannot be read in columns " +
                                             std::to_string(outcome.error.first_column) + "-" +
                                             std::to_string(outcome.error.last_column) + ": \"" +
                                             outcome.error.text + "\""};
    case ReadEnd::kHeaderLineData:
      return Problem{outcome.header_data->line, "line looks like data (series " +
                                                    outcome.header_data->name +
                                                    ") but would be passed over as a header line"};
    case ReadEnd::kTooManySeries:
      return Problem{0, limit_text(table::Limit::kSeries)};
    case ReadEnd::kSeriesTooLong:
      return Problem{0, limit_text(table::Limit::kValues)};
  }
  if (range.maxage > table::kMaxYears) {
    return Problem{0, limit_text(table::Limit::kYears)};
  }
  if (trial && outcome.series_count == 0) {
    return Problem{0, outcome.cut_off ? "no series was read (the input ends inside series 1, "
                                        "before its end marker)"
                                      : "no series was read from the input"};
  }
  return std::nullopt;
}

bool Batch::convert(const std::string& file) {
  column_file_.clear();
  const bool standard = file == kStandardStream;
  const std::string column_file =
      standard ? std::string(kStandardStream) : column_file_for(file, options_.output_dir);

  std::unique_ptr<platform::InputFile> input_file;
  std::unique_ptr<platform::ByteSource> buffered;
  platform::ByteSource* source = nullptr;
  if (standard) {
    if (!options_.file_type) {
      buffered = std::make_unique<Buffered>(streams_.input());
      source = buffered.get();
    } else {
      source = &streams_.input();
    }
  } else {
    input_file = files_.open_input(file);
    source = input_file.get();
    const std::optional<std::string> output_identity = files_.identity(column_file);
    if (output_identity && output_identity == files_.identity(file)) {
      say(file, 0, "error", "its column file " + column_file + " would be the input itself");
      return false;
    }
    if (output_identity && written_.contains(*output_identity)) {
      say(file, 0, "error",
          "its column file " + column_file + " is the table of an earlier FILE of this run");
      return false;
    }
  }

  // The layout: the one given, or the first of the four that reads the file without a problem.
  Findings findings;
  const FileType* type = nullptr;
  ReadOutcome outcome;
  table::YearRange range;
  if (options_.file_type) {
    type = &file_type(*options_.file_type);
    fields::LineReader input(*source, tab_size_, fields::LineEnds::kFileDecides);
    outcome = conversion_.read(input, *type, findings);
    if (outcome.end == ReadEnd::kEndOfInput) range = conversion_.year_range();
    if (const auto problem = problem_of(outcome, range, *type, false)) {
      for (const auto& line : findings.lines()) say(file, line.line, "warning", line.text);
      say(file, problem->line, "error", problem->text);
      return false;
    }
  } else {
    std::vector<std::pair<int, Problem>> problems;
    for (const int layout : kLayoutsToTry) {
      if (!problems.empty()) source->rewind();
      findings = Findings();
      fields::LineReader input(*source, tab_size_, fields::LineEnds::kFileDecides);
      outcome = conversion_.read(input, file_type(layout), findings, true);
      if (outcome.end == ReadEnd::kEndOfInput) range = conversion_.year_range();
      const auto problem = problem_of(outcome, range, file_type(layout), true);
      if (!problem) {
        type = &file_type(layout);
        break;
      }
      problems.emplace_back(layout, *problem);
    }
    if (type == nullptr) {
      for (const auto& [layout, problem] : problems) {
        say(file, problem.line, "error",
            "as file type " + std::to_string(layout) + ": " + problem.text);
      }
      return false;
    }
  }
  for (const auto& line : findings.lines()) say(file, line.line, "warning", line.text);

  column_file_ = column_file;
  if (standard) {
    StandardOutput out(streams_);
    streams_.make_output_binary();
    conversion_.write(out, range, platform::kFileLineEnd, options_.missing);
    out.finish();
  } else {
    std::unique_ptr<platform::OutputFile> out = files_.open_replacement(column_file);
    conversion_.write(*out, range, platform::kFileLineEnd, options_.missing);
    out->finish();
    if (const auto identity = files_.identity(column_file)) written_.insert(*identity);
    input_file->close();
  }
  if (outcome.series_count == 0) {
    say(file, 0, "warning", no_series_text());
  }
  if (!options_.quiet) {
    std::string summary =
        file + " -> " + column_file + ": " + std::to_string(outcome.series_count) + " series, ";
    if (outcome.series_count > 0 && range.maxage > 0) {
      summary +=
          std::to_string(range.minyr) + "-" + std::to_string(range.minyr + range.maxage - 1) + ", ";
    }
    summary += "file type " + std::to_string(type->number) + "\n";
    if (summaries_to_error_) {
      streams_.flush();
      streams_.write_err(summary);
    } else {
      streams_.write_out(summary);
    }
  }
  return true;
}

}  // namespace

std::string column_file_for(std::string_view file, const std::optional<std::string>& dir) {
  std::size_t base_start = file.size();
  while (base_start > 0 && !is_separator(file[base_start - 1])) --base_start;
  std::string_view base = file.substr(base_start);
  const std::size_t dot = base.rfind('.');
  if (dot != std::string_view::npos && dot > 0) base = base.substr(0, dot);
  std::string folder = dir ? *dir : std::string(file.substr(0, base_start));
  if (!folder.empty() && !is_separator(folder.back())) folder += '/';
  return folder + std::string(base) + "_COL";
}

int run_command_line(const std::vector<std::string>& arguments, platform::ConsoleStreams& streams,
                     platform::FileSystem& files, int tab_size) {
  const auto parsed = parse_command_line(arguments);
  const auto usage_error = [&](const std::string& message) {
    streams.write_err("quillet: " + message + " (quillet --help shows the usage)\n");
    streams.flush();
    return kBatchUsage;
  };
  if (const auto* error = std::get_if<UsageError>(&parsed)) return usage_error(error->message);
  const Options& options = std::get<Options>(parsed);
  if (options.help) {
    streams.write_out(usage_text());
    streams.flush();
    return kBatchConverted;
  }
  if (options.version) {
    streams.write_out(version_line() + "\n");
    streams.flush();
    return kBatchConverted;
  }
  if (options.output_dir && !files.is_directory(*options.output_dir)) {
    return usage_error("the output folder " + *options.output_dir + " does not exist");
  }
  Options expanded = options;
  expanded.files = platform::expand_wildcards(options.files);
  return Batch(expanded, streams, files, tab_size).run();
}

}  // namespace quillet::driver
