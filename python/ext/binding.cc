// The extension module quillet._quillet: the library's reader, messages and conversion of
// files, for the Python package (quillet/__init__.py). Everything the package says comes from
// the library's own functions; this file only moves values between C++ and Python. The GIL is
// released while an input is read and while the tables are filled.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quillet/quillet.h"

namespace py = pybind11;

namespace {

// Text from the input as a str: UTF-8, with any other byte kept as a lone surrogate (as the
// file system's names are), so that nothing is lost and nothing raises.
py::str text(std::string_view bytes) {
  PyObject* object =
      PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "surrogateescape");
  if (object == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(object);
}

py::list texts(const std::vector<std::string>& lines) {
  py::list list;
  for (const std::string& line : lines) list.append(text(line));
  return list;
}

// A str argument as the bytes the library takes (the inverse of text()).
std::string bytes_of(const py::str& value) {
  PyObject* object = PyUnicode_AsEncodedString(value.ptr(), "utf-8", "surrogateescape");
  if (object == nullptr) throw py::error_already_set();
  py::bytes encoded = py::reinterpret_steal<py::bytes>(object);
  return std::string(encoded);
}

quillet::ReadOptions read_options(int file_type, bool strict, bool every_count) {
  quillet::ReadOptions options;
  options.file_type = file_type;
  options.strict = strict;
  options.every_count = every_count;
  return options;
}

// One Reader and the outcome of its last read.
class PyReader {
 public:
  // Reads the file at `path` (the file system's bytes for it); returns (converted, file type,
  // the command line's lines for it).
  py::tuple read_path(const py::bytes& path, const py::str& name, int file_type, bool strict,
                      bool every_count) {
    const std::string path_bytes = path;
    name_ = bytes_of(name);
    {
      py::gil_scoped_release unlocked;
      reading_ = &reader_.read_file(path_bytes, read_options(file_type, strict, every_count));
    }
    return outcome();
  }

  // Reads bytes in memory (any object with the buffer protocol; it is kept as it is while read).
  py::tuple read_buffer(const py::buffer& data, const py::str& name, int file_type, bool strict,
                        bool every_count) {
    const py::buffer_info info = data.request();
    if (info.ndim != 1 && info.size != 0)
      throw py::type_error("a bytes-like object of one dimension");
    const std::string_view bytes(static_cast<const char*>(info.ptr),
                                 static_cast<std::size_t>(info.size * info.itemsize));
    name_ = bytes_of(name);
    {
      py::gil_scoped_release unlocked;
      reading_ = &reader_.read_bytes(bytes, read_options(file_type, strict, every_count), name_);
    }
    return outcome();
  }

  // The column table of the last (converted) read: (years, N, values, series, conventions).
  // values is one Fortran-ordered float64 array, a column per series: the value in thousandths
  // / 1000 within each series' years, NaN outside them.
  py::tuple wide() const {
    const quillet::Reading& reading = converted_reading();
    const py::ssize_t rows = std::max(reading.rows(), 0);
    const py::ssize_t columns = reading.series_count();
    py::array_t<std::int64_t> years(rows);
    py::array_t<std::int64_t> counts(rows);
    py::array_t<double, py::array::f_style> values({rows, columns});
    std::int64_t* year_out = years.mutable_data();
    std::int64_t* count_out = counts.mutable_data();
    double* value_out = values.mutable_data();
    {
      py::gil_scoped_release unlocked;
      const std::int32_t first_row_year = reading.first_row_year();
      for (py::ssize_t r = 0; r < rows; ++r) {
        year_out[r] = first_row_year + r;
        count_out[r] = reading.n(static_cast<int>(r));
      }
      const double nan = std::numeric_limits<double>::quiet_NaN();
      for (py::ssize_t s = 0; s < columns; ++s) {
        const quillet::Series series = reading.series(static_cast<int>(s));
        double* column = value_out + s * rows;
        const py::ssize_t begin =
            std::clamp<py::ssize_t>(series.first_year() - first_row_year, 0, rows);
        const py::ssize_t end = begin + series.size();
        if (end > rows) throw std::logic_error("a series beyond the rows of its reading");
        std::fill(column, column + begin, nan);
        series.copy_rounded(column + begin);
        std::fill(column + end, column + rows, nan);
      }
    }
    py::list series_list;
    for (int s = 0; s < reading.series_count(); ++s) series_list.append(series_facts(reading, s));
    return py::make_tuple(years, counts, values, series_list, texts(reading.conventions()));
  }

