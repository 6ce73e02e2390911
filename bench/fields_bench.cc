// Micro-benchmarks of the field code on the two hot paths of a conversion: reading the slots
// of a decade line and building a line of the column file.
#include <benchmark/benchmark.h>

#include <array>
#include <string>

#include "fields/field_reader.h"
#include "fields/line_reader.h"
#include "reading/decade_line.h"
#include "table/column_writer.h"
#include "table/series_table.h"
#include "table/year_table.h"
#include "testing/fake_console.h"

namespace {

using namespace quillet;

const std::string kDecadeLine =
    "RING0118601219  5 919  5 738  5 788  51144  51128  5 771  5 946  5 792  51264  5";

void BM_ReadDecadeLineSlots(benchmark::State& state) {
  for (auto _ : state) {
    fields::FieldReader reader(kDecadeLine);
    reader.skip(10);
    float value = 0.0f;
    std::int32_t count = 0;
    for (int k = 0; k < 10; ++k) {
      reader.take_decimal(4, 3, value);
      reader.take_integer(3, count);
      benchmark::DoNotOptimize(value);
      benchmark::DoNotOptimize(count);
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kDecadeLine.size()));
}
BENCHMARK(BM_ReadDecadeLineSlots);

void BM_ReadSlots(benchmark::State& state) {
  reading::Slots slots{};
  reading::FailedField failed;
  for (auto _ : state) {
    benchmark::DoNotOptimize(reading::read_slots(kDecadeLine, reading::kFieldsStart,
                                                 reading::kSlotsPerLine, slots, failed));
    benchmark::DoNotOptimize(slots);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kDecadeLine.size()));
}
BENCHMARK(BM_ReadSlots);

void BM_ReadLines(benchmark::State& state) {
  std::string file;
  for (int i = 0; i < 1000; ++i) file += kDecadeLine + "\r\n";
  for (auto _ : state) {
    testing::StringSource source(file);
    fields::LineReader lines(source, 8);
    while (lines.next(88)) benchmark::DoNotOptimize(lines.text().data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.size()));
}
BENCHMARK(BM_ReadLines);

void BM_BuildColumnFileLine(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  static table::SeriesTable series;
  for (int s = 1; s <= n; ++s) {
    series.set_series(s, "BENCH", 1900);
    for (int p = 1; p <= 16; ++p) {
      series.set(s, p, static_cast<float>((s * 37 + p * 101) % 4000) / 1000.0f - 1.0f, p);
    }
    series.set_length(s, 16);
  }
  series.set_series_count(n);
  const table::YearTable years(series, table::find_year_range(series));
  // Sixteen lines at a time, as the column file is written.
  std::string block((table::data_line_length(n) + 1) * 16, ' ');
  for (auto _ : state) {
    table::write_block(years, 1, 16, '\t', "\n", block.data());
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(block.size()));
}
BENCHMARK(BM_BuildColumnFileLine)->Arg(1)->Arg(1500);

}  // namespace

BENCHMARK_MAIN();
