// The public view of a reading (quillet/reader.h) over the judged reading of reading_state.
#include <cmath>
#include <istream>
#include <iterator>

#include "core/errors.h"
#include "core/reading_state.h"
#include "platform/files.h"
#include "platform/memory_source.h"
#include "quillet/reader.h"

namespace quillet {
namespace core {

Error library_error(const platform::SystemFailure& failure, const std::string& path) {
  // By platform::Operation: open, create, read, write, close, rename.
  constexpr Error::Operation kOperations[] = {Error::Operation::kOpen,  Error::Operation::kCreate,
                                              Error::Operation::kRead,  Error::Operation::kWrite,
                                              Error::Operation::kClose, Error::Operation::kRename};
  static_assert(static_cast<int>(platform::Operation::kRename) == 5);
  return Error(kOperations[static_cast<std::size_t>(failure.operation())],
               failure.path().empty() ? path : failure.path(), failure.reason(),
               failure.error_code());
}

}  // namespace core

namespace {

// A value as the column file rounds it to thousandths: half away from zero from the exact
// single-precision value (exact in double), never a negative zero.
double rounded_thousandths(float value) {
  const double t = std::round(static_cast<double>(value) * 1000.0);
  return t == 0.0 ? 0.0 : t;
}

std::int64_t to_int64(double t) {
  constexpr double kLimit = 9.2e18;
  if (!(t < kLimit)) return t != t ? 0 : INT64_MAX;
  if (!(t > -kLimit)) return INT64_MIN;
  return static_cast<std::int64_t>(t);
}

}  // namespace

Error::Error(Operation operation, std::string path, std::string reason, int error_code)
    : std::runtime_error(path + ": " + reason),
      operation_(operation),
      path_(std::move(path)),
      reason_(std::move(reason)),
      error_code_(error_code) {}

std::string Series::column_name() const { return std::string(state_->table().name(index_)); }

std::string Series::name() const {
  std::string name = column_name();
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

std::int32_t Series::first_year() const { return state_->table().first_year(index_); }

std::int32_t Series::last_year() const { return first_year() + size() - 1; }

int Series::size() const { return state_->table().length(index_); }

float Series::value(int i) const { return state_->table().value(index_, i + 1); }

std::int64_t Series::thousandths(int i) const {
  const table::SeriesTable& table = state_->table();
  if (!table.general(index_)) return table.thousandths_of(index_)[i];
  return to_int64(rounded_thousandths(table.values_of(index_)[i]));
}

std::int32_t Series::count(int i) const {
  const table::SeriesTable& table = state_->table();
  if (index_ != 1 && !table.keeps_every_count()) return 0;
  return table.counts_of(index_)[i];
}

void Series::copy_thousandths(std::int64_t* out) const {
  const table::SeriesTable& table = state_->table();
  const int n = size();
  if (!table.general(index_)) {
    std::copy_n(table.thousandths_of(index_), n, out);
    return;
  }
  for (int i = 0; i < n; ++i) out[i] = to_int64(rounded_thousandths(table.values_of(index_)[i]));
}

void Series::copy_rounded(double* out) const {
  const table::SeriesTable& table = state_->table();
  const int n = size();
  if (!table.general(index_)) {
    const std::uint16_t* t = table.thousandths_of(index_);
    for (int i = 0; i < n; ++i) out[i] = t[i] / 1000.0;
    return;
  }
  for (int i = 0; i < n; ++i) out[i] = rounded_thousandths(table.values_of(index_)[i]) / 1000.0;
}

void Series::copy_counts(std::int32_t* out) const {
  const table::SeriesTable& table = state_->table();
  if (index_ != 1 && !table.keeps_every_count()) {
    std::fill_n(out, size(), 0);
    return;
  }
  std::copy_n(table.counts_of(index_), size(), out);
}

const std::vector<std::string>& Series::header_lines() const {
  return state_->header_lines(index_);
}

std::string Series::label() const { return state_->label(index_); }

bool Reading::converted() const { return state_->converted(); }
int Reading::file_type() const { return state_->file_type(); }
const std::vector<Diagnostic>& Reading::diagnostics() const { return state_->diagnostics(); }
const std::vector<std::string>& Reading::conventions() const { return state_->conventions(); }
int Reading::series_count() const { return state_->converted() ? state_->series_count() : 0; }

Series Reading::series(int i) const {
  if (i < 0 || i >= series_count()) throw std::out_of_range("no such series");
  return Series(state_, i + 1);
}

const std::vector<std::string>& Reading::file_header_lines() const {
  return state_->file_header_lines();
}

std::int32_t Reading::first_row_year() const { return state_->range().minyr; }

int Reading::rows() const {
  return converted() && state_->range().maxage > 0 ? state_->range().maxage : 0;
}

std::int32_t Reading::n(int r) const {
  const table::SeriesTable& table = state_->table();
  if (series_count() == 0) return 0;
  const int p = first_row_year() + r - table.first_year(1);
  return p >= 0 && p < table.length(1) ? table.counts_of(1)[p] : 0;
}

bool Reading::wide_years() const { return state_->wide_years(); }

Reader::Reader()
    : state_(std::make_unique<core::ReadingState>()), reading_(new Reading(state_.get())) {}
Reader::~Reader() = default;
Reader::Reader(Reader&&) noexcept = default;
Reader& Reader::operator=(Reader&&) noexcept = default;

const Reading& Reader::read_file(const std::string& path, const ReadOptions& options) {
  try {
    std::unique_ptr<platform::InputFile> file = platform::real_file_system().open_input(path);
    if (options.file_type == kAutomatic) file = platform::made_rewindable(std::move(file));
    state_->read(*file, options);
    file->close();
  } catch (const platform::SystemFailure& failure) {
    throw core::library_error(failure, path);
  }
  return *reading_;
}

const Reading& Reader::read_bytes(std::string_view bytes, const ReadOptions& options,
                                  const std::string& name) {
  platform::MemorySource source(bytes);
  try {
    state_->read(source, options);
  } catch (const platform::SystemFailure& failure) {
    throw core::library_error(failure, name);
  }
  return *reading_;
}

const Reading& Reader::read_stream(std::istream& in, const ReadOptions& options,
                                   const std::string& name) {
  std::string bytes(std::istreambuf_iterator<char>(in), {});
  if (in.bad()) throw Error(Error::Operation::kRead, name, "the stream cannot be read", 0);
  return read_bytes(bytes, options, name);
}

}  // namespace quillet
