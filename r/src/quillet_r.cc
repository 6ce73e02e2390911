// The package's side of the library: reads and converts with it and hands R the data frames
// and, per file, the command line's lines, split into warnings and errors. The R code signals
// them as conditions; nothing here words a message of its own.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "quillet/quillet.h"

// cpp11 after the library's headers: R's headers define macros that standard headers must not
// see.
#include <R_ext/Rdynload.h>
#include <cpp11.hpp>
#include <cpp11/declarations.hpp>

namespace {

// One Reader for the session: its tables are reserved once and serve every read.
quillet::Reader& session_reader() {
  static quillet::Reader reader;
  return reader;
}

SEXP native_string(std::string_view text) {
  return cpp11::safe[Rf_mkCharLenCE](text.data(), static_cast<int>(text.size()), CE_NATIVE);
}

cpp11::writable::strings string_vector(const std::vector<std::string>& texts) {
  cpp11::writable::strings out(static_cast<R_xlen_t>(texts.size()));
  for (std::size_t i = 0; i < texts.size(); ++i) {
    SET_STRING_ELT(out, static_cast<R_xlen_t>(i), native_string(texts[i]));
  }
  return out;
}

std::string trim_trailing_blanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// The command line's lines for one file, and which of them are errors: a line is an error
// when behind "FILE:" (FILE escaped as the lines write it) and an optional line number comes
// ": error: " (" error: " without a number).
struct Lines {
  std::vector<std::string> all;
  std::vector<std::string> errors;
  int first_error_line = NA_INTEGER;
};

Lines split_lines(std::string_view file, std::vector<std::string> lines) {
  Lines out;
  const std::string prefix = quillet::escape(file) + ":";
  for (const std::string& line : lines) {
    if (line.compare(0, prefix.size(), prefix) != 0) continue;
    std::size_t at = prefix.size();
    const std::size_t digits_start = at;
    while (at < line.size() && line[at] >= '0' && line[at] <= '9') ++at;
    const bool numbered = at > digits_start;
    if (numbered) {
      if (at >= line.size() || line[at] != ':') continue;
      ++at;
    }
    if (line.compare(at, 8, " error: ") != 0) continue;
    if (out.errors.empty() && numbered) {
      long long number = 0;
      auto [end, problem] =
          std::from_chars(line.data() + digits_start, line.data() + at - 1, number);
      if (problem == std::errc() && number <= INT32_MAX)
        out.first_error_line = static_cast<int>(number);
    }
    out.errors.push_back(line);
  }
  out.all = std::move(lines);
  return out;
}

// list(file, converted, lines, errors, line) for R's conditions.
cpp11::writable::list report(std::string_view file, bool converted, const Lines& lines) {
  using namespace cpp11::literals;
  cpp11::writable::strings name(1);
  SET_STRING_ELT(name, 0, native_string(file));
  return cpp11::writable::list({"file"_nm = name, "converted"_nm = cpp11::as_sexp(converted),
                                "lines"_nm = string_vector(lines.all),
                                "errors"_nm = string_vector(lines.errors),
                                "line"_nm = cpp11::as_sexp(lines.first_error_line)});
}

// The report of an input that could not be opened or read: the command line's error line.
cpp11::writable::list failure_report(std::string_view file, const quillet::Error& error) {
  Lines lines;
  lines.all = {quillet::error_line(file, error)};
  lines.errors = lines.all;
  return report(file, false, lines);
}

quillet::ReadOptions read_options(int type, bool strict) {
  quillet::ReadOptions options;
  options.file_type = type < 0 ? quillet::kAutomatic : type;
  options.strict = strict;
  return options;
}

std::string native_path(SEXP text) { return cpp11::safe[Rf_translateChar](text); }

// `inputs`: paths (a character vector, of which element `index` is read) or the bytes
// themselves (a raw vector, named "<raw>").
const quillet::Reading& read_input(SEXP inputs, R_xlen_t index, const quillet::ReadOptions& options,
                                   std::string& name) {
  if (TYPEOF(inputs) == RAWSXP) {
    name = "<raw>";
    const std::string_view bytes(reinterpret_cast<const char*>(RAW(inputs)),
                                 static_cast<std::size_t>(Rf_xlength(inputs)));
    return session_reader().read_bytes(bytes, options, name);
  }
  name = native_path(STRING_ELT(inputs, index));
  return session_reader().read_file(name, options);
}

void set_class(SEXP object, std::initializer_list<const char*> names) {
  cpp11::writable::strings classes(static_cast<R_xlen_t>(names.size()));
  R_xlen_t i = 0;
  for (const char* name : names) SET_STRING_ELT(classes, i++, native_string(name));
  Rf_setAttrib(object, R_ClassSymbol, classes);
}

void set_row_count(SEXP frame, R_xlen_t rows) {
  cpp11::writable::integers row_names({NA_INTEGER, -static_cast<int>(rows)});
  Rf_setAttrib(frame, R_RowNamesSymbol, row_names);
}

// make.unique() of R, for names that hold a duplicate.
cpp11::strings unique_names(cpp11::writable::strings names) {
  std::unordered_set<SEXP> seen;
  bool duplicate = false;
  for (R_xlen_t i = 0; i < names.size() && !duplicate; ++i) {
    duplicate = !seen.insert(STRING_ELT(names, i)).second;
  }
  if (!duplicate) return names;
  const cpp11::function make_unique = cpp11::package("base")["make.unique"];
  return cpp11::strings(static_cast<SEXP>(make_unique(names)));
}

// Per series: name, first_year, last_year, label, header_lines (a list of character vectors).
cpp11::sexp series_frame(const quillet::Reading& reading) {
  using namespace cpp11::literals;
  const int count = reading.series_count();
  cpp11::writable::strings names(count), labels(count);
  cpp11::writable::integers first(count), last(count);
  cpp11::writable::list headers(count);
  for (int s = 0; s < count; ++s) {
    const quillet::Series series = reading.series(s);
    SET_STRING_ELT(names, s, native_string(series.name()));
    SET_STRING_ELT(labels, s, native_string(series.label()));
    first[s] = series.first_year();
    last[s] = series.last_year();
    headers[s] = string_vector(series.header_lines());
  }
  cpp11::writable::list frame({"name"_nm = names, "first_year"_nm = first, "last_year"_nm = last,
                               "label"_nm = labels, "header_lines"_nm = headers});
  set_class(frame, {"data.frame"});
  set_row_count(frame, count);
  return frame;
}

// The column file as a data frame of class c("crn", "data.frame"): row names the years, one
// column per series (NA outside its years, thousandths / 1000 inside), then samp.depth (N).
cpp11::sexp crn_frame(const quillet::Reading& reading) {
  const int series_count = reading.series_count();
  const int rows = reading.rows();
  const std::int32_t first_row_year = reading.first_row_year();
  cpp11::writable::list frame(series_count + 1);
  cpp11::writable::strings names(series_count + 1);
  for (int s = 0; s < series_count; ++s) {
    const quillet::Series series = reading.series(s);
    cpp11::writable::doubles column(rows);
    double* cells = REAL(column);
    std::fill(cells, cells + rows, NA_REAL);
    series.copy_rounded(cells + (series.first_year() - first_row_year));
    frame[s] = column;
    SET_STRING_ELT(names, s, native_string(trim_trailing_blanks(series.column_name())));
  }
  cpp11::writable::integers depth(rows);
  cpp11::writable::strings years(rows);
  int* depths = INTEGER(depth);
  char digits[16];
  for (int r = 0; r < rows; ++r) {
    depths[r] = reading.n(r);
    auto [end, problem] = std::to_chars(digits, digits + sizeof digits, first_row_year + r);
    SET_STRING_ELT(years, r,
                   native_string(std::string_view(digits, static_cast<std::size_t>(end - digits))));
  }
  frame[series_count] = depth;
  SET_STRING_ELT(names, series_count, native_string("samp.depth"));
  Rf_setAttrib(frame, R_NamesSymbol, unique_names(names));
  Rf_setAttrib(frame, R_RowNamesSymbol, years);
  set_class(frame, {"crn", "data.frame"});
  Rf_setAttrib(frame, Rf_install("file_type"), cpp11::as_sexp(reading.file_type()));
  Rf_setAttrib(frame, Rf_install("series"), series_frame(reading));
  Rf_setAttrib(frame, Rf_install("conventions"), string_vector(reading.conventions()));
  return frame;
}

cpp11::writable::list read_crn(SEXP input, int type, bool strict) {
  using namespace cpp11::literals;
  quillet::ReadOptions options = read_options(type, strict);
  options.every_count = false;  // samp.depth is the first series' counts
  std::string name;
  try {
    const quillet::Reading& reading = read_input(input, 0, options, name);
    const Lines lines = split_lines(name, quillet::message_lines(name, reading));
    cpp11::sexp data = R_NilValue;
    if (reading.converted()) data = crn_frame(reading);
    return cpp11::writable::list(
        {"report"_nm = report(name, reading.converted(), lines), "data"_nm = data});
  } catch (const quillet::Error& error) {
    return cpp11::writable::list(
        {"report"_nm = failure_report(name, error), "data"_nm = R_NilValue});
  }
}

// The long table of every file read (a path each, or one raw vector), and each file's report.
// With stop_at_failure nothing is read after the first file that is not converted.
cpp11::writable::list read_long(SEXP inputs, int type, bool strict, bool stop_at_failure) {
  using namespace cpp11::literals;
  const quillet::ReadOptions options = read_options(type, strict);
  const R_xlen_t count = TYPEOF(inputs) == RAWSXP ? 1 : Rf_xlength(inputs);
  cpp11::writable::list reports;
  cpp11::writable::strings file_names;  // one per file that gives rows
  cpp11::writable::strings series_names;
  std::vector<int> file_of, series_number, series_of, years, counts;
  std::vector<double> values;
  std::vector<std::int32_t> series_counts;
  for (R_xlen_t f = 0; f < count; ++f) {
    std::string name;
    try {
      const quillet::Reading& reading = read_input(inputs, f, options, name);
      const Lines lines = split_lines(name, quillet::message_lines(name, reading));
      reports.push_back(report(name, reading.converted(), lines));
      if (!reading.converted()) {
        if (stop_at_failure) break;
        continue;
      }
      const int file_index = static_cast<int>(file_names.size());
      file_names.push_back(native_string(name));
      for (int s = 0; s < reading.series_count(); ++s) {
        const quillet::Series series = reading.series(s);
        const int size = series.size();
        if (size == 0) continue;
        const int series_index = static_cast<int>(series_names.size());
        series_names.push_back(native_string(series.name()));
        const std::size_t at = values.size();
        values.resize(at + static_cast<std::size_t>(size));
        series.copy_rounded(values.data() + at);
        series_counts.resize(static_cast<std::size_t>(size));
        series.copy_counts(series_counts.data());
        for (int i = 0; i < size; ++i) {
          file_of.push_back(file_index);
          series_number.push_back(s + 1);
          series_of.push_back(series_index);
          years.push_back(series.first_year() + i);
          counts.push_back(series_counts[static_cast<std::size_t>(i)]);
        }
      }
    } catch (const quillet::Error& error) {
      reports.push_back(failure_report(name, error));
      if (stop_at_failure) break;
    }
  }
  const R_xlen_t rows = static_cast<R_xlen_t>(values.size());
  cpp11::writable::strings file_column(rows), series_column(rows);
  cpp11::writable::integers number_column(rows), year_column(rows), count_column(rows);
  cpp11::writable::doubles value_column(rows);
  for (R_xlen_t r = 0; r < rows; ++r) {
    const auto i = static_cast<std::size_t>(r);
    SET_STRING_ELT(file_column, r, STRING_ELT(file_names, file_of[i]));
    SET_STRING_ELT(series_column, r, STRING_ELT(series_names, series_of[i]));
  }
  std::copy(series_number.begin(), series_number.end(), INTEGER(number_column));
  std::copy(years.begin(), years.end(), INTEGER(year_column));
  std::copy(counts.begin(), counts.end(), INTEGER(count_column));
  std::copy(values.begin(), values.end(), REAL(value_column));
  cpp11::writable::list frame({"file"_nm = file_column, "series_number"_nm = number_column,
                               "series"_nm = series_column, "year"_nm = year_column,
                               "value"_nm = value_column, "count"_nm = count_column});
  set_class(frame, {"data.frame"});
  set_row_count(frame, rows);
  return cpp11::writable::list({"reports"_nm = reports, "data"_nm = frame});
}

// Converts the files as the command line does: list(problem) when the options are refused
// (nothing written), else list(reports, written).
cpp11::writable::list convert(cpp11::strings files, int type, bool strict, SEXP output_dir,
                              SEXP missing) {
  using namespace cpp11::literals;
  quillet::ConvertOptions options;
  options.reading = read_options(type, strict);
  if (output_dir != R_NilValue) options.output_dir = native_path(STRING_ELT(output_dir, 0));
  if (missing != R_NilValue) options.missing = native_path(STRING_ELT(missing, 0));
  if (const std::optional<std::string> problem = quillet::options_problem(options)) {
    return cpp11::writable::list({"problem"_nm = string_vector({*problem})});
  }
  std::vector<std::string> names;
  for (R_xlen_t i = 0; i < files.size(); ++i) {
    names.push_back(native_path(STRING_ELT(files, i)));
  }
  const std::vector<quillet::FileReport> done = quillet::convert_files(names, options);
  cpp11::writable::list reports;
  std::vector<std::string> written;
  for (const quillet::FileReport& file : done) {
    reports.push_back(report(file.file, file.converted, split_lines(file.file, file.lines)));
    if (file.converted) written.push_back(file.column_file);
  }
  return cpp11::writable::list({"reports"_nm = reports, "written"_nm = string_vector(written)});
}

}  // namespace