  const quillet::Reading& converted_reading() const {
    if (reading_ == nullptr || !reading_->converted()) {
      throw std::logic_error("no converted reading to take the table from");
    }
    return *reading_;
  }

  static py::dict series_facts(const quillet::Reading& reading, int s) {
    const quillet::Series series = reading.series(s);
    py::dict facts;
    facts["name"] = text(series.name());
    facts["first_year"] = series.first_year();
    facts["last_year"] = series.last_year();
    facts["header_lines"] = texts(series.header_lines());
    facts["label"] = text(series.label());
    return facts;
  }

 private:
  py::tuple outcome() const {
    return py::make_tuple(reading_->converted(), reading_->file_type(),
                          texts(quillet::message_lines(name_, *reading_)));
  }

  quillet::Reader reader_;
  const quillet::Reading* reading_ = nullptr;
  std::string name_;
};

// The long table of many readings, gathered as columns: a row per value of every series. The
// columns live in numpy arrays from the start (no copy at the end), grown by doubling when the
// caller's estimate of the rows falls short.
class LongTable {
 public:
  explicit LongTable(py::ssize_t capacity) { allocate(std::max<py::ssize_t>(capacity, 1024)); }

  // Adds the rows of the reader's last (converted) reading, under the file number `file`.
  void add(const PyReader& reader, std::int32_t file) {
    const quillet::Reading& reading = reader.converted_reading();
    py::ssize_t needed = 0;
    for (int s = 0; s < reading.series_count(); ++s) {
      needed += std::max(reading.series(s).size(), 0);
    }
    if (rows_ + needed > capacity_) allocate(std::max(2 * capacity_, rows_ + needed));
    std::int64_t* numbers = ints_.mutable_data(0, 0);
    std::int64_t* years = ints_.mutable_data(1, 0);
    std::int64_t* counts = ints_.mutable_data(2, 0);
    double* values = values_.mutable_data();
    std::int32_t* files = files_.mutable_data();
    std::int32_t* names = names_.mutable_data();
    py::gil_scoped_release unlocked;
    std::vector<std::int32_t> series_counts;
    for (int s = 0; s < reading.series_count(); ++s) {
      const quillet::Series series = reading.series(s);
      const py::ssize_t size = std::max(series.size(), 0);
      const py::ssize_t at = rows_;
      const auto name = static_cast<std::int32_t>(series_names_.size());
      series_names_.push_back(series.name());
      series_counts.resize(static_cast<std::size_t>(size));
      series.copy_rounded(values + at);
      series.copy_counts(series_counts.data());
      const std::int64_t first_year = series.first_year();
      for (py::ssize_t i = 0; i < size; ++i) {
        numbers[at + i] = s + 1;
        years[at + i] = first_year + i;
        counts[at + i] = series_counts[static_cast<std::size_t>(i)];
        files[at + i] = file;
        names[at + i] = name;
      }
      rows_ += size;
    }
  }

  // (rows, [series numbers, years, counts] as one (3, capacity) int64 array, values, file
  // numbers, series name numbers, series names): the first `rows` of each column are the table.
  py::tuple columns() const {
    py::list names;
    for (const std::string& name : series_names_) names.append(text(name));
    return py::make_tuple(rows_, ints_, values_, files_, names_, names);
  }

 private:
  void allocate(py::ssize_t capacity) {
    py::array_t<std::int64_t> ints({py::ssize_t{3}, capacity});
    py::array_t<double> values(capacity);
    py::array_t<std::int32_t> files(capacity);
    py::array_t<std::int32_t> names(capacity);
    if (rows_ > 0) {
      for (py::ssize_t row = 0; row < 3; ++row) {
        std::copy_n(ints_.data(row, 0), rows_, ints.mutable_data(row, 0));
      }
      std::copy_n(values_.data(), rows_, values.mutable_data());
      std::copy_n(files_.data(), rows_, files.mutable_data());
      std::copy_n(names_.data(), rows_, names.mutable_data());
    }
    ints_ = std::move(ints);
    values_ = std::move(values);
    files_ = std::move(files);
    names_ = std::move(names);
    capacity_ = capacity;
  }

