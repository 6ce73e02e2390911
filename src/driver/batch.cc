#include "driver/batch.h"

#include <string>
#include <vector>

#include "core/file_run.h"
#include "platform/arguments.h"
#include "platform/line_end.h"
#include "platform/system_failure.h"
#include "quillet/messages.h"

namespace quillet::driver {
namespace {

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

// The command line's output: summary lines and tables on standard output, messages on standard
// error. A failure of standard output is said once, on standard error, and makes the run fail;
// what is written after it is dropped.
class Output {
 public:
  explicit Output(platform::ConsoleStreams& streams) : streams_(streams) {}

  void out(std::string_view text) {
    try {
      streams_.write_out(text);
    } catch (const platform::SystemFailure& failure) {
      failed(failure);
    }
  }
  void err(std::string_view text) {
    flush();  // what was said before stands before it
    streams_.write_err(text);
  }
  void flush() {
    try {
      streams_.flush();
    } catch (const platform::SystemFailure& failure) {
      failed(failure);
    }
  }
  // Standard output failed while a FILE's table was written to it (already reported there).
  void note_failure() { failed_ = true; }
  bool failed() const { return failed_; }

 private:
  void failed(const platform::SystemFailure& failure) {
    if (failed_) return;
    failed_ = true;
    streams_.write_err("quillet: error: cannot write standard output: " + failure.reason() + "\n");
  }
  platform::ConsoleStreams& streams_;
  bool failed_ = false;
};

int run_files(const Options& options, platform::ConsoleStreams& streams,
              platform::FileSystem& files, int tab_size) {
  ConvertOptions convert;
  convert.reading.file_type = options.file_type ? *options.file_type : kAutomatic;
  convert.reading.strict = options.strict;
  convert.reading.every_count = options.long_table;
  convert.reading.tab_size = tab_size;
  convert.output_dir = options.output_dir;
  convert.missing = options.missing;

  bool summaries_to_error = options.long_table;
  for (const std::string& file : options.files) {
    if (file == core::kStandardStream) summaries_to_error = true;
  }
  Output output(streams);
  StandardOutput table_output(streams);
  core::FileRun run(files, convert, options.files, {&streams.data_input(), &table_output});
  if (options.long_table) {
    streams.make_output_binary();
    output.out(long_table_header() + std::string(platform::kFileLineEnd));
  }

  int status = kBatchConverted;
  std::string long_lines;
  for (const std::string& file : options.files) {
    if (file == core::kStandardStream && !options.long_table) streams.make_output_binary();
    long_lines.clear();
    const FileReport report = options.long_table
                                  ? run.read_long(file, long_lines, platform::kFileLineEnd)
                                  : run.convert(file);
    for (const std::string& line : report.lines) output.err(line + "\n");
    if (!report.converted) {
      status = kBatchNotConverted;
      continue;
    }
    output.out(long_lines);
    // A long table whose lines did not reach standard output has nothing to sum up.
    if (options.quiet || (options.long_table && output.failed())) continue;
    if (summaries_to_error) {
      output.err(report.summary + "\n");
    } else {
      output.out(report.summary + "\n");
    }
  }
  output.flush();
  // Messages that could not be written leave a run that did not say what it did.
  if (output.failed() || streams.error_stream_failed()) status = kBatchNotConverted;
  return status;
}

}  // namespace

int run_command_line(const std::vector<std::string>& arguments, platform::ConsoleStreams& streams,
                     platform::FileSystem& files, int tab_size) {
  const auto parsed = parse_command_line(arguments);
  const auto usage_error = [&](const std::string& message) {
    streams.write_err("quillet: " + message + " (quillet --help shows the usage)\n");
    return kBatchUsage;
  };
  if (const auto* error = std::get_if<UsageError>(&parsed)) return usage_error(error->message);
  const Options& options = std::get<Options>(parsed);
  if (options.help || options.version) {
    Output output(streams);
    output.out(options.help ? usage_text() : version_line() + "\n");
    output.flush();
    return output.failed() ? kBatchNotConverted : kBatchConverted;
  }
  ConvertOptions checked;
  checked.output_dir = options.output_dir;
  checked.missing = options.missing;
  if (const auto problem = core::options_problem(checked, files)) return usage_error(*problem);
  Options expanded = options;
  expanded.files = platform::expand_wildcards(options.files);
  return run_files(expanded, streams, files, tab_size);
}

}  // namespace quillet::driver
