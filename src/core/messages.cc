// The command line's wording of a reading: every text it says of a file, in one place.
#include "quillet/messages.h"

#include <cstdio>

namespace quillet {
namespace {

// Texts are appended to a string that holds something: g++ 12 for 32-bit Windows warns of an
// overlap, falsely, where a literal is put in front of a temporary string.
std::string quoted_name(std::string_view name) {
  std::string quoted(1, '(');
  quoted += escape(name);
  quoted += ')';
  return quoted;
}

std::string series_text(const Diagnostic& d) {
  return "series " + std::to_string(d.series) + " " + quoted_name(d.series_name);
}

// The value of thousandths with 3 decimals, as wide as needed: -250 gives "-0.250".
void append_thousandths(std::string& out, std::int64_t t) {
  if (t < 0) out.push_back('-');
  const std::uint64_t magnitude =
      t < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(t) : static_cast<std::uint64_t>(t);
  out += std::to_string(magnitude / 1000);
  char decimals[5];
  std::snprintf(decimals, sizeof decimals, ".%03u", static_cast<unsigned>(magnitude % 1000));
  out += decimals;
}

std::string years_text(const Reading& reading) {
  std::string text = std::to_string(reading.series_count()) + " series, ";
  if (reading.series_count() > 0 && reading.rows() > 0) {
    text += std::to_string(reading.first_row_year()) + "-" +
            std::to_string(reading.first_row_year() + reading.rows() - 1) + ", ";
  }
  text += "file type " + std::to_string(reading.file_type());
  for (const std::string& convention : reading.conventions()) text += ", " + convention;
  return text;
}

}  // namespace

std::string escape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    const bool digit_next = i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9';
    if (byte >= 0x20 && byte != 0x7f) {
      out.push_back(c);
    } else if (c == '\0' && !digit_next) {  // \x00 where a digit follows, so it reads as one byte
      out += "\\0";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned>(byte));
      out += hex;
    }
  }
  return out;
}

std::string diagnostic_text(const Diagnostic& d) {
  std::string text;
  switch (d.kind) {
    case DiagnosticKind::kHeaderLineData:
      text = "line looks like data (series " + escape(d.name) +
             ") but is passed over as a header line; is the file type right?";
      break;
    case DiagnosticKind::kRunInto:
      text = "line " + quoted_name(d.name) + " is read as part of " + series_text(d) +
             "; is its end marker missing?";
      break;
    case DiagnosticKind::kCutOff:
      text = "the input ends inside series " + std::to_string(d.series) +
             ", before its end marker; that series is not converted";
      break;
    case DiagnosticKind::kNoSeries:
      text = "no series was read from the input; the column file holds only its header line";
      break;
    case DiagnosticKind::kNoEndMarker:
      text = series_text(d) + " has no end marker; this line starts series " +
             std::to_string(d.series + 1) + " " + quoted_name(d.name);
      break;
    case DiagnosticKind::kUnfinished:
      text = "the input ends inside " + series_text(d) +
             " without its end marker; its values up to " + std::to_string(d.number) +
             " are converted";
      break;
    case DiagnosticKind::kReadError:
      text = "data cannot be read in columns " + std::to_string(d.first_column) + "-" +
             std::to_string(d.last_column) + ": \"" + escape(d.text) + "\"";
      break;
    case DiagnosticKind::kHeaderLineStop:
      text = "line looks like data (series " + escape(d.name) +
             ") but would be passed over as a header line";
      break;
    case DiagnosticKind::kFileHeaderCut:
      text = "the input ends inside its " + std::to_string(d.number) + " file header lines";
      break;
    case DiagnosticKind::kTooManySeries:
      text = "too many series: the limit is " + std::to_string(d.number);
      break;
    case DiagnosticKind::kSeriesTooLong:
      text = "series too long: the limit is " + std::to_string(d.number) + " values";
      break;
    case DiagnosticKind::kYearRangeTooLong:
      text = "year range too long: the limit is " + std::to_string(d.number) + " years";
      break;
    case DiagnosticKind::kNothingRead:
      text = d.series == 1 ? "no series was read (the input ends inside series 1, before its end "
                             "marker)"
                           : "no series was read from the input";
      break;
    case DiagnosticKind::kRingWidth:
      text = "a ring-width file (measurements, not a chronology): no file type reads it";
      break;
  }
  if (d.severity == Severity::kError && d.file_type >= 0) {
    text = "as file type " + std::to_string(d.file_type) + ": " + text;
  }
  return text;
}

std::string message_line(std::string_view file, const Diagnostic& diagnostic) {
  std::string line = escape(file);
  if (diagnostic.line > 0) {
    line += ':';
    line += std::to_string(diagnostic.line);
  }
  line += diagnostic.severity == Severity::kWarning ? ": warning: " : ": error: ";
  line += diagnostic_text(diagnostic);
  return line;
}

std::string error_line(std::string_view file, const Error& error) {
  std::string what;
  switch (error.operation()) {
    case Error::Operation::kOpen:
      what = "cannot open ";
      break;
    case Error::Operation::kRead:
    case Error::Operation::kClose:
      what = "cannot read ";
      break;
    case Error::Operation::kCreate:
      what = "cannot create ";
      break;
    case Error::Operation::kWrite:
      what = "cannot write ";
      break;
    case Error::Operation::kRename:
      return escape(file) + ": error: cannot put " + escape(error.path()) +
             " in place: " + error.reason();
  }
  return escape(file) + ": error: " + what + escape(error.path()) + ": " + error.reason();
}

std::vector<std::string> message_lines(std::string_view file, const Reading& reading) {
  std::vector<std::string> lines;
  for (const Diagnostic& d : reading.diagnostics()) lines.push_back(message_line(file, d));
  return lines;
}

std::string summary_line(std::string_view file, std::string_view column_file,
                         const Reading& reading) {
  return escape(file) + " -> " + escape(column_file) + ": " + years_text(reading);
}

std::string long_table_header() { return "file\tseries_number\tseries\tyear\tvalue\tcount"; }

std::string long_summary_line(std::string_view file, const Reading& reading) {
  return escape(file) + ": " + years_text(reading);
}

void append_long_lines(std::string& out, std::string_view file, const Reading& reading,
                       std::string_view line_end) {
  const std::string file_field = escape(file) + "\t";
  std::vector<std::int64_t> thousandths;
  std::vector<std::int32_t> counts;
  for (int i = 0; i < reading.series_count(); ++i) {
    const Series series = reading.series(i);
    const int n = series.size();
    if (n <= 0) continue;
    thousandths.resize(static_cast<std::size_t>(n));
    counts.resize(static_cast<std::size_t>(n));
    series.copy_thousandths(thousandths.data());
    series.copy_counts(counts.data());
    const std::string head =
        file_field + std::to_string(i + 1) + "\t" + escape(series.name()) + "\t";
    for (int k = 0; k < n; ++k) {
      out += head;
      out += std::to_string(series.first_year() + k);
      out.push_back('\t');
      const auto at = static_cast<std::size_t>(k);
      if (thousandths[at] == INT64_MAX || thousandths[at] == INT64_MIN) {
        char wide[64];
        std::snprintf(wide, sizeof wide, "%.3f", static_cast<double>(series.value(k)));
        out += wide;
      } else {
        append_thousandths(out, thousandths[at]);
      }
      out.push_back('\t');
      out += std::to_string(counts[at]);
      out += line_end;
    }
  }
}

}  // namespace quillet