  py::ssize_t rows_ = 0;
  py::ssize_t capacity_ = 0;
  py::array_t<std::int64_t> ints_;
  py::array_t<double> values_;
  py::array_t<std::int32_t> files_;
  py::array_t<std::int32_t> names_;
  std::vector<std::string> series_names_;
};

quillet::ConvertOptions convert_options(int file_type, bool strict,
                                        const std::optional<py::bytes>& output_dir,
                                        const std::optional<py::str>& missing) {
  quillet::ConvertOptions options;
  options.reading = read_options(file_type, strict, false);
  if (output_dir) options.output_dir = std::string(*output_dir);
  if (missing) options.missing = bytes_of(*missing);
  return options;
}

// The command line's text for options it refuses, or None.
std::optional<py::str> options_problem(const std::optional<py::bytes>& output_dir,
                                       const std::optional<py::str>& missing) {
  const std::optional<std::string> problem =
      quillet::options_problem(convert_options(quillet::kAutomatic, false, output_dir, missing));
  if (!problem) return std::nullopt;
  return text(*problem);
}

// Converts the files; a report per file: (file, converted, column file, lines, summary).
py::list convert_files(const std::vector<py::bytes>& files, int file_type, bool strict,
                       const std::optional<py::bytes>& output_dir,
                       const std::optional<py::str>& missing) {
  std::vector<std::string> paths(files.begin(), files.end());
  const quillet::ConvertOptions options = convert_options(file_type, strict, output_dir, missing);
  std::vector<quillet::FileReport> reports;
  {
    py::gil_scoped_release unlocked;
    reports = quillet::convert_files(paths, options);
  }
  py::list result;
  for (const quillet::FileReport& report : reports) {
    result.append(py::make_tuple(text(report.file), report.converted, text(report.column_file),
                                 texts(report.lines), text(report.summary)));
  }
  return result;
}

}  // namespace

PYBIND11_MODULE(_quillet, m) {
  m.doc() = "The library behind the quillet package (use quillet's own functions).";

  // A failure of the system is the OSError Python raises for the same errno (FileNotFoundError,
  // PermissionError, IsADirectoryError, ...), with the file as its filename.
  py::register_exception_translator([](std::exception_ptr failure) {
    try {
      if (failure) std::rethrow_exception(failure);
    } catch (const quillet::Error& error) {
      PyObject* path = PyUnicode_DecodeFSDefaultAndSize(
          error.path().data(), static_cast<Py_ssize_t>(error.path().size()));
      if (path == nullptr) return;
      PyObject* arguments =
          error.error_code() != 0
              ? Py_BuildValue("(isO)", error.error_code(), error.reason().c_str(), path)
              : Py_BuildValue("(OsO)", Py_None, error.reason().c_str(), path);
      Py_DECREF(path);
      if (arguments == nullptr) return;
      PyObject* exception = PyObject_Call(PyExc_OSError, arguments, nullptr);
      Py_DECREF(arguments);
      if (exception == nullptr) return;
      PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(exception)), exception);
      Py_DECREF(exception);
    }
  });

  py::class_<PyReader>(m, "Reader")
      .def(py::init<>())
      .def("read_path", &PyReader::read_path, py::arg("path"), py::arg("name"),
           py::arg("file_type"), py::arg("strict"), py::arg("every_count"))
      .def("read_buffer", &PyReader::read_buffer, py::arg("data"), py::arg("name"),
           py::arg("file_type"), py::arg("strict"), py::arg("every_count"))
      .def("wide", &PyReader::wide)
      .def("series", [](const PyReader& reader) {
        const quillet::Reading& reading = reader.converted_reading();
        py::list list;
        for (int s = 0; s < reading.series_count(); ++s) {
          list.append(PyReader::series_facts(reading, s));
        }
        return list;
      });

  py::class_<LongTable>(m, "LongTable")
      .def(py::init<py::ssize_t>(), py::arg("capacity"))
      .def("add", &LongTable::add, py::arg("reader"), py::arg("file"))
      .def("columns", &LongTable::columns);

  m.def("escape", [](const py::str& value) { return text(quillet::escape(bytes_of(value))); });
  m.def("options_problem", &options_problem, py::arg("output_dir"), py::arg("missing"));
  m.def("convert_files", &convert_files, py::arg("files"), py::arg("file_type"), py::arg("strict"),
        py::arg("output_dir"), py::arg("missing"));
  m.def("version", [] { return quillet::version(); });
}