extern "C" {

SEXP quillet_read_crn_(SEXP input, SEXP type, SEXP strict) {
  BEGIN_CPP11
  return read_crn(input, cpp11::as_cpp<int>(type), cpp11::as_cpp<bool>(strict));
  END_CPP11
}

SEXP quillet_read_long_(SEXP inputs, SEXP type, SEXP strict, SEXP stop_at_failure) {
  BEGIN_CPP11
  return read_long(inputs, cpp11::as_cpp<int>(type), cpp11::as_cpp<bool>(strict),
                   cpp11::as_cpp<bool>(stop_at_failure));
  END_CPP11
}

SEXP quillet_convert_(SEXP files, SEXP type, SEXP strict, SEXP output_dir, SEXP missing) {
  BEGIN_CPP11
  return convert(cpp11::strings(files), cpp11::as_cpp<int>(type), cpp11::as_cpp<bool>(strict),
                 output_dir, missing);
  END_CPP11
}

SEXP quillet_version_() {
  BEGIN_CPP11
  return cpp11::as_sexp(quillet::version());
  END_CPP11
}

static const R_CallMethodDef call_methods[] = {
    {"quillet_read_crn_", reinterpret_cast<DL_FUNC>(&quillet_read_crn_), 3},
    {"quillet_read_long_", reinterpret_cast<DL_FUNC>(&quillet_read_long_), 4},
    {"quillet_convert_", reinterpret_cast<DL_FUNC>(&quillet_convert_), 5},
    {"quillet_version_", reinterpret_cast<DL_FUNC>(&quillet_version_), 0},
    {nullptr, nullptr, 0}};

void R_init_quillet(DllInfo* dll) {
  R_registerRoutines(dll, nullptr, call_methods, nullptr, nullptr);
  R_useDynamicSymbols(dll, FALSE);
  R_forceSymbols(dll, TRUE);
}

}  // extern "C"
