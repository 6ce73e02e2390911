// Writes a decade-line file of made-up series, the same for the same options and seed. The
// benchmarks and the tests that need large input take it from here.
//
//   quillet_generate [--series N] [--min-length L] [--max-length L] [--first-year Y]
//                    [--last-first-year Y] [--type 0|1|2] [--crlf] [--seed S] [--out FILE]
//                    [--append]
//
// Each series gets a length drawn from [min-length, max-length] and a first year from
// [first-year, last-first-year]. Type 1 puts three header lines in front of every series,
// type 2 three header lines at the top of the file (types 2 to 5 are laid out alike), type 0
// none at all. --append adds to the end of --out instead of replacing it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "testing/decade_lines.h"

namespace {

struct Options {
  long series = 1;
  long min_length = 100;
  long max_length = 100;
  long first_year = 1000;
  long last_first_year = 1000;
  int type = 1;
  bool crlf = false;
  bool append = false;
  unsigned long seed = 1;
  const char* out = nullptr;
};

[[noreturn]] void usage(const char* why) {
  std::fprintf(stderr, "quillet_generate: %s\n", why);
  std::exit(2);
}

long number(const char* text) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0') usage("not a number");
  return value;
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto value = [&]() -> const char* {
      if (i + 1 >= argc) usage("missing value");
      return argv[++i];
    };
    if (arg == "--series")
      o.series = number(value());
    else if (arg == "--min-length")
      o.min_length = number(value());
    else if (arg == "--max-length")
      o.max_length = number(value());
    else if (arg == "--first-year")
      o.first_year = number(value());
    else if (arg == "--last-first-year")
      o.last_first_year = number(value());
    else if (arg == "--type")
      o.type = static_cast<int>(number(value()));
    else if (arg == "--crlf")
      o.crlf = true;
    else if (arg == "--append")
      o.append = true;
    else if (arg == "--seed")
      o.seed = static_cast<unsigned long>(number(value()));
    else if (arg == "--out")
      o.out = value();
    else
      usage("unknown option");
  }
  if (o.max_length < o.min_length || o.last_first_year < o.first_year) usage("empty range");
  if (o.type < 0 || o.type > 2) usage("--type is 0, 1 or 2");
  return o;
}

class Writer {
 public:
  Writer(std::FILE* file, bool crlf) : file_(file), eol_(crlf ? "\r\n" : "\n") {}
  void line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fputs(eol_, file_);
  }

 private:
  std::FILE* file_;
  const char* eol_;
};

// A uniform draw from [low, high] that is the same on every standard library.
long draw(std::mt19937_64& rng, long low, long high) {
  return low + static_cast<long>(rng() % static_cast<std::uint64_t>(high - low + 1));
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = parse(argc, argv);
  std::FILE* file = o.out != nullptr ? std::fopen(o.out, o.append ? "ab" : "wb") : stdout;
  if (file == nullptr) usage("cannot open --out");
  Writer out(file, o.crlf);
  std::mt19937_64 rng(o.seed);

  if (o.type == 2) {
    out.line("GENERATED INDEX FILE");
    out.line("FOR QUILLET BENCHMARKS");
    out.line("");
  }
  std::string series;
  for (long s = 1; s <= o.series; ++s) {
    char name[8];
    std::snprintf(name, sizeof name, "G%05ld", s % 100000);
    if (o.type == 1) {
      out.line(std::string(name, 3) + "    1 GENERATED SERIES " + name);
      out.line(std::string(name, 3) + "    2 QUILLET BENCHMARK");
      out.line(std::string(name, 3) + "    3 SEED " + std::to_string(o.seed));
    }
    const long length = draw(rng, o.min_length, o.max_length);
    const long first_year = draw(rng, o.first_year, o.last_first_year);
    series.clear();
    quillet::testing::append_series(
        series, name, first_year, length,
        [&rng](long) {
          const long count = draw(rng, 1, 60);  // drawn first, as the inputs have always been
          return quillet::testing::Slot{draw(rng, 100, 2500), count};
        },
        "STD     ", o.crlf ? "\r\n" : "\n");
    std::fwrite(series.data(), 1, series.size(), file);
  }
  if (file != stdout) std::fclose(file);
  return 0;
}
